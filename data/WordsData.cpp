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
  static constexpr std::u16string_view kSeparator = u", ";
  const std::u16string suffix = NumberSuffix(record.wsFrNumber);
  std::u16string key;
  key.reserve(text.size() + kSeparator.size() + record.wsFrGram.size() + suffix.size());
  key.append(text).append(kSeparator).append(record.wsFrGram).append(suffix);  // built in place
  return key;
}

}  // namespace verbaro
