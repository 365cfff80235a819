#include "image/FCObjImage.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <cstring>
#include <new>

#include "image/FCImageCodecFactory_Qt.h"
#include "image/FCImageEffect.h"

namespace verbaro {

namespace {

// Pictures larger than this are refused rather than allocated.
constexpr int64_t kMaxPixelBytes = int64_t{1} << 30;

}  // namespace

bool FCObjImage::Create(int width, int height, int bitsPerPixel) {
  Destroy();
  if (width < 1 || height < 1) return false;
  if (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) return false;
  const int64_t pitch = (int64_t{width} * bitsPerPixel + 31) / 32 * 4;
  const int64_t bytes = pitch * height;
  if (bytes > kMaxPixelBytes) return false;
  const size_t words = static_cast<size_t>(bytes / 4);
  std::unique_ptr<uint32_t[]> pixels(new (std::nothrow) uint32_t[words]());
  if (!pixels) return false;

  m_pixels = std::move(pixels);
  m_width = width;
  m_height = height;
  m_colorBits = bitsPerPixel;
  m_pitch = static_cast<int>(pitch);
  m_lines.resize(static_cast<size_t>(height));
  uint8_t* const start = GetMemStart();
  for (int y = 0; y < height; ++y) {
    m_lines[static_cast<size_t>(y)] = start + static_cast<size_t>(height - 1 - y) * m_pitch;
  }
  if (bitsPerPixel == 8) {
    m_palette.resize(256);
    for (int i = 0; i < 256; ++i) m_palette[static_cast<size_t>(i)] = qRgb(i, i, i);
  }
  return true;
}

void FCObjImage::Destroy() {
  m_pixels.reset();
  m_lines.clear();
  m_palette.clear();
  m_width = m_height = m_colorBits = m_pitch = 0;
}

uint8_t* FCObjImage::GetBits(int y) const {
  if (!IsValidImage() || y < 0 || y >= m_height) return nullptr;
  return m_lines[static_cast<size_t>(y)];
}

uint8_t* FCObjImage::GetBits(int x, int y) const {
  uint8_t* const row = GetBits(y);
  if (row == nullptr || x < 0 || x >= m_width) return nullptr;
  return row + static_cast<size_t>(x) * (m_colorBits / 8);
}

void FCObjImage::TakeOver(FCObjImage& other) {
  m_width = other.m_width;
  m_height = other.m_height;
  m_colorBits = other.m_colorBits;
  m_pitch = other.m_pitch;
  m_pixels = std::move(other.m_pixels);
  m_lines = std::move(other.m_lines);
  m_palette = std::move(other.m_palette);
  other.Destroy();
}

bool FCObjImage::Load(const QString& path, FCImageProperty* property) {
  const FCImageCodecFactory& factory = FCImageCodecFactory_Qt::Instance();
  const std::unique_ptr<FCImageCodec> codec =
      factory.CreateImageCodec(factory.QueryImageFileType(path));
  if (!codec) return false;
  FCImageFrames frames;
  FCImageProperty discarded;
  const bool loaded = codec->LoadImageFile(path, frames, property ? *property : discarded);
  if (!frames.empty()) TakeOver(*frames.front());
  return loaded;
}

bool FCObjImage::Load(const uint8_t* data, size_t size, ImageType type, FCImageProperty* property) {
  const std::unique_ptr<FCImageCodec> codec =
      FCImageCodecFactory_Qt::Instance().CreateImageCodec(type);
  if (!codec) return false;
  FCImageFrames frames;
  FCImageProperty discarded;
  const bool loaded = codec->LoadImageMemory(data, size, frames, property ? *property : discarded);
  if (!frames.empty()) TakeOver(*frames.front());
  return loaded;
}

bool FCObjImage::LoadResource(int id, const QString& typeName, ImageType type) {
  Destroy();
  QFile resource(QStringLiteral(":/%1/%2").arg(typeName).arg(id));
  if (!resource.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = resource.readAll();
  Load(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()),
       type);
  return IsValidImage();
}

bool FCObjImage::FromQImage(const QImage& frame) {
  Destroy();
  if (frame.isNull() || frame.width() == 0) return false;
  const bool alpha = frame.hasAlphaChannel();
  // Straight (not premultiplied) ARGB is blue, green, red, alpha in little-endian memory.
  const QImage source =
      frame.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_BGR888);
  if (source.isNull()) return false;
  if (!Create(source.width(), source.height(), alpha ? 32 : 24)) return false;
  const size_t rowBytes = static_cast<size_t>(m_width) * (m_colorBits / 8);
  for (int y = 0; y < m_height; ++y) {
    std::memcpy(GetBits(y), source.constScanLine(y), rowBytes);
  }
  return true;
}

void FCObjImage::ApplyEffect(FCImageEffect& effect) {
  if (!effect.Supports(*this)) return;
  effect.BeforeProcessing(*this);
  switch (effect.QueryProcessType()) {
    case FCImageEffect::kProcessWholeImage: effect.ProcessWholeImage(*this); break;
    case FCImageEffect::kProcessEveryPixel: {
      const int step = m_colorBits / 8;
      for (int y = 0; y < m_height; ++y) {
        uint8_t* pixel = GetBits(y);
        for (int x = 0; x < m_width; ++x, pixel += step) effect.ProcessPixel(*this, x, y, pixel);
      }
      break;
    }
  }
}

QImage FCObjImage::MemoryView() const {
  QImage::Format format = QImage::Format_Indexed8;
  if (m_colorBits == 24) format = QImage::Format_BGR888;
  if (m_colorBits == 32) format = QImage::Format_ARGB32_Premultiplied;
  // Read-only over our memory: no copy is made while it is only drawn.
  QImage view(static_cast<const uchar*>(GetMemStart()), m_width, m_height, m_pitch, format);
  if (m_colorBits == 8) view.setColorTable(QList<QRgb>(m_palette.begin(), m_palette.end()));
  return view;
}

void FCObjImage::Draw(QPainter& target, const QRect& dest) const {
  if (!IsValidImage() || dest.width() <= 0 || dest.height() <= 0) return;
  const QImage view = MemoryView();
  target.save();
  target.setRenderHint(QPainter::SmoothPixmapTransform, false);
  target.setCompositionMode(m_colorBits == 32 ? QPainter::CompositionMode_SourceOver
                                              : QPainter::CompositionMode_Source);
  // The memory holds the bottom row first: draw it mirrored into a mirrored rectangle.
  target.translate(dest.left(), dest.top() + dest.height());
  target.scale(1.0, -1.0);
  target.drawImage(QRect(0, 0, dest.width(), dest.height()), view);
  target.restore();
}

}  // namespace verbaro
