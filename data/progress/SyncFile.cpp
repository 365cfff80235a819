#include "data/progress/SyncFile.h"

#include <array>
#include <cstdint>
#include <utility>

#include "data/progress/MachineIdentity.h"

namespace verbaro::progress {

namespace {

constexpr std::string_view kMagic = "VERBSYNC";
constexpr size_t kHeaderSize = 8 + 1 + 8;
constexpr size_t kCheckSize = 4;

class Writer {
 public:
  void Unsigned(uint64_t value) {
    while (value >= 0x80) {
      m_bytes.push_back(static_cast<char>((value & 0x7F) | 0x80));
      value >>= 7;
    }
    m_bytes.push_back(static_cast<char>(value));
  }
  // Small negative numbers stay short (a clock before 1970, a day before it).
  void Signed(int64_t value) {
    Unsigned((static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63));
  }
  void Fixed(uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) m_bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
  void Bytes(std::string_view text) {
    Unsigned(text.size());
    m_bytes.append(text);
  }
  void Text(std::u16string_view text) {
    Unsigned(text.size());
    for (const char16_t unit : text) Fixed(unit, 2);
  }
  std::string& Data() { return m_bytes; }

 private:
  std::string m_bytes;
};

// Reads the body; every count and index is checked against what is left and what it names, so
// that no damaged or hostile file makes a large allocation or reads out of bounds.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : m_bytes(bytes) {}
  bool Ok() const { return m_ok; }
  bool AtEnd() const { return m_pos == m_bytes.size(); }

  uint64_t Unsigned() {
    uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (m_pos >= m_bytes.size()) return Fail();
      const auto byte = static_cast<uint8_t>(m_bytes[m_pos++]);
      value |= static_cast<uint64_t>(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) return value;
    }
    return Fail();
  }
  int64_t Signed() {
    const uint64_t value = Unsigned();
    return static_cast<int64_t>(value >> 1) ^ -static_cast<int64_t>(value & 1);
  }
  // A number that must lie in [low, high].
  int64_t Ranged(int64_t low, int64_t high) {
    const int64_t value = Signed();
    if (value < low || value > high) return Fail();
    return value;
  }
  // A count of items that take at least `each` bytes each.
  size_t Count(size_t each) {
    const uint64_t count = Unsigned();
    if (count > (m_bytes.size() - m_pos) / each) return Fail();
    return static_cast<size_t>(count);
  }
  uint32_t Index(size_t size) {
    const uint64_t index = Unsigned();
    if (index >= size) return Fail();
    return static_cast<uint32_t>(index);
  }
  std::string Bytes() {
    const size_t size = Count(1);
    if (!m_ok) return {};
    std::string text(m_bytes.substr(m_pos, size));
    m_pos += size;
    return text;
  }
  std::u16string Text() {
    const size_t size = Count(2);
    std::u16string text;
    if (!m_ok) return text;
    text.reserve(size);
    for (size_t i = 0; i < size; ++i, m_pos += 2) {
      text.push_back(static_cast<char16_t>(static_cast<uint8_t>(m_bytes[m_pos]) |
                                           static_cast<uint8_t>(m_bytes[m_pos + 1]) << 8));
    }
    return text;
  }

 private:
  uint64_t Fail() {
    m_ok = false;
    m_pos = m_bytes.size();
    return 0;
  }
  std::string_view m_bytes;
  size_t m_pos = 0;
  bool m_ok = true;
};

uint64_t ReadFixed(std::string_view bytes, size_t at, int size) {
  uint64_t value = 0;
  for (int i = 0; i < size; ++i) {
    value |= static_cast<uint64_t>(static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]))
             << (8 * i);
  }
  return value;
}

void WriteMachine(Writer& out, const SyncJournal& journal) {
  out.Bytes(journal.machineId);
  out.Bytes(journal.machineName);
  out.Signed(journal.writtenAt);
}

void WriteBody(Writer& out, const SyncJournal& journal) {
  WriteMachine(out, journal);
  out.Unsigned(journal.origins.size());
  for (const std::string& origin : journal.origins) out.Bytes(origin);
  out.Unsigned(journal.entries.size());
  for (const EntryKey& key : journal.entries) {
    out.Text(key.word);
    out.Text(key.gram);
    out.Text(key.number);
    out.Signed(key.occurrence);
  }
  out.Unsigned(journal.lessons.size());
  for (const JournalLesson& lesson : journal.lessons) {
    out.Unsigned(lesson.entries.size());
    for (const uint32_t entry : lesson.entries) out.Unsigned(entry);
  }
  out.Unsigned(journal.answers.size());
  for (const JournalAnswer& a : journal.answers) {
    out.Unsigned(a.origin);
    out.Signed(a.seq);
    out.Signed(a.at);
    out.Signed(a.day);
    out.Unsigned(a.lesson);
    out.Unsigned(a.entry);
    out.Signed(a.direction);
    out.Signed(a.kind);
    out.Signed(a.grade);
    out.Signed(a.wrongKeystrokes);
    out.Signed(a.milliseconds);
    out.Signed(a.typedOn);
    out.Signed(a.eventFirst ? 1 : 0);
    out.Unsigned(a.misses.size());
    for (const MissedCharacter& miss : a.misses) {
      out.Text(miss.expected);
      out.Text(miss.typed);
    }
  }
  out.Unsigned(journal.exams.size());
  for (const JournalExam& e : journal.exams) {
    out.Unsigned(e.origin);
    out.Signed(e.seq);
    out.Signed(e.at);
    out.Unsigned(e.lesson);
    out.Signed(IndexOf(e.result.mode));
    out.Signed(static_cast<int>(e.result.filter.kind));
    out.Signed(e.result.filter.index);
    out.Text(e.result.filterName);
    out.Signed(e.result.right);
    out.Signed(e.result.wrong);
    out.Signed(e.result.hints);
  }
}

constexpr int64_t kIntMax = 0x7FFFFFFF;

bool ReadMachine(Reader& in, SyncJournal& journal) {
  journal.machineId = in.Bytes();
  journal.machineName = in.Bytes();
  journal.writtenAt = in.Signed();
  return in.Ok() && IsMachineId(journal.machineId);
}

bool ReadEntries(Reader& in, SyncJournal& journal) {
  journal.entries.resize(in.Count(4));
  for (EntryKey& key : journal.entries) {
    key.word = in.Text();
    key.gram = in.Text();
    key.number = in.Text();
    key.occurrence = static_cast<int>(in.Ranged(0, kIntMax));
  }
  journal.lessons.resize(in.Count(1));
  for (JournalLesson& lesson : journal.lessons) {
    lesson.entries.resize(in.Count(1));
    for (uint32_t& entry : lesson.entries) entry = in.Index(journal.entries.size());
  }
  return in.Ok();
}

bool ReadAnswer(Reader& in, const SyncJournal& journal, JournalAnswer& a) {
  a.origin = in.Index(journal.origins.size());
  a.seq = in.Ranged(1, INT64_MAX);
  a.at = in.Signed();
  a.day = in.Signed();
  a.lesson = in.Index(journal.lessons.size());
  a.entry = in.Index(journal.entries.size());
  a.direction = static_cast<int>(in.Ranged(1, 2));
  a.kind = static_cast<int>(in.Ranged(1, 4));
  a.grade = static_cast<int>(in.Ranged(0, 4));
  a.wrongKeystrokes = static_cast<int>(in.Ranged(0, kIntMax));
  a.milliseconds = in.Ranged(0, INT64_MAX);
  a.typedOn = static_cast<int>(in.Ranged(0, 2));
  a.eventFirst = in.Ranged(0, 1) != 0;
  a.misses.resize(in.Count(2));
  for (MissedCharacter& miss : a.misses) {
    miss.expected = in.Text();
    miss.typed = in.Text();
  }
  // A graded answer is typing or an exam; exposure and practice have no grade.
  const bool graded = a.kind == 1 || a.kind == 2;
  return in.Ok() && graded == (a.grade != 0);
}

// An exam's filter as version 1 wrote it: the Filters menu's item, the lesson's filters from 800
// and the review lists at 836 to 838.
ExamFilter FilterOfMenuItem(int64_t item) {
  if (item >= 836 && item <= 838) return {static_cast<ExamFilter::Kind>(item - 835), 0};
  return {ExamFilter::Kind::Lesson, item >= 800 && item < 836 ? static_cast<int>(item - 800) : 0};
}

ExamFilter ReadFilter(Reader& in, uint8_t version) {
  if (version == 1) return FilterOfMenuItem(in.Ranged(0, kIntMax));
  const auto kind = static_cast<ExamFilter::Kind>(in.Ranged(0, 3));
  const auto index = static_cast<int>(in.Ranged(0, kIntMax));
  return {kind, kind == ExamFilter::Kind::Lesson ? index : 0};
}

bool ReadRows(Reader& in, SyncJournal& journal, uint8_t version) {
  journal.answers.resize(in.Count(14));
  for (JournalAnswer& answer : journal.answers) {
    if (!ReadAnswer(in, journal, answer)) return false;
  }
  journal.exams.resize(in.Count(10));
  for (JournalExam& e : journal.exams) {
    e.origin = in.Index(journal.origins.size());
    e.seq = in.Ranged(1, INT64_MAX);
    e.at = in.Signed();
    e.lesson = in.Index(journal.lessons.size());
    e.result.mode = static_cast<StudyMode>(in.Ranged(0, kModeCount - 1));
    e.result.filter = ReadFilter(in, version);
    e.result.filterName = in.Text();
    e.result.right = static_cast<int>(in.Ranged(0, kIntMax));
    e.result.wrong = static_cast<int>(in.Ranged(0, kIntMax));
    e.result.hints = static_cast<int>(in.Ranged(0, kIntMax));
  }
  return in.Ok();
}

// The body of a file that passed its check, or the reason it did not.
JournalState CheckedBody(std::string_view bytes, std::string_view& body, uint8_t& version) {
  if (bytes.size() < kHeaderSize + kCheckSize || bytes.substr(0, kMagic.size()) != kMagic) {
    return JournalState::Damaged;
  }
  version = static_cast<uint8_t>(bytes[kMagic.size()]);
  if (version > kJournalVersion) return JournalState::Newer;
  if (version < 1) return JournalState::Damaged;
  const uint64_t length = ReadFixed(bytes, kMagic.size() + 1, 8);
  if (length != bytes.size() - kHeaderSize - kCheckSize) return JournalState::Damaged;
  const size_t checked = bytes.size() - kCheckSize;
  if (Crc32(bytes.substr(0, checked)) != ReadFixed(bytes, checked, 4)) return JournalState::Damaged;
  body = bytes.substr(kHeaderSize, static_cast<size_t>(length));
  return JournalState::Whole;
}

}  // namespace

uint32_t Crc32(std::string_view bytes) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (const char byte : bytes) crc = table[(crc ^ static_cast<uint8_t>(byte)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::string EncodeJournal(const SyncJournal& journal) {
  Writer body;
  WriteBody(body, journal);
  Writer out;
  out.Data().reserve(kHeaderSize + body.Data().size() + kCheckSize);
  out.Data().append(kMagic);
  out.Fixed(kJournalVersion, 1);
  out.Fixed(body.Data().size(), 8);
  out.Data().append(body.Data());
  out.Fixed(Crc32(out.Data()), 4);
  return std::move(out.Data());
}

JournalState DecodeJournalHeader(std::string_view bytes, SyncJournal& journal) {
  std::string_view body;
  uint8_t version = 0;
  const JournalState state = CheckedBody(bytes, body, version);
  if (state != JournalState::Whole) return state;
  Reader in(body);
  SyncJournal read;
  if (!ReadMachine(in, read)) return JournalState::Damaged;
  journal = std::move(read);
  return JournalState::Whole;
}

JournalState DecodeJournal(std::string_view bytes, SyncJournal& journal) {
  std::string_view body;
  uint8_t version = 0;
  const JournalState state = CheckedBody(bytes, body, version);
  if (state != JournalState::Whole) return state;
  Reader in(body);
  SyncJournal read;
  if (!ReadMachine(in, read)) return JournalState::Damaged;
  read.origins.resize(in.Count(33));
  for (std::string& origin : read.origins) {
    origin = in.Bytes();
    if (!IsMachineId(origin)) return JournalState::Damaged;
  }
  if (read.origins.empty() || read.origins.front() != read.machineId) return JournalState::Damaged;
  if (!ReadEntries(in, read) || !ReadRows(in, read, version) || !in.AtEnd()) {
    return JournalState::Damaged;
  }
  journal = std::move(read);
  return JournalState::Whole;
}

}  // namespace verbaro::progress
