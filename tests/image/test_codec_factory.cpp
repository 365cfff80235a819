#include <gtest/gtest.h>

#include "image/FCImageCodecFactory_Qt.h"

namespace verbaro {
namespace {

TEST(FCImageCodecFactory, TypeComesFromTheTextAfterTheLastDotWithCapitalsLowered) {
  const FCImageCodecFactory& factory = FCImageCodecFactory_Qt::Instance();
  const std::pair<const char*, ImageType> cases[] = {
      {"Res/Conspect1.jpg", ImageType::Jpeg},
      {"PHOTO.JPG", ImageType::Jpeg},
      {"a.Jpeg", ImageType::Jpeg},
      {"a.jpe", ImageType::Jpeg},
      {"a.JFIF", ImageType::Jpeg},
      {"a.bmp", ImageType::Bmp},
      {"a.pcx", ImageType::Pcx},
      {"a.gif", ImageType::Gif},
      {"a.tga", ImageType::Tga},
      {"a.tif", ImageType::Tiff},
      {"a.TIFF", ImageType::Tiff},
      {"logo.PnG", ImageType::Png},
      {"a.psd", ImageType::Psd},
      {"a.ico", ImageType::Ico},
      {"a.xpm", ImageType::Xpm},
      {"a.oxo", ImageType::Oxo},
      {"archive.png.txt", ImageType::Unknown},
      {"noextension", ImageType::Unknown},
      {"trailingdot.", ImageType::Unknown},
      {"dir.d/file", ImageType::Unknown},
      {"a.webp", ImageType::Unknown},
      {"", ImageType::Unknown},
  };
  for (const auto& [name, type] : cases) {
    EXPECT_EQ(factory.QueryImageFileType(QString::fromUtf8(name)), type) << name;
  }
}

TEST(FCImageCodecFactory, OnlyTheDecodedTypesHaveAHandler) {
  const FCImageCodecFactory& factory = FCImageCodecFactory_Qt::Instance();
  for (ImageType type : {ImageType::Bmp, ImageType::Jpeg, ImageType::Gif, ImageType::Tiff,
                         ImageType::Png, ImageType::Ico}) {
    EXPECT_NE(factory.CreateImageCodec(type), nullptr) << static_cast<int>(type);
  }
  for (ImageType type : {ImageType::Unknown, ImageType::Pcx, ImageType::Tga, ImageType::Psd,
                         ImageType::Xpm, ImageType::Oxo}) {
    EXPECT_EQ(factory.CreateImageCodec(type), nullptr) << static_cast<int>(type);
  }
  EXPECT_EQ(&FCImageCodecFactory_Qt::Instance(), &factory);
}

}  // namespace
}  // namespace verbaro
