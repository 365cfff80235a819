#pragma once
// FCObjImage: one picture of 8, 24 or 32 bits per pixel, laid out as a bottom-up
// device-independent bitmap: rows padded to 4 bytes, the top row last in memory. Pixels are
// blue, green, red (and alpha). 8-bit pictures carry a 256-entry palette, grey after Create.
// An empty picture (no pixels) does nothing and reports failure for every operation.
#include <QRgb>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/FCImageProperty.h"
#include "image/FCObjGraph.h"
#include "image/ImageType.h"

class QImage;
class QPainter;
class QRect;

namespace verbaro {

class FCImageEffect;

class FCObjImage : public FCObjGraph {
 public:
  FCObjImage() = default;
  ~FCObjImage() override = default;

  // Releases the old content first. Fails, leaving the picture empty, for width < 1,
  // height < 1, bits per pixel other than 8, 24 and 32, or a size that cannot be allocated.
  // New pixels are zero.
  bool Create(int width, int height, int bitsPerPixel);
  void Destroy();

  bool IsValidImage() const { return m_pixels != nullptr; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  int ColorBits() const { return m_colorBits; }
  // Bytes per row: (width x bits per pixel + 31) / 32 x 4.
  int GetPitch() const { return m_pitch; }
  // Row y counted from the top (0 = top row); null outside the picture.
  uint8_t* GetBits(int y) const;
  // The pixel at (x, y), counted from the top left; null outside the picture.
  uint8_t* GetBits(int x, int y) const;
  // Start of the pixel memory (the bottom row).
  uint8_t* GetMemStart() const { return reinterpret_cast<uint8_t*>(m_pixels.get()); }
  // 256 entries for 8-bit pictures, none otherwise.
  const std::vector<QRgb>& GetColorTable() const { return m_palette; }

  // Load from a file (type from its extension) or from memory (type given). The content is
  // replaced only when a frame was decoded; on failure the old content stays. A file of several
  // frames gives its first.
  bool Load(const QString& path, FCImageProperty* property = nullptr);
  bool Load(const uint8_t* data, size_t size, ImageType type, FCImageProperty* property = nullptr);
  // The built-in picture at ":/<typeName>/<id>" (":/JPG/600"). Releases the old content first;
  // true when the picture has pixels afterwards.
  bool LoadResource(int id, const QString& typeName, ImageType type);
  // Takes one decoded frame: 32 bits with straight alpha when it has an alpha channel, else 24.
  // Releases the old content first; true when the picture has pixels afterwards.
  bool FromQImage(const QImage& frame);

  void ApplyEffect(FCImageEffect& effect);

  // Draws the whole picture stretched to dest (both directions independently, no smoothing):
  // up to 24 bits as an opaque copy, 32 bits blended source-over with premultiplied alpha.
  void Draw(QPainter& target, const QRect& dest) const;

 private:
  // The pixel memory as Qt sees it: rows in memory order, so upside down.
  QImage MemoryView() const;
  void TakeOver(FCObjImage& other);

  int m_width = 0;
  int m_height = 0;
  int m_colorBits = 0;
  int m_pitch = 0;
  // 32-bit words keep every row start 4-byte aligned, as Qt needs.
  std::unique_ptr<uint32_t[]> m_pixels;
  std::vector<uint8_t*> m_lines;  // entry 0 is the top row
  std::vector<QRgb> m_palette;
};

}  // namespace verbaro
