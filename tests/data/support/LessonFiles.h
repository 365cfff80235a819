#pragma once
// Lesson files for the data tests: the shared writer and scratch folders, and what the tests
// check about a file after the program read it.
#include <filesystem>
#include <string>

#include "tests/support/Files.h"
#include "tests/support/LessonWriter.h"
#include "tests/support/TempFolder.h"

namespace verbaro::test {

// How many descriptors of this process have the file open.
int OpenDescriptorCount(const std::filesystem::path& file);

std::u16string PathText(const std::filesystem::path& file);

}  // namespace verbaro::test
