#pragma once
// Whole files as bytes, and the MP3 recordings of tests/fixtures/mp3.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace verbaro::test {

// Throws when the file cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& file);
// Creates or replaces the file.
void WriteFileBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);

// A recording from tests/fixtures/mp3; throws when it is missing.
std::vector<uint8_t> Mp3Fixture(const std::string& name);
// A short real recording (tone_short_44k_stereo.mp3), read once.
const std::vector<uint8_t>& ShortMp3();

}  // namespace verbaro::test
