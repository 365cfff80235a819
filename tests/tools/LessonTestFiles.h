#pragma once
// Files the lesson tool tests work on, beside the shared scratch folders and lesson writer:
// small real MP3 recordings, and what a folder or file holds afterwards.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace verbaro::lesson::testing {

// A tone of the given length as MP3 at the given rate and channel count (LAME, CBR).
std::vector<uint8_t> ToneMp3(int milliseconds, int rate, int channels);

std::string ReadBytes(const std::filesystem::path& path);
std::vector<std::string> FilesIn(const std::filesystem::path& folder);

}  // namespace verbaro::lesson::testing
