#include "lessonimport/Zstd.h"

#include <zstd.h>

#include <memory>

#include "lessonimport/SizeText.h"

namespace verbaro::lessonimport {
namespace {

struct DContextFree {
  void operator()(ZSTD_DCtx* context) const { ZSTD_freeDCtx(context); }
};

// A window larger than this (128 MiB, zstd's own default limit) is refused before any memory
// is taken for it.
constexpr int kWindowLogMax = 27;

}  // namespace

bool IsZstdFrame(std::span<const uint8_t> bytes) {
  return bytes.size() >= 4 && bytes[0] == 0x28 && bytes[1] == 0xB5 && bytes[2] == 0x2F &&
         bytes[3] == 0xFD;
}

std::optional<std::vector<uint8_t>> DecompressZstd(std::span<const uint8_t> bytes, size_t limit,
                                                   std::string& error) {
  std::unique_ptr<ZSTD_DCtx, DContextFree> context(ZSTD_createDCtx());
  if (!context ||
      ZSTD_isError(ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax, kWindowLogMax))) {
    error = "не хватает памяти для распаковки zstd";
    return std::nullopt;
  }
  std::vector<uint8_t> out;
  // Grows as the data comes, never past the limit plus one chunk.
  const size_t chunk = ZSTD_DStreamOutSize();
  // Room for what the first frame declares, when it declares a size within the limit.
  const unsigned long long declared = ZSTD_getFrameContentSize(bytes.data(), bytes.size());
  if (declared != ZSTD_CONTENTSIZE_UNKNOWN && declared != ZSTD_CONTENTSIZE_ERROR &&
      declared <= limit)
    out.reserve(static_cast<size_t>(declared) + chunk);
  ZSTD_inBuffer input{bytes.data(), bytes.size(), 0};
  while (true) {
    const size_t used = out.size();
    out.resize(used + chunk);
    ZSTD_outBuffer output{out.data() + used, chunk, 0};
    const size_t result = ZSTD_decompressStream(context.get(), &output, &input);
    out.resize(used + output.pos);
    if (ZSTD_isError(result)) {
      error = std::string("данные zstd повреждены (") + ZSTD_getErrorName(result) + ")";
      return std::nullopt;
    }
    if (out.size() > limit) {
      error = "распакованные данные больше " + SizeText(limit);
      return std::nullopt;
    }
    const bool inputRead = input.pos == input.size;
    if (result == 0 && inputRead) break;  // the last frame ends with the input
    // The decoder wants more and has room to write: the data stops in the middle of a frame.
    if (inputRead && output.pos < chunk) {
      error = "данные zstd обрываются на середине";
      return std::nullopt;
    }
  }
  return out;
}

}  // namespace verbaro::lessonimport
