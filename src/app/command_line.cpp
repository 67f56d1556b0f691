#include "app/command_line.h"

namespace nestova {
namespace {

class Reader {
 public:
  explicit Reader(std::u16string_view text) : text_(text) {}

  // U+0000 ends the line as it would end the platform's string.
  char16_t Peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : u'\0';
  }
  void Advance(size_t count = 1) { pos_ += count; }

  // White space and empty quote pairs between arguments.
  void SkipSeparators() {
    for (;;) {
      while (Peek() != u'\0' && Peek() <= u' ') Advance();
      if (Peek() == u'"' && Peek(1) == u'"') {
        Advance(2);
      } else {
        return;
      }
    }
  }

  std::u16string NextArgument() {
    SkipSeparators();
    std::u16string arg;
    while (Peek() > u' ') {
      if (Peek() == u'"') {
        Advance();
        while (Peek() != u'\0' && Peek() != u'"') {
          arg += Peek();
          Advance();
        }
        if (Peek() == u'"') Advance();
      } else {
        arg += Peek();
        Advance();
      }
    }
    return arg;
  }

 private:
  std::u16string_view text_;
  size_t pos_ = 0;
};

}  // namespace

std::u16string FirstArgument(std::u16string_view commandLine) {
  Reader reader(commandLine);
  if (reader.NextArgument().empty()) return {};
  return reader.NextArgument();
}

}  // namespace nestova
