#pragma once
// Damage that SQLite itself cannot write: edits of a lesson file's pages, for the tests of what
// the reader does with a crafted file.
#include <cstdint>
#include <filesystem>

namespace verbaro::test {

// Makes the recording (the last column, a BLOB stored with overflow pages) of the row `rowid`
// claim `extraPages` overflow pages more than the file stores, and links its last overflow page
// back to its first, so that reading the value walks the loop far past the file's end. The
// table FrRuDict must be a single leaf page (a few rows). Throws when the file is not so.
void LoopRecordingOverflow(const std::filesystem::path& file, int64_t rowid, int extraPages);

}  // namespace verbaro::test
