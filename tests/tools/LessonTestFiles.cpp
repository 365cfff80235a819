#include "LessonTestFiles.h"

#include <lame.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>

namespace verbaro::lesson::testing {

std::vector<uint8_t> ToneMp3(int milliseconds, int rate, int channels) {
  lame_global_flags* lame = lame_init();
  lame_set_in_samplerate(lame, rate);
  lame_set_out_samplerate(lame, rate);
  lame_set_num_channels(lame, channels);
  lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
  lame_set_VBR(lame, vbr_off);
  lame_set_brate(lame, 32);
  lame_set_bWriteVbrTag(lame, 0);
  lame_init_params(lame);

  const auto frames = static_cast<int>(int64_t{rate} * milliseconds / 1000);
  std::vector<int16_t> tone(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i)
    tone[static_cast<size_t>(i)] =
        static_cast<int16_t>(8000 * std::sin(2 * std::numbers::pi * 440 * i / rate));
  std::vector<uint8_t> mp3(static_cast<size_t>(frames + frames / 4 + 7200) * 2);
  int size = lame_encode_buffer(lame, tone.data(), tone.data(), frames, mp3.data(),
                                static_cast<int>(mp3.size()));
  size += lame_encode_flush(lame, mp3.data() + size, static_cast<int>(mp3.size()) - size);
  lame_close(lame);
  mp3.resize(static_cast<size_t>(std::max(size, 0)));
  return mp3;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(folder))
    names.push_back(item.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace verbaro::lesson::testing
