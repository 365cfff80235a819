#include "data/WordsData.h"

namespace verbaro {

std::u16string NumberSuffix(const std::u16string& wsFrNumber) {
  if (wsFrNumber == u"p") return u",p";
  if (wsFrNumber == u"s") return u",s";
  return {};
}

std::u16string GroupKey(const WordsData& record) {
  return record.wsFrGram + NumberSuffix(record.wsFrNumber);
}

std::u16string ExtendedKey(const std::u16string& text, const WordsData& record) {
  return text + u", " + GroupKey(record);
}

}  // namespace verbaro
