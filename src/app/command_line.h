#pragma once
// Splitting the raw command line into arguments, the way the program has
// always read it: no escape character, quotes open and close quoted parts
// anywhere in an argument, and an empty pair of quotes is skipped.
#include <string>
#include <string_view>

namespace nestova {

// The argument after the program name, or an empty string when there is
// none. The line ends at its end or at a U+0000.
std::u16string FirstArgument(std::u16string_view commandLine);

}  // namespace nestova
