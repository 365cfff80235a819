#include "AudioFiles.h"

#include <cstdlib>
#include <stdexcept>

#include "tests/support/Files.h"

namespace verbaro::lessonimport::testing {

void RunCommand(const std::string& command) {
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
    throw std::runtime_error("command failed: " + command);
}

std::filesystem::path SoxTone(const std::filesystem::path& file, double seconds, const std::string& soxOptions) {
  // sox makes 32-bit samples of a synthesised sound unless told otherwise; files are 16-bit.
  const std::string bits = soxOptions.find("-b ") == std::string::npos ? " -b 16" : "";
  RunCommand("sox -n " + soxOptions + bits + " '" + file.string() + "' synth " + std::to_string(seconds) +
      " sine 440 vol 0.5");
  return file;
}

std::vector<uint8_t> Bytes(const std::filesystem::path& file) { return test::ReadFileBytes(file); }

double CrossingsPerSecond(const std::vector<int16_t>& stereo) {
  const size_t frames = stereo.size() / 2;
  if (frames < 2) return 0;
  size_t crossings = 0;
  for (size_t i = 1; i < frames; ++i)
    if ((stereo[2 * (i - 1)] < 0) != (stereo[2 * i] < 0)) ++crossings;
  return static_cast<double>(crossings) * 44100.0 / static_cast<double>(frames);
}

}  // namespace verbaro::lessonimport::testing
