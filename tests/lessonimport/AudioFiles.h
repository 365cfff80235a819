#pragma once
// Audio files for the import tests, made by the command-line encoders of their formats (sox,
// flac, oggenc, opusenc, lame) in a scratch folder, so that what is read was written by other
// programs than ours.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace verbaro::lessonimport::testing {

// Runs the shell command; throws with the command when it fails.
void RunCommand(const std::string& command);

// A 440 Hz tone of `seconds` written to `file` by sox; `soxOptions` are the output's options,
// e.g. "-r 8000 -c 1" (rate and channels), 16-bit unless they say; the file's extension gives
// the format.
std::filesystem::path SoxTone(const std::filesystem::path& file, double seconds,
                              const std::string& soxOptions);

std::vector<uint8_t> Bytes(const std::filesystem::path& file);

// Zero crossings per second of the first channel of 44.1 kHz stereo PCM where it sounds: twice
// the pitch of a pure tone.
double CrossingsPerSecond(const std::vector<int16_t>& stereo);

}  // namespace verbaro::lessonimport::testing
