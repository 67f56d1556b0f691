#include "app/Unit_Update.h"

#include <memory>
#include <system_error>

#include "http/system_socket.h"

namespace nestova {
namespace {

// Text without a byte-order mark is in the system's ANSI code page.
std::u16string DecodeAnsi(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return {};
  const auto* data = reinterpret_cast<const char*>(bytes.data());
  const int size = static_cast<int>(bytes.size());
  const int length = ::MultiByteToWideChar(CP_ACP, 0, data, size, nullptr, 0);
  std::u16string text(static_cast<size_t>(length), u'\0');
  ::MultiByteToWideChar(CP_ACP, 0, data, size, reinterpret_cast<wchar_t*>(text.data()), length);
  return text;
}

}  // namespace

UpdateValues& Update() {
  // Deliberately never freed (see the header).
  static UpdateValues& values = *new UpdateValues();
  return values;
}

void StartVersionCheck(const std::string& url, int32_t version) {
  UpdateValues& values = Update();
  values.UpdateUrl = url;
  values.CurrentVersion = version;
  TCheckVerTh::Start();
}

void TCheckVerTh::Start() {
  std::unique_ptr<TCheckVerTh> worker(new TCheckVerTh());
  DWORD id = 0;
  const platform::UniqueKernelHandle thread(
      ::CreateThread(nullptr, 0, ThreadProc, worker.get(), CREATE_SUSPENDED, &id));
  if (!thread) {
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(),
                            "CreateThread");
  }
  ::SetThreadPriority(thread.get(), THREAD_PRIORITY_NORMAL);
  static_cast<void>(worker.release());  // the thread frees it from here on
  ::ResumeThread(thread.get());
  // Closing our handle neither waits for the thread nor stops it.
}

DWORD WINAPI TCheckVerTh::ThreadProc(void* self) {
  const std::unique_ptr<TCheckVerTh> owner(static_cast<TCheckVerTh*>(self));
  owner->Execute();
  return 0;
}

void TCheckVerTh::Execute() {
  UpdateValues& values = Update();
  CheckForNewVersion(
      values.UpdateUrl, values.CurrentVersion, [] { return http::SystemSocketFactory()(); },
      DecodeAnsi, values.NewVersion);
}

}  // namespace nestova
