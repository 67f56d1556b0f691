// Any command line, read as UTF-16: splitting never fails, quotes never
// survive, and the start-up rules hold whatever the folders say.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/command_line.h"
#include "app/startup.h"
#include "fake_platform.h"

namespace {

// A world in which every path names a folder.
class EverythingIsAFolder : public nestova::testing::FakePlatform {
 public:
  nestova::platform::AttributeQuery Attributes(const std::u16string&) override {
    return {nestova::platform::attr::kDirectory, 0};
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string line(size / 2, u'\0');
  for (size_t i = 0; i < line.size(); ++i) {
    line[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  const std::u16string arg = nestova::FirstArgument(line);
  if (arg.size() > line.size() || arg.find(u'"') != std::u16string::npos ||
      arg.find(u'\0') != std::u16string::npos) {
    std::abort();
  }
  // Every folder exists: the result is the trimmed argument with one
  // backslash, or nothing when it is too short.
  EverythingIsAFolder world;
  const auto target =
      nestova::ResolveTargetFolder(arg, world, [] { return std::u16string(u"D:\\Work"); });
  if (target && (target->size() < 4 || target->back() != u'\\')) std::abort();
  return 0;
}
