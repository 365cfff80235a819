#include "Files.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace verbaro::test {

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<uint8_t> Mp3Fixture(const std::string& name) {
  return ReadFileBytes(std::filesystem::path(VERBARO_TEST_FIXTURES) / "mp3" / name);
}

const std::vector<uint8_t>& ShortMp3() {
  static const std::vector<uint8_t> mp3 = Mp3Fixture("tone_short_44k_stereo.mp3");
  return mp3;
}

}  // namespace verbaro::test
