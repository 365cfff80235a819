#pragma once
// What a source of words holds (an Anki package, a KVTML file, a CSV or TSV table) before it is
// decided which side is French: columns with what the source says of them, and notes with a
// plain text per column, the recording each cell refers to and the note's tags. Each reader
// fills one of these; the importer maps it onto lesson entries.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace verbaro::lessonimport {

// A text cell longer than this is not a word or a phrase: the note is skipped, not truncated.
inline constexpr size_t kMaxCellBytes = 64 * 1024;
// No recording of a word is this big; a larger media file is refused before it is read.
inline constexpr size_t kMaxMediaBytes = 32 * 1024 * 1024;

// What a column holds, where the format says it (KVTML); the columns of Anki and CSV are Text,
// and the importer recognises the others by their names.
enum class ColumnKind {
  Text,           // a word, a phrase or translations
  Transcription,  // pronunciation of the column's language
  Comment,
  Example,
  Grammar,  // lesson grammar codes already ("m", "f", "n", "v", "adj,m", "adv", "~")
  Number,   // lesson number codes already ("s", "p" or empty)
};

struct SourceColumn {
  std::string name;      // as the source names it: "Front", "Français", "Russian", "2"
  std::string language;  // the source's language tag or name, empty when it gives none:
                         // "fr", "fr-FR", "French", "Русский"
  ColumnKind kind = ColumnKind::Text;
};

struct SourceNote {
  std::string place;  // where it is, for messages: "строка 12", "заметка 7"
  std::vector<std::string> cells;   // one per column: UTF-8 plain text, markup and sound
                                    // references removed; '\n' separates meanings
  std::vector<std::string> sounds;  // one per column: the recording the cell referred to (a
                                    // media name or a path as the source wrote it), or empty
  std::vector<std::string> tags;
};

// The recordings a source refers to. Reading one never reaches outside the source: a name with
// "..", an absolute path where the format forbids it, a missing file or one over the limit is
// refused with the reason.
class SourceMedia {
 public:
  virtual ~SourceMedia() = default;
  // The bytes of `reference` (as in SourceNote::sounds), or nothing with `error` set (Russian).
  virtual std::optional<std::vector<uint8_t>> Read(const std::string& reference,
                                                   std::string& error) const = 0;
};

struct Source {
  std::string format;  // for the report: "Anki", "KVTML", "CSV", "TSV"
  std::vector<SourceColumn> columns;
  std::vector<SourceNote> notes;  // each with exactly columns.size() cells and sounds
  // Notes or lines that could not be read at all, each with its place: "строка 7: ...".
  std::vector<std::string> problems;
  std::unique_ptr<SourceMedia> media;  // null when the source refers to no recordings
};

}  // namespace verbaro::lessonimport
