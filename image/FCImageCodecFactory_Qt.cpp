#include "image/FCImageCodecFactory_Qt.h"

#include <array>
#include <string_view>

#include "image/FCImageCodec_Qt.h"

namespace verbaro {

namespace {

struct Extension {
  std::u16string_view text;
  ImageType type;
};

constexpr std::array<Extension, 15> kExtensions{{
    {u"bmp", ImageType::Bmp},
    {u"pcx", ImageType::Pcx},
    {u"jpg", ImageType::Jpeg},
    {u"jpeg", ImageType::Jpeg},
    {u"jpe", ImageType::Jpeg},
    {u"jfif", ImageType::Jpeg},
    {u"gif", ImageType::Gif},
    {u"tga", ImageType::Tga},
    {u"tif", ImageType::Tiff},
    {u"tiff", ImageType::Tiff},
    {u"png", ImageType::Png},
    {u"psd", ImageType::Psd},
    {u"ico", ImageType::Ico},
    {u"xpm", ImageType::Xpm},
    {u"oxo", ImageType::Oxo},
}};

}  // namespace

FCImageCodecFactory_Qt& FCImageCodecFactory_Qt::Instance() {
  static FCImageCodecFactory_Qt factory;
  return factory;
}

ImageType FCImageCodecFactory_Qt::QueryImageFileType(const QString& path) const {
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return ImageType::Unknown;
  // Only A-Z are lowered: other letters are never part of a known extension.
  std::u16string extension;
  for (qsizetype i = dot + 1; i < path.size(); ++i) {
    char16_t c = path.at(i).unicode();
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    extension.push_back(c);
  }
  for (const Extension& known : kExtensions) {
    if (known.text == extension) return known.type;
  }
  return ImageType::Unknown;
}

std::unique_ptr<FCImageCodec> FCImageCodecFactory_Qt::CreateImageCodec(ImageType type) const {
  switch (type) {
    case ImageType::Bmp:
    case ImageType::Jpeg:
    case ImageType::Gif:
    case ImageType::Tiff:
    case ImageType::Png:
    case ImageType::Ico: return std::make_unique<FCImageCodec_Qt>();
    default: return nullptr;
  }
}

}  // namespace verbaro
