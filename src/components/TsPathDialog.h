#pragma once
// Asks the user for a folder in a modal window. For now the system's own
// folder browser stands in for our chooser; the interface is the final one.

#include <string>

#include "platform/platform.h"

namespace nestova {

class TsPathDialog {
 public:
  explicit TsPathDialog(platform::Platform& platform) : platform_(platform) {}

  // In: the folder to select when the window opens. Out: the chosen folder
  // after a confirmed choice; unchanged when that choice is no folder.
  std::u16string Path;

  // True when the user confirmed a choice, false when cancelled.
  bool Execute();

 private:
  platform::Platform& platform_;
};

}  // namespace nestova
