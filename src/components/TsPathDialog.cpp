#include "components/TsPathDialog.h"

#include "components/TPathDialogForm.h"
#include "components/path_rules.h"

namespace nestova {

components::TPathDialogForm* PathDialogForm = nullptr;

namespace {

// Keeps PathDialogForm pointing at the window while it exists.
class FormInUse {
 public:
  explicit FormInUse(components::TPathDialogForm& form) { PathDialogForm = &form; }
  ~FormInUse() { PathDialogForm = nullptr; }
  FormInUse(const FormInUse&) = delete;
  FormInUse& operator=(const FormInUse&) = delete;
};

}  // namespace

bool TsPathDialog::Execute() {
  std::u16string start = Path;
  if (start == u"." || !platform::IsExistingDirectory(platform_, start)) start.clear();
  if (!NoChangeDir && !start.empty()) platform_.ChangeDirectory(start);  // may fail: no matter

  // The window goes however this call ends, an error included.
  components::TPathDialogForm form(::GetModuleHandleW(nullptr), platform_);
  const FormInUse inUse(form);
  form.InitLngCaptions();
  form.ShowCreate((DialogOptions & sdAllowCreate) != 0);
  form.ShowRootButtons(ShowRootBtns);
  form.UpdateAnchors();
  form.SetTreeCaption(Caption);
  components::TsShellTreeView& tree = form.sShellTreeView1();
  tree.SetRoot(Root);
  if (start.empty()) {
    if (tree.NodeCount() > 0) tree.Select(tree.FirstNode());
  } else {
    tree.SetPath(start);
  }
  if (form.ShowModal() != IDOK) return false;
  const std::u16string chosen = tree.Path();
  if (components::CanChoose(platform_, chosen)) Path = chosen;
  return true;
}

}  // namespace nestova
