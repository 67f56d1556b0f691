#include "components/TsShadow.h"

#include <algorithm>
#include <cstdint>

#include "components/saturate.h"

namespace nestova::components {
namespace {

template <typename T>
bool Store(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

int ClampBlur(int value) {
  return std::clamp(value, TsShadow::kMinBlurCount, TsShadow::kMaxBlurCount);
}

int ClampDistance(int value) {
  return std::clamp(value, TsShadow::kMinDistance, TsShadow::kMaxDistance);
}

}  // namespace

bool TsShadow::SetBlurCount(int value) { return Store(FBlurCount, ClampBlur(value)); }
bool TsShadow::SetDistance(int value) { return Store(FDistance, ClampDistance(value)); }
bool TsShadow::SetColor(ColorRef value) { return Store(FColor, value); }
bool TsShadow::SetMode(TsShadowMode value) { return Store(FMode, value); }
bool TsShadow::SetAlphaValue(std::uint8_t value) { return Store(FAlphaValue, value); }

TShadowData CurrentShadowData(const TsShadow& shadow, const std::optional<SkinShadow>& activeSkin) {
  switch (shadow.Mode()) {
    case TsShadowMode::smNone:
      return {};
    case TsShadowMode::smSkin1:
      if (activeSkin && activeSkin->Blur != -1) {
        return {activeSkin->Color, ClampBlur(activeSkin->Blur), ClampDistance(activeSkin->Offset),
                shadow.AlphaValue()};
      }
      break;
    case TsShadowMode::smCustom:
      break;
  }
  return {shadow.Color(), shadow.BlurCount(), shadow.Distance(), shadow.AlphaValue()};
}

ColorRef CurrentFontColor(const TsKind& kind, ColorRef labelColor,
                          std::optional<ColorRef> skinFontColor) {
  switch (kind.KindType) {
    case TsKindType::ktStandard:
      return labelColor;
    case TsKindType::ktSkin:
      if (skinFontColor) return *skinFontColor;
      break;
    case TsKindType::ktCustom:
      break;
  }
  return kind.Color;
}

ShadowExtents ExtentsOf(const TShadowData& shadow) {
  // Wide arithmetic: a TShadowData built by hand may hold any values.
  const std::int64_t offset = shadow.Offset;
  const std::int64_t blur = shadow.Blur;
  return {SaturateToInt(std::min<std::int64_t>(0, offset - blur)),
          SaturateToInt(std::max<std::int64_t>(0, offset + blur))};
}

}  // namespace nestova::components
