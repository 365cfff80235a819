#include "image/FCImageEffect.h"

#include "image/FCObjImage.h"

namespace verbaro {

bool FCImageEffect::Supports(const FCObjImage& image) const {
  return image.IsValidImage() && image.ColorBits() >= 24;
}

bool FCEffectPremultipleAlpha::Supports(const FCObjImage& image) const {
  return image.IsValidImage() && image.ColorBits() == 32;
}

void FCEffectPremultipleAlpha::ProcessPixel(FCObjImage&, int, int, uint8_t* pixel) {
  Premultiply(pixel);
}

}  // namespace verbaro
