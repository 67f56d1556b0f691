#pragma once
// What the client takes from a server at most. A response beyond these ends
// the exchange in failure instead of growing without bound.
#include <cstddef>

namespace nestova::http {

inline constexpr size_t kReceiveBlock = 32768;    // largest single read
inline constexpr size_t kMaxLineLength = 16384;   // bytes before the LF of a head line
inline constexpr size_t kMaxHeaderLines = 256;    // per response head
inline constexpr size_t kMaxHeadBytes = 65536;    // all heads of one exchange together
inline constexpr size_t kMaxBodyBytes = 1 << 20;  // one body

}  // namespace nestova::http
