#include "AudioFiles.h"

#include <cstdlib>
#include <stdexcept>

#include "tests/support/Files.h"

namespace verbaro::lessonimport::testing {

void RunCommand(const std::string& command) {
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
    throw std::runtime_error("command failed: " + command);
}

std::filesystem::path SoxTone(const std::filesystem::path& file, double seconds,
                              const std::string& soxOptions) {
  // sox makes 32-bit samples of a synthesised sound unless told otherwise; files are 16-bit.
  const std::string bits = soxOptions.find("-b ") == std::string::npos ? " -b 16" : "";
  RunCommand("sox -n " + soxOptions + bits + " '" + file.string() + "' synth " +
             std::to_string(seconds) + " sine 440 vol 0.5");
  return file;
}

std::vector<uint8_t> Bytes(const std::filesystem::path& file) { return test::ReadFileBytes(file); }

double CrossingsPerSecond(const std::vector<int16_t>& stereo) {
  // A crossing is counted from clearly below zero to clearly above and back, and the rate is
  // taken between the first crossing and the last, so that the quiet start and end that encoders
  // add count neither as crossings nor as time.
  constexpr int kThreshold = 2000;
  int side = 0;
  size_t crossings = 0, first = 0, last = 0;
  for (size_t i = 0; i < stereo.size() / 2; ++i) {
    const int sample = stereo[2 * i];
    const int now = sample > kThreshold ? 1 : sample < -kThreshold ? -1 : side;
    if (side != 0 && now != side) {
      if (crossings++ == 0) first = i;
      last = i;
    }
    side = now;
  }
  if (crossings < 2) return 0;
  return static_cast<double>(crossings - 1) * 44100.0 / static_cast<double>(last - first);
}

}  // namespace verbaro::lessonimport::testing
