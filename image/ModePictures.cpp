#include "image/ModePictures.h"

#include <QFile>

#include "image/FCImageCodec_Qt.h"
#include "image/FCImageEffect.h"
#include "image/FCObjImage.h"

namespace verbaro {

namespace {

void PremultiplyIfAlpha(FCObjImage& image) {
  FCEffectPremultipleAlpha premultiply;
  image.ApplyEffect(premultiply);  // acts on 32-bit pictures only
}

// One picture: the user's file when the decoder recognises it, else the built-in one.
// False only when the file was recognised but could not be loaded.
bool LoadOne(FCObjImage& image, const QString& file, int resourceId, const QString& typeName,
             ImageType builtInType) {
  if (!FCImageCodec_Qt::CanReadFile(file)) {
    image.LoadResource(resourceId, typeName, builtInType);
    PremultiplyIfAlpha(image);
    return true;
  }
  if (!image.Load(file)) return false;
  PremultiplyIfAlpha(image);
  return true;
}

// The built-in logo with twice the pixels (resource "<id>@2x"); false, leaving the picture as
// it was, when the program has none.
bool LoadDoubleLogo(FCObjImage& logo, int id) {
  QFile resource(QStringLiteral(":/PNG/%1@2x").arg(id));
  if (!resource.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = resource.readAll();
  if (!logo.Load(reinterpret_cast<const uint8_t*>(bytes.constData()),
                 static_cast<size_t>(bytes.size()), ImageType::Png)) {
    return false;
  }
  PremultiplyIfAlpha(logo);
  return true;
}

}  // namespace

bool LoadModePictures(FCObjImage& background, FCObjImage& logo, int backgroundId,
                      const QString& backgroundFile, int logoId, const QString& logoFile,
                      double screenPixelRatio, int* logoPixelRatio) {
  if (logoPixelRatio) *logoPixelRatio = 1;
  if (!LoadOne(background, backgroundFile, backgroundId, QStringLiteral("JPG"), ImageType::Jpeg)) {
    return false;
  }
  if (screenPixelRatio > 1.0 && !FCImageCodec_Qt::CanReadFile(logoFile) &&
      LoadDoubleLogo(logo, logoId)) {
    if (logoPixelRatio) *logoPixelRatio = 2;
    return true;
  }
  return LoadOne(logo, logoFile, logoId, QStringLiteral("PNG"), ImageType::Png);
}

}  // namespace verbaro
