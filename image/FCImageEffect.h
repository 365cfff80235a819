#pragma once
// A pixel operation applied by FCObjImage::ApplyEffect: either called once per pixel, rows from
// the top and pixels from the left, or once for the whole image.
#include <cstdint>

namespace verbaro {

class FCObjImage;

class FCImageEffect {
 public:
  enum ProcessType : int { kProcessWholeImage = 0, kProcessEveryPixel = 1 };

  virtual ~FCImageEffect() = default;
  // By default: any picture with pixels and at least 24 bits per pixel.
  virtual bool Supports(const FCObjImage& image) const;
  virtual ProcessType QueryProcessType() const { return kProcessEveryPixel; }
  virtual void BeforeProcessing(FCObjImage&) {}
  virtual void ProcessPixel(FCObjImage&, int /*x*/, int /*y*/, uint8_t* /*pixel*/) {}
  virtual void ProcessWholeImage(FCObjImage&) {}
};

// Multiplies blue, green and red by the pixel's alpha (rounding down), as blending with
// per-pixel alpha expects. Only 32-bit pictures.
class FCEffectPremultipleAlpha : public FCImageEffect {
 public:
  bool Supports(const FCObjImage& image) const override;
  void ProcessPixel(FCObjImage& image, int x, int y, uint8_t* pixel) override;

  // One pixel in memory order blue, green, red, alpha.
  static void Premultiply(uint8_t* bgra) {
    const unsigned alpha = bgra[3];
    for (int i = 0; i < 3; ++i) bgra[i] = static_cast<uint8_t>(bgra[i] * alpha / 255u);
  }
};

}  // namespace verbaro
