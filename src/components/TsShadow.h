#pragma once
// The effect label's shadow and text colour as data: the values a paint
// uses, where they come from, and how far the shadow reaches beyond the text.
#include <cstdint>
#include <optional>

#include "components/TacOffsetKeeper.h"
#include "components/color.h"

namespace nestova::components {

enum class TsShadowMode { smNone, smCustom, smSkin1 };
enum class TsKindType { ktStandard, ktCustom, ktSkin };

// The effective shadow of a moment.
struct TShadowData {
  ColorRef Color = kClBlack;
  int Blur = 0;
  int Offset = 0;
  int Alpha = 0;
  bool operator==(const TShadowData&) const = default;
};

// A skin's shadow, when a skin manager is active. Blur -1 means the skin
// defines none.
struct SkinShadow {
  ColorRef Color = kClBlack;
  int Blur = -1;
  int Offset = 0;
};

// The `Shadow` property. Blur and distance are kept in ranges a paint can
// afford, whatever a form or a caller asks for.
class TsShadow {
 public:
  static constexpr int kMinBlurCount = 0;
  static constexpr int kMaxBlurCount = 255;
  static constexpr int kMinDistance = -1000;
  static constexpr int kMaxDistance = 1000;

  // Each setter returns true when the stored value changed; the label then
  // follows the new extents (BlurCount, Distance, Mode) and repaints.
  int BlurCount() const { return FBlurCount; }
  bool SetBlurCount(int value);
  int Distance() const { return FDistance; }
  bool SetDistance(int value);
  ColorRef Color() const { return FColor; }
  bool SetColor(ColorRef value);
  TsShadowMode Mode() const { return FMode; }
  bool SetMode(TsShadowMode value);
  std::uint8_t AlphaValue() const { return FAlphaValue; }
  bool SetAlphaValue(std::uint8_t value);
  // Nothing sets it: the shadow image is rebuilt at every paint.
  bool Buffered() const { return FBuffered; }

  TacOffsetKeeper& OffsetKeeper() { return FOffsetKeeper; }
  const TacOffsetKeeper& OffsetKeeper() const { return FOffsetKeeper; }

 private:
  bool FBuffered = false;
  int FBlurCount = 4;
  int FDistance = 1;
  ColorRef FColor = kClBlack;
  TsShadowMode FMode = TsShadowMode::smSkin1;
  std::uint8_t FAlphaValue = 255;
  TacOffsetKeeper FOffsetKeeper;
};

// `Kind`: where the text colour comes from.
struct TsKind {
  TsKindType KindType = TsKindType::ktSkin;
  ColorRef Color = kClWhite;
};

// `activeSkin`: the shadow of an active skin manager's skin, nullopt when no
// skin manager is active (always so in this program). A skin's blur and
// offset are held to the same ranges as the shadow's own.
TShadowData CurrentShadowData(const TsShadow& shadow, const std::optional<SkinShadow>& activeSkin);

// `labelColor`: the label's `Color` property as RGB. `skinFontColor`: the
// skin's font colour for the label when the skin data is active and defines
// one, nullopt otherwise (always so in this program).
ColorRef CurrentFontColor(const TsKind& kind, ColorRef labelColor,
                          std::optional<ColorRef> skinFontColor);

// How far the shadow reaches left/above (LeftTop, <= 0) and right/below
// (RightBottom, >= 0) of the text.
ShadowExtents ExtentsOf(const TShadowData& shadow);

}  // namespace nestova::components
