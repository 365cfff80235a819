#include "image/FCImageCodec_Qt.h"

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cstdint>

#include "image/FCObjImage.h"

namespace verbaro {

namespace {

// Bounds on what is kept from one file, so that a hostile animation cannot exhaust memory; only
// the first frame is ever shown, and it is always kept.
constexpr int kMaxFrames = 1024;
constexpr int64_t kMaxFrameBytes = int64_t{256} << 20;

void ReadTextItems(const QImageReader& reader, FCImageProperty& property) {
  for (const QString& key : reader.textKeys()) {
    const std::string value = reader.text(key).toStdString();
    if (key == QLatin1String("Make")) {
      property.m_strEquipMake = value;
    } else if (key == QLatin1String("Model")) {
      property.m_strEquipModel = value;
    } else if (key == QLatin1String("DateTimeOriginal")) {
      property.m_strDateTimeTaken = value;
    } else {
      property.m_listOtherText.emplace_back(key.toStdString(), value);
    }
  }
}

// The format of the usual picture kinds by their first bytes; empty for anything else. Naming it
// sends the reader straight to that format's handler, where deciding by content would load and
// ask every image plugin in turn, a cost paid on every start by the built-in pictures.
QByteArray FormatOfContent(QIODevice* device) {
  if (device == nullptr || (!device->isOpen() && !device->open(QIODevice::ReadOnly))) return {};
  const QByteArray head = device->peek(8);
  if (head.startsWith("\x89PNG\r\n\x1a\n")) return QByteArrayLiteral("png");
  if (head.startsWith("\xff\xd8\xff")) return QByteArrayLiteral("jpeg");
  if (head.startsWith("GIF87a") || head.startsWith("GIF89a")) return QByteArrayLiteral("gif");
  if (head.startsWith("BM")) return QByteArrayLiteral("bmp");
  return {};
}

}  // namespace

bool FCImageCodec_Qt::ReadFrames(QImageReader& reader, FCImageFrames& frames,
                                 FCImageProperty& property) {
  // Content decides the format, whatever the file is called, as the system decoders do.
  if (const QByteArray format = FormatOfContent(reader.device()); !format.isEmpty()) {
    reader.setFormat(format);
    reader.setDecideFormatFromContent(false);
  } else {
    reader.setDecideFormatFromContent(true);
  }
  reader.setAutoTransform(false);
  // Text items come with the header; asked for after the frames, some readers start over.
  ReadTextItems(reader, property);
  bool taken = false;
  int64_t kept = 0;
  const bool animated = reader.supportsAnimation();
  // Formats that know their frame count say it; an animation without a count is read to its end;
  // anything else has one frame.
  const int count = reader.imageCount();
  const int limit = count > 0 ? std::min(count, kMaxFrames) : (animated ? kMaxFrames : 1);
  for (int i = 0; i < limit; ++i) {
    // Animations advance by themselves; the images of an icon or pages of a TIFF are chosen.
    if (i > 0 && !animated && !reader.jumpToImage(i)) break;
    const QImage frame = reader.read();
    if (frame.isNull()) break;
    if (animated) {
      const int delay = reader.nextImageDelay();
      property.m_listFrameDelay.push_back(delay == 0 ? 100 : delay);
    }
    auto image = std::make_unique<FCObjImage>();
    if (image->FromQImage(frame)) {
      kept += int64_t{image->GetPitch()} * image->Height();
      frames.push_back(std::move(image));
      taken = true;
      if (kept > kMaxFrameBytes) break;
    }
  }
  return taken;
}

bool FCImageCodec_Qt::LoadImageFile(const QString& path, FCImageFrames& frames,
                                    FCImageProperty& property) {
  QImageReader reader(path);
  return ReadFrames(reader, frames, property);
}

bool FCImageCodec_Qt::LoadImageMemory(const uint8_t* data, size_t size, FCImageFrames& frames,
                                      FCImageProperty& property) {
  if (data == nullptr || size == 0) return false;
  // The reader gets its own copy of the bytes, as the system decoder gets its own stream.
  QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::ReadOnly)) return false;
  QImageReader reader(&buffer);
  return ReadFrames(reader, frames, property);
}

bool FCImageCodec_Qt::CanReadFile(const QString& path) {
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  return reader.canRead();
}

}  // namespace verbaro
