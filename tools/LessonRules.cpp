#include "tools/LessonRules.h"

#include <map>

namespace verbaro::lesson {
namespace {

bool Begins(const std::u16string& text, std::u16string_view prefix) { return text.starts_with(prefix); }

// The filter names and the fine group each entry lands in, exactly as the trainer files them
// in a Conspect or Video view.
struct Placement {
  std::vector<std::u16string_view> names;
  std::u16string_view group;
};

Placement Place(const EntryText& entry) {
  const std::u16string& gram = entry.grammar;
  const bool singular = Begins(entry.number, u"s");
  const bool plural = Begins(entry.number, u"p");
  Placement place;
  place.names.push_back(u"&0 - Все слова и фразы");

  const bool noun = !Begins(gram, u"num") && (Begins(gram, u"m") || Begins(gram, u"f") || Begins(gram, u"n"));
  const auto byNumber = [&](std::u16string_view all, std::u16string_view one, std::u16string_view oneKey,
                            std::u16string_view many, std::u16string_view manyKey) {
    place.names.push_back(all);
    if (singular) {
      place.names.push_back(one), place.group = oneKey;
    } else if (plural) {
      place.names.push_back(many), place.group = manyKey;
    } else {
      place.names.push_back(u"&z - Прочее"), place.group = u"others";
    }
  };

  if (noun) {
    place.names.push_back(u"&1 - Все существительные");
    if (Begins(gram, u"m")) {
      byNumber(u"&2 - Все мужские существительные", u"&3 - Мужские существительные, ед.ч.", u"m,s",
               u"&4 - Мужские существительные, мн.ч.", u"m,p");
    } else if (!Begins(gram, u"f")) {
      byNumber(u"&8 - Все нейтральные существительные", u"&9 - Нейтральные существительные, ед.ч.",
               u"n,s", u"&a - Нейтральные существительные, мн.ч.", u"n,p");
    } else {
      byNumber(u"&5 - Все женские существительные", u"&6 - Женские существительные, ед.ч.", u"f,s",
               u"&7 - Женские существительные, мн.ч.", u"f,p");
    }
  } else if (Begins(gram, u"adj")) {
    place.names.push_back(u"&b - Все прилагательные");
    if (Begins(gram, u"adj,f")) {
      place.names.push_back(u"c - Женские прилагательные"), place.group = u"adj,f";
    } else if (Begins(gram, u"adj,m")) {
      place.names.push_back(u"&d - Мужские прилагательные"), place.group = u"adj,m";
    } else {
      place.names.push_back(u"&z - Прочее"), place.group = u"others";
    }
  } else if (Begins(gram, u"adv")) {
    place.names.push_back(u"&e - Наречия"), place.group = u"adv";
  } else if (Begins(gram, u"num")) {
    place.names.push_back(u"&f - Числительные"), place.group = u"num";
  } else if (Begins(gram, u"v")) {
    place.names.push_back(u"&g - Глаголы"), place.group = u"v";
  } else if (Begins(gram, u"~") && !Begins(gram, u"~~")) {
    place.names.push_back(u"&h - Фразы"), place.group = u"~";
  } else {
    place.names.push_back(u"&z - Прочее"), place.group = u"others";
  }
  return place;
}

}  // namespace

std::u16string NumberSuffix(const std::u16string& number) {
  if (number == u"p") return u",p";
  if (number == u"s") return u",s";
  return {};
}

std::u16string GroupKey(const EntryText& entry) { return entry.grammar + NumberSuffix(entry.number); }

std::u16string ExtendedKey(const std::u16string& text, const EntryText& entry) {
  return text + u", " + GroupKey(entry);
}

bool IsLeftOutOfReversal(const EntryText& entry) { return entry.grammar == u"~~"; }

std::u16string FilterGroupKey(const EntryText& entry) { return std::u16string(Place(entry).group); }

std::vector<FilterCount> CountFilters(const std::vector<EntryText>& entries) {
  std::map<std::u16string, size_t> counts;  // code-unit order, as the menu is built
  for (const EntryText& entry : entries) {
    for (std::u16string_view name : Place(entry).names) ++counts[std::u16string(name)];
  }
  std::vector<FilterCount> filters;
  for (const auto& [name, count] : counts) filters.push_back({name, count});
  return filters;
}

std::vector<EntryText> ReverseEntries(const std::vector<EntryText>& entries) {
  std::map<std::u16string, EntryText> byKey;
  for (const EntryText& entry : entries) {
    if (IsLeftOutOfReversal(entry)) continue;
    for (const std::u16string& translation : entry.translations) {
      auto [it, isNew] = byKey.try_emplace(ExtendedKey(translation, entry));
      if (isNew) {
        it->second.entryNumber = entry.entryNumber;
        it->second.grammar = entry.grammar;
        it->second.number = entry.number;
        it->second.word = translation;
      }
      it->second.translations.push_back(entry.word);
    }
  }
  std::vector<EntryText> reversed;
  for (auto& [key, entry] : byKey) reversed.push_back(std::move(entry));
  return reversed;
}

std::vector<MergeOverflow> FindMergeOverflows(const std::vector<EntryText>& entries) {
  // Key -> (answers gathered, entries that gave them), for each direction of merging.
  std::map<std::u16string, MergeOverflow> byTranslation;
  std::map<std::u16string, MergeOverflow> byWord;
  const auto add = [](MergeOverflow& merge, int entryNumber, size_t answers) {
    merge.answers += answers;
    if (merge.entryNumbers.empty() || merge.entryNumbers.back() != entryNumber)
      merge.entryNumbers.push_back(entryNumber);
  };
  for (const EntryText& entry : entries) {
    if (IsLeftOutOfReversal(entry)) continue;
    for (const std::u16string& translation : entry.translations)
      add(byTranslation[ExtendedKey(translation, entry)], entry.entryNumber, 1);
    if (!entry.translations.empty())
      add(byWord[ExtendedKey(entry.word, entry)], entry.entryNumber, entry.translations.size());
  }

  std::vector<MergeOverflow> overflows;
  for (auto* merges : {&byTranslation, &byWord}) {
    for (auto& [key, merge] : *merges) {
      if (merge.answers <= kMaxAnswers) continue;
      merge.reversed = merges == &byTranslation;
      merge.key = key;
      overflows.push_back(merge);
    }
  }
  return overflows;
}

std::vector<const EntryText*> FindUnaskableEntries(const std::vector<EntryText>& entries) {
  std::vector<const EntryText*> unaskable;
  for (const EntryText& entry : entries) {
    if (!IsLeftOutOfReversal(entry) && GroupKey(entry) != FilterGroupKey(entry))
      unaskable.push_back(&entry);
  }
  return unaskable;
}

}  // namespace verbaro::lesson
