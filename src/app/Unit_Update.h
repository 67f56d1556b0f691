#pragma once
// The update check's process-wide values, StartVersionCheck and the worker
// thread TCheckVerTh.
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/update_check.h"
#include "platform/handles.h"

namespace nestova {

// The update-information file, fixed at build time (update_url.cpp), and
// this build's version number, made from the project's version (1.0 is 10).
extern const char kUpdateUrl[];
inline constexpr int32_t kCurrentVersion = NESTOVA_VERSION_NUMBER;

struct UpdateValues {
  std::string UpdateUrl;       // written before the worker starts
  int32_t CurrentVersion = 0;  // likewise
  // NewVersionText and NewVersionUrl, handed over together.
  VersionAnnouncement NewVersion;
};

// Lives until the process ends and is never destroyed: a worker may still
// use it while the process is ending.
UpdateValues& Update();

// Stores both values and starts the worker. Throws when no thread can be
// made.
void StartVersionCheck(const std::string& url, int32_t version);

// The worker: created suspended with normal priority, then left to run;
// nobody waits for it. It owns itself from its start and frees itself when
// Execute ends.
class TCheckVerTh {
 public:
  static void Start();
  TCheckVerTh(const TCheckVerTh&) = delete;
  TCheckVerTh& operator=(const TCheckVerTh&) = delete;

 private:
  TCheckVerTh() = default;
  static DWORD WINAPI ThreadProc(void* self);
  void Execute();
};

}  // namespace nestova
