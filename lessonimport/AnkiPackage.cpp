#include "lessonimport/AnkiPackage.h"

#include <algorithm>
#include <map>

#include "data/Text.h"
#include "lessonimport/AnkiCollection.h"
#include "lessonimport/AnkiMedia.h"
#include "lessonimport/ClozeText.h"
#include "lessonimport/MarkupText.h"
#include "lessonimport/ProtobufReader.h"
#include "lessonimport/SizeText.h"
#include "lessonimport/ZipArchive.h"
#include "lessonimport/Zstd.h"

namespace verbaro::lessonimport {
namespace {

// No deck of words comes near this; a larger collection is refused before it fills the memory.
constexpr size_t kMaxCollectionBytes = 512 * 1024 * 1024;
constexpr size_t kMaxMetaBytes = 64 * 1024;
constexpr size_t kMaxMediaListBytes = 64 * 1024 * 1024;
// A field this long is not reduced at all: it cannot hold a word whatever its markup.
constexpr size_t kMaxFieldMarkupBytes = 256 * kMaxCellBytes;
// Every note has a cell per column: a package whose note types name thousands of fields would
// multiply its notes' size by as much. No deck of words comes near this.
constexpr size_t kMaxColumns = 256;

// The collection files by format, newest first. A package of the current format also carries a
// `collection.anki2` whose one note asks to update Anki: it is read only when nothing newer is.
enum class Version { Unknown = 0, Legacy1 = 1, Legacy2 = 2, Latest = 3 };
constexpr const char* kLatestCollection = "collection.anki21b";
constexpr const char* kLegacy2Collection = "collection.anki21";
constexpr const char* kLegacy1Collection = "collection.anki2";

std::optional<Version> ReadVersion(const ZipArchive& archive, std::string& error) {
  if (!archive.Has("meta")) return Version::Unknown;
  auto meta = archive.Read("meta", kMaxMetaBytes, error);
  if (!meta) return std::nullopt;
  ProtobufReader reader(*meta);
  ProtobufField field;
  uint64_t version = 0;
  while (reader.Next(field))
    if (field.number == 1 && !field.isBytes) version = field.value;
  if (reader.Damaged()) {
    error = "описание пакета (meta) повреждено";
    return std::nullopt;
  }
  if (version > 3) {
    error = "пакет записан более новой версией Anki (формат " + std::to_string(version) +
            "); экспортируйте колоду заново, отметив поддержку старых версий Anki";
    return std::nullopt;
  }
  return static_cast<Version>(version);
}

std::optional<std::vector<uint8_t>> ReadCollection(const ZipArchive& archive, Version version,
                                                   std::string& error) {
  std::string member;
  switch (version) {
    case Version::Latest: member = kLatestCollection; break;
    case Version::Legacy2: member = kLegacy2Collection; break;
    case Version::Legacy1: member = kLegacy1Collection; break;
    case Version::Unknown:
      for (const char* candidate : {kLatestCollection, kLegacy2Collection, kLegacy1Collection})
        if (archive.Has(candidate)) {
          member = candidate;
          break;
        }
      break;
  }
  if (member.empty() || !archive.Has(member)) {
    error = member.empty()
                ? "в пакете нет коллекции Anki (collection.anki21b, collection.anki21 или "
                  "collection.anki2)"
                : "в пакете нет коллекции «" + member + "», которую называет его описание";
    return std::nullopt;
  }
  std::string why;
  auto bytes = archive.Read(member, kMaxCollectionBytes, why);
  if (bytes && member == kLatestCollection) {
    if (!IsZstdFrame(*bytes)) {
      error = "коллекция в пакете повреждена: она не сжата zstd, как в этом формате";
      return std::nullopt;
    }
    bytes = DecompressZstd(*bytes, kMaxCollectionBytes, why);
  }
  if (!bytes) error = "коллекция в пакете не читается: " + why;
  return bytes;
}

std::vector<std::string> SplitTags(std::string_view tags) {
  std::vector<std::string> split;
  size_t start = 0;
  while (start < tags.size()) {
    const size_t end = std::min(tags.find_first_of(" \t\n\r", start), tags.size());
    if (end > start) split.emplace_back(tags.substr(start, end - start));
    start = end + 1;
  }
  return split;
}

std::vector<std::string_view> SplitFields(std::string_view fields) {
  std::vector<std::string_view> split;
  size_t start = 0;
  while (true) {
    const size_t end = fields.find('\x1f', start);
    split.push_back(
        fields.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return split;
    start = end + 1;
  }
}

// Fills the Source note by note; a note type's fields go to the columns of their names, the
// first note of a type adding the names not seen before.
class NoteReader {
 public:
  NoteReader(const std::map<int64_t, AnkiNoteType>& types, Source& source)
      : m_types(types), m_source(source) {}

  void Add(const AnkiNoteRow& row) {
    const std::string place = "заметка " + std::to_string(++m_count);
    const auto type = m_types.find(row.typeId);
    if (type == m_types.end() || type->second.fields.empty()) {
      m_source.problems.push_back(place + ": тип заметки не найден в коллекции");
      return;
    }
    const std::optional<std::vector<size_t>>& columns = ColumnsOf(row.typeId, type->second);
    if (!columns) {
      m_source.problems.push_back(place + ": с полями типа «" + type->second.name +
                                  "» в пакете больше " + std::to_string(kMaxColumns) +
                                  " разных полей");
      return;
    }
    const std::vector<std::string_view> fields = SplitFields(row.fields);
    SourceNote note;
    note.place = place;
    note.cells.resize(m_source.columns.size());
    note.sounds.resize(m_source.columns.size());
    for (size_t i = 0; i < fields.size(); ++i) {
      if (i >= columns->size()) {
        if (ReduceMarkup(fields[i]).text.empty()) continue;
        m_source.problems.push_back(place + ": полей больше, чем в типе заметки «" +
                                    type->second.name + "»");
        return;
      }
      const std::string& name = type->second.fields[i];
      if (!IsValidUtf8(fields[i])) {
        m_source.problems.push_back(place + ": поле «" + name + "» не в кодировке UTF-8");
        return;
      }
      MarkupText cell;
      if (fields[i].size() <= kMaxFieldMarkupBytes)
        cell = ReduceMarkup(type->second.cloze ? std::string_view(FillClozeGaps(fields[i]))
                                               : fields[i]);
      if (fields[i].size() > kMaxFieldMarkupBytes || cell.text.size() > kMaxCellBytes) {
        m_source.problems.push_back(place + ": поле «" + name + "» длиннее " +
                                    SizeText(kMaxCellBytes));
        return;
      }
      note.cells[(*columns)[i]] = std::move(cell.text);
      if (!cell.sounds.empty()) {
        note.sounds[(*columns)[i]] = cell.sounds.front();
        m_anySound = true;
      }
    }
    note.tags = SplitTags(row.tags);
    m_source.notes.push_back(std::move(note));
  }

  // Every note with a cell for every column, including the columns of types met after it.
  void Finish() {
    for (SourceNote& note : m_source.notes) {
      note.cells.resize(m_source.columns.size());
      note.sounds.resize(m_source.columns.size());
    }
  }

  bool AnySound() const { return m_anySound; }

 private:
  // The columns of a type's fields, or nothing when they would be too many.
  const std::optional<std::vector<size_t>>& ColumnsOf(int64_t typeId, const AnkiNoteType& type) {
    auto known = m_columnsOfType.find(typeId);
    if (known != m_columnsOfType.end()) return known->second;
    std::vector<size_t> columns;
    std::vector<std::string> added;
    for (const std::string& name : type.fields) {
      size_t column = 0;
      while (column < m_source.columns.size() && m_source.columns[column].name != name) ++column;
      if (column == m_source.columns.size()) {
        const auto earlier = std::find(added.begin(), added.end(), name);
        column = m_source.columns.size() + static_cast<size_t>(earlier - added.begin());
        if (earlier == added.end()) added.push_back(name);
      }
      columns.push_back(column);
    }
    std::optional<std::vector<size_t>> result;
    if (m_source.columns.size() + added.size() <= kMaxColumns) {
      for (std::string& name : added)
        m_source.columns.push_back(SourceColumn{std::move(name), "", ColumnKind::Text});
      result = std::move(columns);
    }
    return m_columnsOfType.emplace(typeId, std::move(result)).first->second;
  }

  const std::map<int64_t, AnkiNoteType>& m_types;
  Source& m_source;
  std::map<int64_t, std::optional<std::vector<size_t>>> m_columnsOfType;
  size_t m_count = 0;
  bool m_anySound = false;
};

}  // namespace

std::optional<Source> ReadAnkiPackage(const std::filesystem::path& package, std::string& error) {
  std::shared_ptr<const ZipArchive> archive = ZipArchive::Open(package, error);
  if (!archive) return std::nullopt;
  const std::optional<Version> version = ReadVersion(*archive, error);
  if (!version) return std::nullopt;
  std::optional<std::vector<uint8_t>> database = ReadCollection(*archive, *version, error);
  if (!database) return std::nullopt;
  std::unique_ptr<AnkiCollection> collection = AnkiCollection::Open(std::move(*database), error);
  if (!collection) return std::nullopt;

  Source source;
  source.format = "Anki";
  NoteReader reader(collection->NoteTypes(), source);
  if (!collection->ForEachNote([&](const AnkiNoteRow& row) { reader.Add(row); }, error))
    return std::nullopt;
  reader.Finish();
  if (source.notes.empty() && source.problems.empty()) {
    error = "в пакете нет ни одной заметки";
    return std::nullopt;
  }

  if (reader.AnySound()) {
    AnkiMediaList list;
    if (archive->Has("media")) {
      std::string why;
      auto bytes = archive->Read("media", kMaxMediaListBytes, why);
      auto parsed = bytes ? ParseAnkiMediaList(*bytes, error) : std::nullopt;
      if (!bytes) error = "список аудиофайлов пакета не читается: " + why;
      if (!parsed) return std::nullopt;
      list = std::move(*parsed);
    }
    source.media = std::make_unique<AnkiMedia>(archive, std::move(list));
  }
  return source;
}

}  // namespace verbaro::lessonimport
