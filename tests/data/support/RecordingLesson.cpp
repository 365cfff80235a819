#include "RecordingLesson.h"

#include <vector>

namespace verbaro::test {

WordsData Record(std::u16string gram, std::u16string number, std::u16string key,
                 std::initializer_list<std::u16string> answers, int recordingSize) {
  WordsData record;
  record.vpMp3Word.push_back(Mp3Recording::Held(
      std::vector<uint8_t>(static_cast<size_t>(recordingSize), static_cast<uint8_t>(key.size()))));
  record.nvMp3WordSize.push_back(recordingSize);
  record.wsFrGram = std::move(gram);
  record.wsFrNumber = std::move(number);
  record.wsKeyWord = std::move(key);
  record.vwsAltWords = answers;
  record.vnWordErrors.assign(record.vwsAltWords.size(), 0);
  return record;
}

}  // namespace verbaro::test
