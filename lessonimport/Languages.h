#pragma once
// Which language a column of a source is in: by what the source calls it (a KVTML locale, an
// Anki field name, a CSV heading), else by the letters of its texts.
#include <string>
#include <string_view>
#include <vector>

namespace verbaro::lessonimport {

enum class Language { Unknown, French, Russian, Other };

// A language tag ("fr", "fr-FR", "ru_RU") or a name in English, French or Russian ("French",
// "Français", "Французский", "Russe", "Русский"), in any case, alone or as the first word of a
// longer name ("French word", "Русский перевод"). Other when it names another language (English,
// German, Spanish...), Unknown when it names none.
Language LanguageOfName(std::string_view name);

// By the letters of the texts: Russian when Cyrillic letters are the most, French when Latin
// letters are (accents included), Unknown when the texts have no letters.
Language LanguageOfTexts(const std::vector<std::string_view>& texts);

// Lower case for ASCII and the Latin-1 and Cyrillic letters, the ones names and tags of
// French and Russian sources use; other characters stay as they are.
std::u16string LowerCased(std::u16string_view text);
std::string LowerCased(std::string_view text);

// "французский", "русский" or the name as given, for messages.
std::string DescribeLanguage(Language language, std::string_view name);

}  // namespace verbaro::lessonimport
