#pragma once
// zstd frames with a limit on what they may become: a small frame that inflates to gigabytes is
// refused as soon as it passes the limit, whatever size its header declares.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace verbaro::lessonimport {

// True when the bytes start with a zstd frame's magic number.
bool IsZstdFrame(std::span<const uint8_t> bytes);

// The decompressed bytes of one or more frames, or nothing with `error` set (Russian) when the
// data is damaged or would exceed `limit` bytes.
std::optional<std::vector<uint8_t>> DecompressZstd(std::span<const uint8_t> bytes, size_t limit,
                                                   std::string& error);

}  // namespace verbaro::lessonimport
