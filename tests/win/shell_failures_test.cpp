// What the folder tree does with a shell that fails or answers oddly:
// enumerations without an enumerator, items without a context menu, folders
// that cannot bind, verbs without a name. Wine's shell always succeeds, so
// small fakes stand in for the shell's folders and menus.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "components/TacShellFolder.h"
#include "components/TsShellTreeView.h"
#include "platform/handles.h"
#include "shell_environment.h"

namespace nestova::components {
namespace {

// Each table case's test is named after the case.
struct CaseName {
  template <typename Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
    return info.param.name;
  }
};

// A failing row is printed by its name too.
template <typename Case>
requires requires(const Case& c) { std::string(c.name); }
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

using platform::ComPtr;
using platform::UniquePidl;

// A COM object owned by the test: it counts the references the code under
// test holds and never frees itself.
template <typename Interface>
class Fake : public Interface {
 public:
  Fake() = default;
  Fake(const Fake&) = delete;
  Fake& operator=(const Fake&) = delete;
  virtual ~Fake() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == __uuidof(Interface)) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
  // References held by others than the test.
  ULONG refs() const { return refs_; }

 private:
  ULONG refs_ = 0;
};

// Hands `object` out as `riid` the way the shell does, the object or null.
void HandOut(IUnknown* object, REFIID riid, void** out) {
  *out = nullptr;
  if (object) object->QueryInterface(riid, out);
}

// One item id with the bytes tag, tag; a list of it alone.
UniquePidl Item(BYTE tag) {
  struct {
    USHORT cb = 4;
    BYTE data[2];
    USHORT end = 0;
  } bytes;
  bytes.data[0] = bytes.data[1] = tag;
  return ClonePidl(reinterpret_cast<const ITEMIDLIST*>(&bytes));
}

BYTE TagOf(const ITEMIDLIST* pidl) { return reinterpret_cast<const BYTE*>(pidl)[2]; }

// Lists its items in order; a 0 tag is a success without an item. After the
// last one: S_FALSE.
class FakeEnum : public Fake<IEnumIDList> {
 public:
  explicit FakeEnum(std::vector<BYTE> tags) : tags_(std::move(tags)) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG, PITEMID_CHILD* items, ULONG* fetched) override {
    *items = nullptr;
    if (fetched) *fetched = 0;
    if (next_ == tags_.size()) return S_FALSE;
    const BYTE tag = tags_[next_++];
    if (tag) {
      *items = Item(tag).release();  // the caller's to free
      if (fetched) *fetched = 1;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumIDList**) override { return E_NOTIMPL; }

 private:
  std::vector<BYTE> tags_;
  size_t next_ = 0;
};

// Answers EnumObjects, BindToObject, GetUIObjectOf and GetAttributesOf as
// the test sets, and hands out the set object (or attributes) even with a
// failure, as a careless shell may. Takes every new name.
class FakeFolder : public Fake<IShellFolder> {
 public:
  HRESULT attributesResult = E_NOTIMPL;
  SFGAOF attributes = 0;
  HRESULT enumResult = S_OK;
  IEnumIDList* enumerator = nullptr;
  HRESULT bindResult = E_FAIL;
  IUnknown* bound = nullptr;
  HRESULT uiResult = E_FAIL;
  IUnknown* uiObject = nullptr;
  // What the code asked.
  HWND owner = nullptr;
  SHCONTF enumFlags = 0;
  std::vector<IID> uiAsked;
  UINT uiCount = 0;
  const ITEMIDLIST* uiItem = nullptr;
  const ITEMIDLIST* bindItem = nullptr;
  int renames = 0;

  HRESULT STDMETHODCALLTYPE EnumObjects(HWND hwnd, SHCONTF flags, IEnumIDList** out) override {
    owner = hwnd;
    enumFlags = flags;
    HandOut(enumerator, IID_IEnumIDList, reinterpret_cast<void**>(out));
    return enumResult;
  }
  HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx*, REFIID riid,
                                         void** out) override {
    bindItem = pidl;
    HandOut(bound, riid, out);
    return bindResult;
  }
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND hwnd, UINT count, PCUITEMID_CHILD_ARRAY items,
                                          REFIID riid, UINT*, void** out) override {
    owner = hwnd;
    uiAsked.push_back(riid);
    uiCount = count;
    uiItem = count ? items[0] : nullptr;
    HandOut(uiObject, riid, out);
    return uiResult;
  }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, PIDLIST_RELATIVE*,
                                             ULONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID,
                                          void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF* inOut) override {
    *inOut = attributes;  // more than was asked for, too
    return attributesResult;
  }
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD, SHGDNF, STRRET*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF,
                                      PITEMID_CHILD* out) override {
    ++renames;
    if (out) *out = nullptr;
    return S_OK;
  }
};

// Adds commands or not, and names them as the test sets: with `verb`, or by
// filling the whole buffer without a terminating zero. Writes the buffer even
// when it fails.
class FakeMenu : public Fake<IContextMenu> {
 public:
  HRESULT queryResult = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
  HRESULT verbResult = S_OK;
  std::string verb;
  bool fillBuffer = false;
  // What the code asked.
  int queries = 0;
  HMENU popup = nullptr;
  UINT firstId = 0;
  UINT queryFlags = 0;
  UINT_PTR verbCommand = 0;
  UINT verbType = 0;
  UINT verbBufferSize = 0;

  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT, UINT first, UINT,
                                             UINT flags) override {
    ++queries;
    popup = menu;
    firstId = first;
    queryFlags = flags;
    return queryResult;
  }
  HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR command, UINT type, UINT*, CHAR* name,
                                             UINT size) override {
    verbCommand = command;
    verbType = type;
    verbBufferSize = size;
    if (fillBuffer) {
      std::memset(name, 'x', size);
    } else if (size) {
      const size_t n = std::min<size_t>(verb.size(), size - 1);
      std::memcpy(name, verb.data(), n);
      name[n] = '\0';
    }
    return verbResult;
  }
};

// --- Enumeration: LoadChildren and the probe for children in AddChild ---

struct EnumCase {
  const char* name;
  HRESULT result;
  bool givesEnumerator;
  std::vector<BYTE> items;  // 0: a success without an item
  size_t limit;
  std::vector<BYTE> listed;
};

// Failures name the case.
class EnumerateItemsTest : public ::testing::TestWithParam<EnumCase> {};

TEST_P(EnumerateItemsTest, ListsWhatTheShellGives) {
  const EnumCase& c = GetParam();
  FakeEnum enumerator(c.items);
  FakeFolder folder;
  folder.enumResult = c.result;
  if (c.givesEnumerator) folder.enumerator = &enumerator;
  const HWND owner = ::GetDesktopWindow();
  const SHCONTF flags = SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN;
  {
    const std::vector<UniquePidl> items = EnumerateItems(&folder, owner, flags, c.limit);
    std::vector<BYTE> listed;
    for (const UniquePidl& item : items) {
      ASSERT_TRUE(item) << "a null item was listed";
      EXPECT_EQ(PidlItemCount(item.get()), 1);
      listed.push_back(TagOf(item.get()));
    }
    EXPECT_EQ(listed, c.listed);
  }
  EXPECT_EQ(folder.owner, owner);
  EXPECT_EQ(folder.enumFlags, flags);
  EXPECT_EQ(enumerator.refs(), 0u) << "the enumerator is released";
}

INSTANTIATE_TEST_SUITE_P(
    Shell, EnumerateItemsTest,
    ::testing::Values(
        EnumCase{"SuccessWithoutEnumeratorListsNothing", S_OK, false, {}, SIZE_MAX, {}},
        EnumCase{"FalseWithoutEnumeratorListsNothing", S_FALSE, false, {}, SIZE_MAX, {}},
        EnumCase{"FalseWithEnumeratorLists", S_FALSE, true, {1, 2}, SIZE_MAX, {1, 2}},
        EnumCase{"FailureListsNothingEvenWithAnEnumerator", E_FAIL, true, {1, 2}, SIZE_MAX, {}},
        EnumCase{"AllItems", S_OK, true, {1, 2}, SIZE_MAX, {1, 2}},
        EnumCase{"LimitOfOneListsTheFirst", S_OK, true, {1, 2}, 1, {1}},
        EnumCase{"SuccessWithoutItemEndsTheList", S_OK, true, {1, 0, 2}, SIZE_MAX, {1}}),
    CaseName());

// --- The context menu of an item ---

struct MenuCase {
  const char* name;
  HRESULT uiResult;
  bool givesMenu;
  HRESULT queryResult;
  bool menuShown;
};

class ItemContextMenuTest : public ::testing::TestWithParam<MenuCase> {};

TEST_P(ItemContextMenuTest, MenuOnlyWhenTheItemGivesOne) {
  const MenuCase& c = GetParam();
  FakeMenu menu;
  menu.queryResult = c.queryResult;
  FakeFolder parent;
  parent.uiResult = c.uiResult;
  if (c.givesMenu) parent.uiObject = &menu;
  const UniquePidl item = Item(7);
  const platform::UniqueMenu popup(::CreatePopupMenu());
  ASSERT_TRUE(popup);
  const HWND owner = ::GetDesktopWindow();
  {
    const ComPtr<IContextMenu> got = ItemContextMenu(&parent, item.get(), owner, popup.get());
    EXPECT_EQ(got.get(), c.menuShown ? static_cast<IContextMenu*>(&menu) : nullptr);
  }
  EXPECT_EQ(menu.refs(), 0u) << "a menu not shown is released";
  ASSERT_EQ(parent.uiAsked.size(), 1u);
  EXPECT_TRUE(IsEqualIID(parent.uiAsked[0], IID_IContextMenu));
  EXPECT_EQ(parent.uiCount, 1u);
  EXPECT_EQ(parent.uiItem, item.get());
  EXPECT_EQ(parent.owner, owner);
  // Only a menu the shell gave with success is asked for its commands.
  if (SUCCEEDED(c.uiResult) && c.givesMenu) {
    EXPECT_EQ(menu.queries, 1);
    EXPECT_EQ(menu.popup, popup.get());
    EXPECT_EQ(menu.firstId, 1u);
    EXPECT_EQ(menu.queryFlags, static_cast<UINT>(CMF_EXPLORE | CMF_CANRENAME));
  } else {
    EXPECT_EQ(menu.queries, 0);
  }
}

constexpr HRESULT kAddedOne = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);

INSTANTIATE_TEST_SUITE_P(
    Shell, ItemContextMenuTest,
    ::testing::Values(MenuCase{"FailureGivesNoMenu", E_FAIL, false, kAddedOne, false},
                      MenuCase{"FailureGivesNoMenuEvenWithAPointer", E_FAIL, true, kAddedOne,
                               false},
                      MenuCase{"SuccessWithoutMenuGivesNoMenu", S_OK, false, kAddedOne, false},
                      MenuCase{"MenuThatAddsNothingIsNotShown", S_OK, true, E_FAIL, false},
                      MenuCase{"MenuWithCommands", S_OK, true, kAddedOne, true}),
    CaseName());

// --- Binding a child folder ---

// The Desktop's item-id list of the Windows directory: a real absolute list
// of more than one item.
UniquePidl WindowsDirectory() {
  wchar_t path[MAX_PATH] = {};
  ::GetWindowsDirectoryW(path, MAX_PATH);
  ITEMIDLIST* parsed = nullptr;  // ours to free
  ShellModule::Desktop().ShellFolder()->ParseDisplayName(nullptr, nullptr, path, nullptr, &parsed,
                                                         nullptr);
  return UniquePidl(parsed);
}

// The absolute item-id list a folder object stands for.
UniquePidl FolderLocation(IShellFolder* folder) {
  ComPtr<IPersistFolder2> persist;
  if (!folder || FAILED(folder->QueryInterface(IID_IPersistFolder2, persist.put_void()))) return {};
  ITEMIDLIST* location = nullptr;  // ours to free
  if (FAILED(persist->GetCurFolder(&location))) return {};
  return UniquePidl(location);
}

enum class Gives { kNothing, kBound, kUiObject };
enum class Absolute { kWindows, kEmpty };
enum class Binds { kBound, kUiObject, kWindows, kDesktop };

struct BindCase {
  const char* name;
  bool hasParent;
  HRESULT bindResult;
  Gives bindGives;
  HRESULT uiResult;
  Gives uiGives;
  Absolute absolute;
  Binds binds;
};

class BindFolderTest : public ::testing::TestWithParam<BindCase> {};

TEST_P(BindFolderTest, BindsThroughTheParentOrTheDesktop) {
  const BindCase& c = GetParam();
  FakeFolder bound, uiObject, parent;
  const auto given = [&](Gives gives) -> IUnknown* {
    if (gives == Gives::kBound) return &bound;
    if (gives == Gives::kUiObject) return &uiObject;
    return nullptr;
  };
  parent.bindResult = c.bindResult;
  parent.bound = given(c.bindGives);
  parent.uiResult = c.uiResult;
  parent.uiObject = given(c.uiGives);
  const UniquePidl windows = WindowsDirectory();
  ASSERT_GE(PidlItemCount(windows.get()), 2) << "C:\\ and the Windows directory";
  // The relative list (the last item) means something else to the Desktop.
  const UniquePidl relative = ClonePidl(::ILFindLastID(windows.get()));
  const UniquePidl empty = PidlPrefix(windows.get(), 0);
  const ITEMIDLIST* absolute = c.absolute == Absolute::kWindows ? windows.get() : empty.get();
  const HWND owner = ::GetDesktopWindow();
  {
    const ComPtr<IShellFolder> folder =
        BindFolder(c.hasParent ? &parent : nullptr, relative.get(), absolute, owner);
    switch (c.binds) {
      case Binds::kBound:
        EXPECT_EQ(folder.get(), static_cast<IShellFolder*>(&bound));
        break;
      case Binds::kUiObject:
        EXPECT_EQ(folder.get(), static_cast<IShellFolder*>(&uiObject));
        break;
      case Binds::kDesktop:
        EXPECT_EQ(folder.get(), ShellModule::Desktop().ShellFolder());
        break;
      case Binds::kWindows: {
        ASSERT_TRUE(folder) << "the Desktop binds the absolute list";
        const UniquePidl location = FolderLocation(folder.get());
        ASSERT_TRUE(location);
        const HRESULT order =
            ShellModule::Desktop().ShellFolder()->CompareIDs(0, location.get(), windows.get());
        EXPECT_TRUE(SUCCEEDED(order) && CompareResult(static_cast<uint32_t>(order)) == 0)
            << "bound a folder other than the Windows directory";
        break;
      }
    }
  }
  EXPECT_EQ(bound.refs(), 0u);
  EXPECT_EQ(uiObject.refs(), 0u);
  if (c.hasParent) {
    EXPECT_EQ(parent.bindItem, relative.get()) << "the parent binds the relative list";
  }
  if (c.hasParent && c.binds != Binds::kBound) {
    ASSERT_EQ(parent.uiAsked.size(), 1u);
    EXPECT_TRUE(IsEqualIID(parent.uiAsked[0], IID_IShellFolder));
    EXPECT_EQ(parent.uiItem, relative.get());
    EXPECT_EQ(parent.owner, owner);
  } else {
    EXPECT_TRUE(parent.uiAsked.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shell, BindFolderTest,
    ::testing::Values(BindCase{"ParentBinds", true, S_OK, Gives::kBound, S_OK, Gives::kUiObject,
                               Absolute::kWindows, Binds::kBound},
                      BindCase{"ParentBindsNothingUiObjectIsTheFolder", true, S_OK, Gives::kNothing,
                               S_OK, Gives::kUiObject, Absolute::kWindows, Binds::kUiObject},
                      BindCase{"ParentCannotBindUiObjectIsTheFolder", true, E_FAIL, Gives::kBound,
                               S_OK, Gives::kUiObject, Absolute::kWindows, Binds::kUiObject},
                      BindCase{"BothFailDesktopBindsTheAbsoluteList", true, E_FAIL, Gives::kNothing,
                               E_FAIL, Gives::kNothing, Absolute::kWindows, Binds::kWindows},
                      BindCase{"FailuresHandingOutFoldersAreNotTaken", true, E_FAIL, Gives::kBound,
                               E_FAIL, Gives::kUiObject, Absolute::kWindows, Binds::kWindows},
                      BindCase{"UiObjectSuccessWithoutFolderFallsToTheDesktop", true, E_FAIL,
                               Gives::kNothing, S_OK, Gives::kNothing, Absolute::kWindows,
                               Binds::kWindows},
                      BindCase{"BothFailEmptyListIsTheDesktop", true, E_FAIL, Gives::kNothing,
                               E_FAIL, Gives::kNothing, Absolute::kEmpty, Binds::kDesktop},
                      BindCase{"NoParentDesktopBindsTheAbsoluteList", false, E_FAIL,
                               Gives::kNothing, E_FAIL, Gives::kNothing, Absolute::kWindows,
                               Binds::kWindows}),
    CaseName());

// --- The verb of a context-menu command ---

struct VerbCase {
  const char* name;
  HRESULT result;
  std::string written;
  bool fillBuffer;
  bool named;  // the verb is what was written (at most the buffer less its zero)
};

class CommandVerbTest : public ::testing::TestWithParam<VerbCase> {};

TEST_P(CommandVerbTest, VerbIsTheMenusNameOrEmpty) {
  const VerbCase& c = GetParam();
  FakeMenu menu;
  menu.verbResult = c.result;
  menu.verb = c.written;
  menu.fillBuffer = c.fillBuffer;
  const std::string verb = CommandVerb(&menu, 7);
  EXPECT_EQ(menu.verbCommand, 7u);
  EXPECT_EQ(menu.verbType, static_cast<UINT>(GCS_VERBA));
  ASSERT_GT(menu.verbBufferSize, 1u);
  if (!c.named) {
    EXPECT_EQ(verb, "");
  } else if (c.fillBuffer) {
    EXPECT_EQ(verb, std::string(menu.verbBufferSize - 1, 'x')) << "the verb ends with the buffer";
  } else {
    EXPECT_EQ(verb, c.written);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shell, CommandVerbTest,
    ::testing::Values(VerbCase{"Named", S_OK, "delete", false, true},
                      VerbCase{"UnreadableNameIsEmpty", E_FAIL, "delete", false, false},
                      VerbCase{"UnreadableFilledBufferIsEmpty", E_FAIL, "", true, false},
                      VerbCase{"NameFillingTheBufferStaysInIt", S_OK, "", true, true}),
    CaseName());

// --- Renaming an item its parent folder does not let rename ---

struct RenameCase {
  const char* name;
  HRESULT result;
  SFGAOF attributes;
  bool renamed;
};

class RenameTest : public ::testing::TestWithParam<RenameCase> {};

TEST_P(RenameTest, OnlyWhatTheParentCallsRenamableIsRenamed) {
  const RenameCase& c = GetParam();
  FakeFolder parentFolder;
  parentFolder.attributesResult = c.result;
  parentFolder.attributes = c.attributes;
  parentFolder.AddRef();  // the reference the parent object takes over
  const UniquePidl parentItem = Item(1), childItem = Item(2);
  {
    TacShellFolder parent(nullptr, parentItem.get(), ComPtr<IShellFolder>(&parentFolder));
    TacShellFolder child(&parent, childItem.get(), {});
    EXPECT_EQ(child.Rename(u"new name", ::GetDesktopWindow()), c.renamed);
    EXPECT_EQ(parentFolder.renames, c.renamed ? 1 : 0) << "the shell was asked to rename";
  }
  EXPECT_EQ(parentFolder.refs(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Shell, RenameTest,
    ::testing::Values(RenameCase{"NoRenameBit", S_OK,
                                 SFGAO_FOLDER | SFGAO_CANDELETE | SFGAO_CANMOVE, false},
                      RenameCase{"NoAttributesAtAll", S_OK, 0, false},
                      RenameCase{"FailedQueryCountsForNothing", E_FAIL, SFGAO_CANRENAME, false},
                      RenameCase{"RenameBit", S_OK, SFGAO_FOLDER | SFGAO_CANRENAME, true}),
    CaseName());

}  // namespace
}  // namespace nestova::components
