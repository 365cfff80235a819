// CSV and TSV tables: any bytes as a table file, read as the import reads it. The first byte picks
// the file's extension (which decides the separator when no separator splits the records).
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/TextSourceChecks.h"
#include "lessonimport/DelimitedText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace verbaro;
  if (size == 0) return 0;
  const std::string file =
      fuzz::ScratchFolder() + ((data[0] & 1) != 0 ? "/table.tsv" : "/table.csv");
  fuzz::WriteFileBytes(file, data + 1, size - 1);
  std::string error;
  const auto source = lessonimport::ReadDelimitedText(file, error);
  fuzz::CheckTextSource(source, error, "строка ");
  if (source)
    fuzz::Require(source->format == "CSV" || source->format == "TSV", "the format is named");
  return 0;
}
