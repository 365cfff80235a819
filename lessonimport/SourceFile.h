#pragma once
// The bytes of a file that a reader or a recording needs, read only when the file is a regular
// one within a size limit, with the reason in Russian otherwise.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace verbaro::lessonimport {

// A word list, a vocabulary file or a table this big is something else; it is refused unread.
inline constexpr size_t kMaxSourceFileBytes = 256 * 1024 * 1024;
// Nor is a list of more words than this (a big deck has tens of thousands): such a file is
// refused before its records fill the memory.
inline constexpr size_t kMaxSourceNotes = 200000;

// The whole file, or nothing with `error` set: "нет файла «…»", "файл «…» больше 32 МБ"... The
// size is checked before anything is read, on the opened file itself.
std::optional<std::string> ReadFileWithin(const std::filesystem::path& file, size_t limit,
                                          std::string& error);

// "32 МБ", "64 КБ": a limit as messages give it.
std::string DescribeBytes(size_t bytes);

}  // namespace verbaro::lessonimport
