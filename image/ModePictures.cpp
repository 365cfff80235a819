#include "image/ModePictures.h"

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

}  // namespace

bool LoadModePictures(FCObjImage& background, FCObjImage& logo, int backgroundId,
                      const QString& backgroundFile, int logoId, const QString& logoFile) {
  if (!LoadOne(background, backgroundFile, backgroundId, QStringLiteral("JPG"), ImageType::Jpeg)) {
    return false;
  }
  return LoadOne(logo, logoFile, logoId, QStringLiteral("PNG"), ImageType::Png);
}

}  // namespace verbaro
