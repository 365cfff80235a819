#pragma once
// A picture format handler. Loads decode every frame into new images; the caller keeps what it
// needs. The base handler reads and writes nothing.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/FCImageProperty.h"

namespace verbaro {

class FCObjImage;

using FCImageFrames = std::vector<std::unique_ptr<FCObjImage>>;

class FCImageCodec {
 public:
  virtual ~FCImageCodec() = default;
  virtual bool LoadImageFile(const QString& path, FCImageFrames& frames, FCImageProperty& property);
  virtual bool LoadImageMemory(const uint8_t* data, size_t size, FCImageFrames& frames,
                               FCImageProperty& property);
  // Pictures are never written by the program; no handler implements this.
  virtual bool SaveImageFile(const QString& path, const FCObjImage& image);
};

}  // namespace verbaro
