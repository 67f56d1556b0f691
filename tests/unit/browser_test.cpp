#include "app/browser.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "fake_platform.h"

namespace nestova {
namespace {

using platform::attr::kArchive;
using platform::attr::kDirectory;
using platform::attr::kHidden;
using platform::attr::kReadOnly;
using platform::attr::kSystem;
using testing::FakePlatform;
using testing::Utf8;

const std::u16string kIcons = u"C:\\Nestova\\Icons\\";

// An image list that reads the fake's files: "PIC:<name>" is a picture,
// "BAD" is refused with a message, anything else cannot be opened (throws).
class FakeImageList : public IconImageList {
 public:
  FakeImageList(FakePlatform& fs, std::function<void()> onMessage)
      : fs_(fs), onMessage_(std::move(onMessage)) {}
  int Count() const override { return static_cast<int>(pictures.size()); }
  void LoadFromFile(const std::u16string& path) override {
    const std::string bytes = fs_.Bytes(path).value_or("");
    if (bytes.rfind("PIC:", 0) == 0) {
      pictures.push_back(bytes.substr(4));
    } else if (bytes == "BAD") {
      messages.push_back("Cannot load " + Utf8(path));
      if (onMessage_) onMessage_();  // the modal message handles window messages
    } else {
      throw std::runtime_error("cannot open " + Utf8(path));
    }
  }
  std::vector<std::string> pictures;
  std::vector<std::string> messages;

 private:
  FakePlatform& fs_;
  std::function<void()> onMessage_;
};

struct Item {
  std::string caption;
  int image;
};

class FakeView : public IconView {
 public:
  explicit FakeView(FakePlatform& fs) : fs_(fs) {}
  void RemoveAllItems() override { items.clear(); }
  std::shared_ptr<IconImageList> NewImageList() override {
    list = std::make_shared<FakeImageList>(fs_, [this] { RunPending(); });
    ++listsMade;
    return list;
  }
  void ProcessPendingMessages() override {
    ++pumps;
    RunPending();
  }
  void AddItem(const std::u16string& caption, int imageIndex) override {
    items.push_back({Utf8(caption), imageIndex});
    if (held) ++addedWhileHeld;
  }
  void ReserveImages(int count) override {
    EXPECT_EQ(list->Count(), 0);
    reserved.push_back(count);
  }
  void HoldPainting(bool hold) override {
    EXPECT_TRUE(!hold || pumps > 0) << "painting held before the emptied view was drawn";
    held = hold;
  }
  // Each item shows the picture of its own file.
  void ExpectEveryItemShowsItsFile() const {
    for (const Item& item : items) {
      ASSERT_LT(item.image, list->Count()) << item.caption;
      EXPECT_EQ(list->pictures[static_cast<size_t>(item.image)], item.caption);
    }
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (const Item& item : items) out.push_back(item.caption);
    return out;
  }

  std::vector<Item> items;
  std::shared_ptr<FakeImageList> list;
  int listsMade = 0;
  int pumps = 0;
  bool held = false;
  std::vector<int> reserved;
  int addedWhileHeld = 0;
  std::vector<std::function<void()>> pending;  // queued "messages", run once each

 private:
  void RunPending() {
    auto now = std::move(pending);
    pending.clear();
    for (auto& message : now) message();
  }
  FakePlatform& fs_;
};

struct World {
  FakePlatform fs;
  FakeView view{fs};
  CollectionBrowser browser{fs, view};
  World() {
    fs.AddFolder(u"C:\\");
    fs.AddFolder(u"C:\\Nestova");
    fs.AddFolder(kIcons);
  }
  void Icon(const std::u16string& collection, const std::u16string& name,
            uint32_t attributes = kArchive) {
    fs.AddFolder(kIcons + collection);
    fs.AddFile(kIcons + collection + u"\\" + name, "PIC:" + Utf8(name), attributes);
  }
  void Load(const std::u16string& collection) { browser.LoadCollectionIcons(kIcons, collection); }
};

TEST(Browser, ListsVisibleSubfoldersInSearchOrder) {
  World w;
  w.fs.AddFolder(kIcons + u"Office");
  w.fs.AddFolder(kIcons + u"Hidden", kDirectory | kHidden);
  w.fs.AddFolder(kIcons + u"System", kDirectory | kSystem);
  w.fs.AddFolder(kIcons + u"ReadOnly", kDirectory | kReadOnly);
  w.fs.AddFile(kIcons + u"readme.txt");
  w.fs.AddFile(kIcons + u"Loose.ico", "PIC:Loose.ico");
  w.fs.AddFolder(kIcons + u"Цветные папки");
  EXPECT_EQ(ListCollections(w.fs, kIcons),
            (std::vector<std::u16string>{u"Office", u"ReadOnly", u"Цветные папки"}));
  EXPECT_TRUE(ListCollections(w.fs, u"C:\\Missing\\Icons\\").empty());
}

TEST(Browser, ItemsOnlyForFilesTheListTookEachWithItsOwnPicture) {
  World w;
  w.Icon(u"Office", u"A.ico");
  w.fs.AddFile(kIcons + u"Office\\B.ico", "BAD");
  w.fs.AddFile(kIcons + u"Office\\Locked.ico", "LOCKED");  // cannot be opened: throws
  w.Icon(u"Office", u"C.ico");
  w.Load(u"Office");
  EXPECT_EQ(w.view.Captions(), (std::vector<std::string>{"A.ico", "C.ico"}));
  EXPECT_EQ(w.view.reserved, std::vector<int>{4});  // room for every file, made once
  // Added without painting one by one, and drawn at the end.
  EXPECT_EQ(w.view.addedWhileHeld, 2);
  EXPECT_FALSE(w.view.held);
  w.view.ExpectEveryItemShowsItsFile();
  EXPECT_EQ(w.view.list->messages,
            std::vector<std::string>{"Cannot load C:\\Nestova\\Icons\\Office\\B.ico"});
  EXPECT_EQ(w.view.pumps, 1);
}

TEST(Browser, WhichFilesCount) {
  World w;
  w.Icon(u"Set", u"hidden.ico", kHidden | kSystem | kReadOnly);
  w.Icon(u"Set", u"X.ICO");
  w.fs.AddFolder(kIcons + u"Set\\folder.ico");  // a subfolder named like an icon
  w.Icon(u"Set", u"Красная.ico");
  EXPECT_EQ(ListIconFiles(w.fs, kIcons + u"Set\\"),
            (std::vector<std::u16string>{u"hidden.ico", u"X.ICO", u"Красная.ico"}));
}

// The system also matches "*.ico" against short 8.3 names, which end in
// ".ICO" for names like "a.icon" and "x.ico_old".
class ShortNameMatches : public FakePlatform {
 public:
  std::vector<platform::FoundEntry> Find(const platform::Text& pattern) override {
    std::vector<platform::FoundEntry> found = FakePlatform::Find(pattern);
    if (pattern.size() >= 5 && pattern.substr(pattern.size() - 5) == u"*.ico") {
      found.push_back({u"a.icon", kArchive});
      found.push_back({u"x.ico_old", kArchive});
      found.push_back({u"ico", kArchive});
    }
    return found;
  }
};

TEST(Browser, OnlyLongNamesEndingInIcoAreListed) {
  ShortNameMatches fs;
  fs.AddFolder(u"C:\\");
  fs.AddFolder(u"C:\\Set");
  fs.AddFile(u"C:\\Set\\good.ico");
  EXPECT_EQ(ListIconFiles(fs, u"C:\\Set\\"), std::vector<std::u16string>{u"good.ico"});
}

TEST(Browser, SelectingTheSameCollectionAgainRebuildsTheSameView) {
  World w;
  for (const char16_t* name : {u"1.ico", u"2.ico", u"3.ico"}) w.Icon(u"Office", name);
  w.Load(u"Office");
  const std::vector<std::string> first = w.view.Captions();
  const auto firstList = w.view.list;
  w.Load(u"Office");
  EXPECT_EQ(w.view.Captions(), first);
  EXPECT_NE(w.view.list, firstList);  // built anew
  EXPECT_EQ(w.view.list->Count(), 3);
  w.view.ExpectEveryItemShowsItsFile();
}

TEST(Browser, NoCollectionLeavesAnEmptyViewWithAFreshList) {
  World w;
  w.Icon(u"Office", u"A.ico");
  w.Load(u"Office");
  w.Load(u"");
  EXPECT_TRUE(w.view.items.empty());
  EXPECT_EQ(w.view.list->Count(), 0);
  EXPECT_EQ(w.view.listsMade, 2);
  EXPECT_EQ(w.view.pumps, 1);  // only the load that reads files pumps
}

// A held arrow key in the collection list: selections queue up while a load
// runs, and the pump (or the image list's message) runs them inside it.
TEST(Browser, ALoadStartedInsideAnotherLeavesOneItemPerFileWithItsPicture) {
  const struct {
    const char* where;
    bool inMessage;
  } cases[] = {{"in the pump", false}, {"in the image list's message", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    World w;
    for (const char16_t* name : {u"a1.ico", u"a2.ico", u"a3.ico"}) w.Icon(u"A", name);
    w.fs.AddFile(kIcons + u"A\\a0.ico", "BAD");
    for (const char16_t* name : {u"b1.ico", u"b2.ico"}) w.Icon(u"B", name);
    for (const char16_t* name : {u"c1.ico", u"c2.ico", u"c3.ico", u"c4.ico"}) w.Icon(u"C", name);
    // B is queued, and C behind it, as the key repeats.
    w.view.pending.push_back([&] {
      w.view.pending.push_back([&] { w.Load(u"C"); });
      w.Load(u"B");
    });
    if (c.inMessage) {
      // Let the first pump pass; the queued selections arrive while A's
      // error message is open.
      auto queued = std::move(w.view.pending);
      w.view.pending.clear();
      w.browser.LoadCollectionIcons(kIcons, u"");  // nothing pending yet
      w.view.pending = std::move(queued);
      w.fs.AddFile(kIcons + u"A\\a2.ico", "BAD");
    }
    w.Load(u"A");
    EXPECT_EQ(w.view.Captions(),
              (std::vector<std::string>{"c1.ico", "c2.ico", "c3.ico", "c4.ico"}));
    EXPECT_EQ(w.view.list->Count(), 4);
    w.view.ExpectEveryItemShowsItsFile();
    EXPECT_FALSE(w.view.held);
  }
}

}  // namespace
}  // namespace nestova
