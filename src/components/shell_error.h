#pragma once
// An error the components raise with a text for the user ("Error Setting
// Path", "Rename to New folder1 failed"). Portable.
#include <stdexcept>
#include <string>

namespace nestova::components {

class ShellError : public std::runtime_error {
 public:
  explicit ShellError(std::u16string text)
      : std::runtime_error(Narrow(text)), text_(std::move(text)) {}
  const std::u16string& text() const { return text_; }

 private:
  // For logs only: the user sees text().
  static std::string Narrow(const std::u16string& text) {
    std::string result;
    for (char16_t c : text) result += c < 0x80 ? static_cast<char>(c) : '?';
    return result;
  }
  std::u16string text_;
};

}  // namespace nestova::components
