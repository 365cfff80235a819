// Pictures: any bytes as a background or logo. The picture object loads them from memory for a
// codec type (the decoder recognises the content whatever the type says), the mode pictures'
// premultiplication is applied, and the result is drawn stretched and at its own size onto a
// small surface, as a repaint does.
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "fuzz/FuzzChecks.h"
#include "fuzz/FuzzSupport.h"
#include "image/FCImageEffect.h"
#include "image/FCObjImage.h"
#include "image/ModePictures.h"

namespace {

using verbaro::ImageType;

constexpr ImageType kTypes[] = {ImageType::Jpeg, ImageType::Png, ImageType::Gif,
                                ImageType::Bmp,  ImageType::Ico, ImageType::Tiff};

void DrawOnto(const verbaro::FCObjImage& picture) {
  QImage surface(64, 48, QImage::Format_ARGB32_Premultiplied);
  surface.fill(Qt::black);
  QPainter painter(&surface);
  picture.Draw(painter, QRect(0, 0, 64, 48));
  picture.Draw(painter,
               QRect(10, 10, std::min(picture.Width(), 200), std::min(picture.Height(), 200)));
  picture.Draw(painter, QRect(-5, -5, 3, 70));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace verbaro;
  using fuzz::Require;
  fuzz::EnsureApplication();

  FCObjImage picture;
  const ImageType type = kTypes[size % std::size(kTypes)];
  if (picture.Load(data, size, type)) {
    Require(picture.IsValidImage(), "a loaded picture has pixels");
    Require(picture.Width() > 0 && picture.Height() > 0, "a loaded picture has a size");
    Require(picture.ColorBits() == 24 || picture.ColorBits() == 32, "24 or 32 bits");
    FCEffectPremultipleAlpha premultiply;
    picture.ApplyEffect(premultiply);
    DrawOnto(picture);
  }
  // A type without a codec loads nothing and leaves the picture as it was.
  const bool hadPixels = picture.IsValidImage();
  picture.Load(data, size, ImageType::Psd);
  Require(picture.IsValidImage() == hadPixels, "a failed load keeps the old picture");

  // One input in four also goes the way of a learner's own picture in Res/.
  if (size % 4 == 0) {
    const std::string file = fuzz::ScratchFolder() + "/picture.jpg";
    fuzz::WriteFileBytes(file, data, size);
    FCObjImage background, logo;
    LoadModePictures(background, logo, 600, QString::fromStdString(file), 601,
                     QStringLiteral("missing.png"));
    DrawOnto(background);
    DrawOnto(logo);
  }
  return 0;
}
