#pragma once
// Picture file types, numbered as the codec factory numbers them.

namespace verbaro {

enum class ImageType : int {
  Unknown = 0,
  Bmp = 1,
  Pcx = 2,
  Jpeg = 3,
  Gif = 4,
  Tga = 5,
  Tiff = 6,
  Png = 7,
  Psd = 8,
  Ico = 9,
  Xpm = 10,
  Oxo = 11,  // the layered format of the picture library; no codec reads it
};

}  // namespace verbaro
