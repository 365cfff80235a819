#include "lessonimport/Languages.h"

#include <array>
#include <utility>

#include "data/Text.h"

namespace verbaro::lessonimport {
namespace {

// The first word of a name, without the region of a tag: "fr-FR" -> "fr", "French word" ->
// "french".
std::u16string FirstWord(std::u16string_view name) {
  size_t end = 0;
  while (end < name.size() && name[end] != u' ' && name[end] != u'-' && name[end] != u'_' &&
         name[end] != u'(' && name[end] != u'/' && name[end] != u'.' && name[end] != u':')
    ++end;
  return LowerCased(name.substr(0, end));
}

constexpr std::array<std::u16string_view, 8> kFrench = {
    u"fr", u"fre", u"fra", u"french", u"français", u"francais", u"французский", u"франц"};
constexpr std::array<std::u16string_view, 7> kRussian = {u"ru",      u"rus", u"russian",  u"russe",
                                                         u"русский", u"рус", u"по-русски"};
constexpr std::array<std::u16string_view, 26> kOther = {
    u"en",      u"eng",     u"english",     u"anglais",   u"английский", u"de",
    u"deu",     u"ger",     u"german",      u"allemand",  u"немецкий",   u"es",
    u"spa",     u"spanish", u"espagnol",    u"испанский", u"it",         u"ita",
    u"italian", u"italien", u"итальянский", u"uk",        u"ukrainian",  u"украинский",
    u"pl",      u"polish"};

template <size_t N>
bool Names(const std::array<std::u16string_view, N>& names, std::u16string_view word) {
  for (std::u16string_view name : names)
    if (word == name) return true;
  return false;
}

bool IsCyrillic(char32_t c) { return c >= 0x400 && c <= 0x4FF; }
bool IsLatin(char32_t c) {
  return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') ||
         (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
}

}  // namespace

std::u16string LowerCased(std::u16string_view text) {
  std::u16string lowered(text);
  for (char16_t& c : lowered) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
      c = static_cast<char16_t>(c + 32);
    else if (c >= 0x410 && c <= 0x42F) c = static_cast<char16_t>(c + 32);
    else if (c >= 0x400 && c <= 0x40F) c = static_cast<char16_t>(c + 80);
  }
  return lowered;
}

std::string LowerCased(std::string_view text) { return ToUtf8(LowerCased(FromUtf8(text))); }

Language LanguageOfName(std::string_view name) {
  const std::u16string word = FirstWord(FromUtf8(name));
  if (word.empty()) return Language::Unknown;
  if (Names(kFrench, word)) return Language::French;
  if (Names(kRussian, word)) return Language::Russian;
  if (Names(kOther, word)) return Language::Other;
  return Language::Unknown;
}

Language LanguageOfTexts(const std::vector<std::string_view>& texts) {
  size_t cyrillic = 0;
  size_t latin = 0;
  for (std::string_view text : texts) {
    const std::u16string units = FromUtf8(text);
    for (size_t i = 0; i < units.size(); ++i) {
      char32_t c = units[i];
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size()) {
        c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
        ++i;
      }
      if (IsCyrillic(c)) ++cyrillic;
      else if (IsLatin(c)) ++latin;
    }
  }
  if (cyrillic == 0 && latin == 0) return Language::Unknown;
  return cyrillic > latin ? Language::Russian : Language::French;
}

std::string DescribeLanguage(Language language, std::string_view name) {
  switch (language) {
    case Language::French: return "французский";
    case Language::Russian: return "русский";
    case Language::Other:
    case Language::Unknown: break;
  }
  return name.empty() ? std::string("без названия") : "«" + std::string(name) + "»";
}

}  // namespace verbaro::lessonimport
