#pragma once
// Asks the user for a folder in a modal window with the shell folder tree:
// OK, Cancel, and Create for a new subfolder named in place.
#include <string>

#include "platform/platform.h"

namespace nestova {

namespace components {
class TPathDialogForm;
}

// Options of the window's Create button and prompts.
enum TSelectDirOpt : unsigned { sdAllowCreate = 1, sdPerformCreate = 2, sdPrompt = 4 };

class TsPathDialog {
 public:
  explicit TsPathDialog(platform::Platform& platform) : platform_(platform) {}

  // In: the folder to select when the window opens. Out: the chosen folder
  // after a confirmed choice.
  std::u16string Path;
  // A root name (rfDesktop, rfMyComputer, ...) or a folder path.
  std::u16string Root = u"rfDesktop";
  // Text of the caption line above the tree.
  std::u16string Caption;
  // When false, the initial folder becomes the current directory.
  bool NoChangeDir = false;
  // A column of buttons that switch the tree's root.
  bool ShowRootBtns = false;
  // Only sdAllowCreate has an effect: it shows the Create button.
  unsigned DialogOptions = sdAllowCreate | sdPerformCreate | sdPrompt;

  // True when the user confirmed a folder (then in Path), false when the
  // window was cancelled or closed. Errors of the tree while the window is
  // prepared ("Error Setting Path") propagate, the window gone.
  bool Execute();

 private:
  platform::Platform& platform_;
};

// The chooser's window while Execute runs; null otherwise.
extern components::TPathDialogForm* PathDialogForm;

}  // namespace nestova
