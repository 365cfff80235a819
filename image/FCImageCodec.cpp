#include "image/FCImageCodec.h"

namespace verbaro {

bool FCImageCodec::LoadImageFile(const QString&, FCImageFrames&, FCImageProperty&) { return false; }

bool FCImageCodec::LoadImageMemory(const uint8_t*, size_t, FCImageFrames&, FCImageProperty&) {
  return false;
}

bool FCImageCodec::SaveImageFile(const QString&, const FCObjImage&) { return false; }

}  // namespace verbaro
