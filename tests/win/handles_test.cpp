// The handle owners release what they own exactly once, and take a failed
// call's "none" for none, whichever value stands for it.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "platform/handles.h"
#include "platform/socket_handle.h"
#include "temp_folder.h"

namespace nestova::platform {
namespace {

bool IsOpenHandle(HANDLE h) {
  DWORD flags = 0;
  return ::GetHandleInformation(h, &flags) != 0;
}

TEST(Handles, FileOwnerTakesInvalidHandleValueForNone) {
  const UniqueFile missing(
      ::CreateFileW(L"C:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_EQ(missing.get(), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(missing);

  const TempFolder temp;
  UniqueFile file(::CreateFileW((temp.path() + L"\\a").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file);
  const HANDLE raw = file.get();
  EXPECT_TRUE(IsOpenHandle(raw));
  file.reset();
  EXPECT_FALSE(IsOpenHandle(raw));
  EXPECT_FALSE(file);
}

TEST(Handles, FindOwnerClosesTheSearch) {
  WIN32_FIND_DATAW data;
  const UniqueFind none(::FindFirstFileW(L"C:\\no\\such\\*", &data));
  EXPECT_FALSE(none);

  const TempFolder temp;
  ::CreateDirectoryW((temp.path() + L"\\x").c_str(), nullptr);
  UniqueFind search(::FindFirstFileW((temp.path() + L"\\*").c_str(), &data));
  ASSERT_TRUE(search);
  const HANDLE raw = search.get();
  EXPECT_TRUE(::FindNextFileW(raw, &data));
  search.reset();
  EXPECT_FALSE(::FindNextFileW(raw, &data));  // closed
}

TEST(Handles, MovingHandsOverWithoutClosing) {
  UniqueKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  const HANDLE raw = event.get();
  UniqueKernelHandle moved(std::move(event));
  EXPECT_FALSE(event);  // NOLINT(bugprone-use-after-move): moved-from is empty
  EXPECT_TRUE(IsOpenHandle(raw));
  moved = UniqueKernelHandle();
  EXPECT_FALSE(IsOpenHandle(raw));
}

// A COM object that counts its references.
class Counted final : public IUnknown {
 public:
  ULONG refs = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(Handles, ComPointerHoldsOneReference) {
  Counted object;
  {
    ComPtr<IUnknown> first(&object);  // takes the reference the object was made with
    ComPtr<IUnknown> second = first.As<IUnknown>();
    EXPECT_EQ(object.refs, 2u);
    ComPtr<IUnknown> third(std::move(second));
    EXPECT_EQ(object.refs, 2u);
    EXPECT_FALSE(first.As<IClassFactory>());
    EXPECT_EQ(object.refs, 2u);
    IUnknown** slot = third.put();  // drops the held reference first
    EXPECT_EQ(*slot, nullptr);
    EXPECT_EQ(object.refs, 1u);
  }
  EXPECT_EQ(object.refs, 0u);
}

TEST(Handles, ItemIdListOwnerFreesTheShellsList) {
  ITEMIDLIST* raw = nullptr;
  ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &raw), S_OK);
  UniquePidl pidl(raw);
  EXPECT_TRUE(pidl);
  pidl.reset();  // CoTaskMemFree; a double free would show under the debug heap
  EXPECT_FALSE(pidl);
}

TEST(Handles, SocketOwnerClosesAndKnowsInvalidSocket) {
  WSADATA wsa;
  ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &wsa), 0);
  {
    const UniqueSocket bad(::socket(-1, SOCK_STREAM, 0));
    EXPECT_FALSE(bad);
    UniqueSocket s(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    ASSERT_TRUE(s);
    const SOCKET raw = s.get();
    s.reset();
    int type = 0, size = sizeof type;
    EXPECT_EQ(::getsockopt(raw, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &size),
              SOCKET_ERROR);
    EXPECT_EQ(::WSAGetLastError(), WSAENOTSOCK);
  }
  ::WSACleanup();
}

TEST(Handles, ScopedSelectPutsTheOldObjectBack) {
  const ScreenDC screen;
  const UniqueMemoryDC dc(::CreateCompatibleDC(screen.get()));
  const UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), 4, 4));
  const HGDIOBJ original = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
  {
    const ScopedSelect select(dc.get(), bitmap.get());
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
  }
  EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), original);
}

}  // namespace
}  // namespace nestova::platform
