#pragma once
// What a decoder tells about a picture besides its pixels. Gathered at every load, read by no
// one in the program; kept so that a load yields the whole result of the decoder.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace verbaro {

struct FCImageProperty {
  // One delay per frame of an animation, in milliseconds (a delay of 0 is read as 100).
  std::vector<int32_t> m_listFrameDelay;
  std::string m_strEquipMake;
  std::string m_strEquipModel;
  std::string m_strDateTimeTaken;
  // Every other text item the decoder gives, as (key, UTF-8 value).
  std::vector<std::pair<std::string, std::string>> m_listOtherText;

  void Clear() { *this = FCImageProperty(); }
};

}  // namespace verbaro
