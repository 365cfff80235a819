#pragma once
// The program's codec factory: types by extension, Qt's readers for the types Qt decodes the
// way the program needs (BMP, JPEG, GIF, TIFF, PNG, ICO); no handler for the others.
#include "image/FCImageCodecFactory.h"

namespace verbaro {

class FCImageCodecFactory_Qt : public FCImageCodecFactory {
 public:
  // The one factory of the process, made on first use.
  static FCImageCodecFactory_Qt& Instance();

  // The text after the last full stop, letters A-Z lowered; no full stop or an unlisted
  // extension gives ImageType::Unknown.
  ImageType QueryImageFileType(const QString& path) const override;
  std::unique_ptr<FCImageCodec> CreateImageCodec(ImageType type) const override;
};

}  // namespace verbaro
