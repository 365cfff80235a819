#pragma once
// The file each machine keeps in the synced folder: the answers and exam results it recorded,
// with the lessons and entries they belong to, known by their content. One machine writes one
// file; the others only read it.
//
//   "VERBSYNC", format version (1 byte), length of the body (8 bytes), the body, and a CRC-32 of
//   everything before it (4 bytes); numbers little-endian or as variable-length integers.
// A file cut short, half copied or changed in any byte fails the check as a whole and is left
// for the next time: nothing of it is taken.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/progress/ProgressTypes.h"

namespace verbaro::progress {

// Version 2 names an exam's filter by its kind and place; version 1, still read, by the
// Filters menu's item.
inline constexpr uint8_t kJournalVersion = 2;

struct JournalLesson {
  std::vector<uint32_t> entries;  // indexes into SyncJournal::entries, in the lesson's row order
};

struct JournalAnswer {
  uint32_t origin = 0;  // index into SyncJournal::origins
  int64_t seq = 0;
  int64_t at = 0;       // seconds since 1970 UTC
  int64_t day = 0;      // the recording machine's local day
  uint32_t lesson = 0;  // index into SyncJournal::lessons
  uint32_t entry = 0;   // index into SyncJournal::entries
  int direction = 1;
  int kind = 1;
  int grade = 0;
  int wrongKeystrokes = 0;
  int64_t milliseconds = 0;
  int typedOn = 0;
  bool eventFirst = true;
  std::vector<MissedCharacter> misses;
  bool operator==(const JournalAnswer&) const = default;
};

struct JournalExam {
  uint32_t origin = 0;
  int64_t seq = 0;
  int64_t at = 0;
  uint32_t lesson = 0;
  ExamResult result;
  bool operator==(const JournalExam& other) const {
    return origin == other.origin && seq == other.seq && at == other.at && lesson == other.lesson &&
           result.mode == other.result.mode && result.filter == other.result.filter &&
           result.filterName == other.result.filterName && result.right == other.result.right &&
           result.wrong == other.result.wrong && result.hints == other.result.hints;
  }
};

struct SyncJournal {
  std::string machineId;    // the writer's id (32 hex digits)
  std::string machineName;  // its host name, UTF-8
  int64_t writtenAt = 0;
  // The ids whose rows the file holds: the writer's, then earlier ids of its store.
  std::vector<std::string> origins;
  std::vector<EntryKey> entries;
  std::vector<JournalLesson> lessons;
  std::vector<JournalAnswer> answers;
  std::vector<JournalExam> exams;
};

enum class JournalState {
  Whole,    // read completely and checked
  Damaged,  // not a journal, cut short, or failing its check
  Newer,    // written by a newer version of the trainer
};

std::string EncodeJournal(const SyncJournal& journal);
// Reads the whole journal; `journal` is filled only when the result is Whole.
JournalState DecodeJournal(std::string_view bytes, SyncJournal& journal);
// Checks the file and reads its writer (id, name, time) without the rest.
JournalState DecodeJournalHeader(std::string_view bytes, SyncJournal& journal);

// CRC-32 (the polynomial of zip and PNG).
uint32_t Crc32(std::string_view bytes);

}  // namespace verbaro::progress
