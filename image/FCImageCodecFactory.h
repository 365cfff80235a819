#pragma once
// Knows picture types by file name and makes the format handler for a type.
#include <QString>
#include <memory>

#include "image/FCImageCodec.h"
#include "image/ImageType.h"

namespace verbaro {

class FCImageCodecFactory {
 public:
  virtual ~FCImageCodecFactory() = default;
  virtual ImageType QueryImageFileType(const QString& path) const = 0;
  // Null when the type has no handler.
  virtual std::unique_ptr<FCImageCodec> CreateImageCodec(ImageType type) const = 0;
};

}  // namespace verbaro
