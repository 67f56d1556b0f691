#pragma once
// Colours as the platform's COLORREF: 0x00BBGGRR.
#include <cstdint>

namespace nestova::components {

using ColorRef = std::uint32_t;

inline constexpr ColorRef kClBlack = 0x000000;
inline constexpr ColorRef kClWhite = 0xFFFFFF;
// "No colour": a shadow of this colour is not drawn.
inline constexpr ColorRef kClNone = 0x1FFFFFFF;

inline constexpr std::uint8_t RedOf(ColorRef c) { return static_cast<std::uint8_t>(c); }
inline constexpr std::uint8_t GreenOf(ColorRef c) { return static_cast<std::uint8_t>(c >> 8); }
inline constexpr std::uint8_t BlueOf(ColorRef c) { return static_cast<std::uint8_t>(c >> 16); }

}  // namespace nestova::components
