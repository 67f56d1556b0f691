#include "components/TsPathDialog.h"

#include "components/TPathDialogForm.h"
#include "components/path_rules.h"
#include "platform/text.h"

namespace nestova {

components::TPathDialogForm* PathDialogForm = nullptr;

namespace {

std::u16string FullPath(const std::u16string& path) {
  if (path.empty()) return path;
  const std::wstring wide = platform::ToWide(path);
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0) return path;
    const bool fits = n < full.size();
    full.resize(n);
    if (fits) return platform::FromWide(full);
  }
}

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
  // Fixed before the current directory moves into it: a relative path
  // would otherwise be looked for inside itself.
  start = FullPath(start);
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
