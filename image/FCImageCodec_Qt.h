#pragma once
// The format handler backed by Qt's image readers (JPEG, PNG, GIF, BMP, TIFF, ICO). Every frame
// of the file becomes one image: 32 bits per pixel with straight alpha when the frame has an
// alpha channel, else 24 bits per pixel.
#include "image/FCImageCodec.h"

class QImageReader;

namespace verbaro {

class FCImageCodec_Qt : public FCImageCodec {
 public:
  bool LoadImageFile(const QString& path, FCImageFrames& frames,
                     FCImageProperty& property) override;
  bool LoadImageMemory(const uint8_t* data, size_t size, FCImageFrames& frames,
                       FCImageProperty& property) override;

  // Whether the reader recognises the file as a picture (it reads the header only).
  static bool CanReadFile(const QString& path);

 private:
  static bool ReadFrames(QImageReader& reader, FCImageFrames& frames, FCImageProperty& property);
};

}  // namespace verbaro
