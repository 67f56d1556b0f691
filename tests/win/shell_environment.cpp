#include "shell_environment.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "components/TacShellFolder.h"

namespace nestova {

RecordingPlatform& TestPlatform() {
  static RecordingPlatform platform;
  return platform;
}

namespace {

class ShellEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const INITCOMMONCONTROLSEX controls{sizeof controls,
                                        ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    module_ = std::make_unique<components::ShellModule>(TestPlatform());
  }
  void TearDown() override { module_.reset(); }

 private:
  std::unique_ptr<components::ShellModule> module_;
};

const ::testing::Environment* const kShell =
    ::testing::AddGlobalTestEnvironment(new ShellEnvironment);  // gtest owns it

}  // namespace
}  // namespace nestova
