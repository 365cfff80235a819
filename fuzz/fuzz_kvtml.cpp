// KVTML vocabulary files: any bytes as a .kvtml file, read as the import reads it. Nothing is
// fetched from outside (an entity or DTD naming a file or a URL is refused or passed over).
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/TextSourceChecks.h"
#include "lessonimport/Kvtml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace verbaro;
  const std::string file = fuzz::ScratchFolder() + "/words.kvtml";
  fuzz::WriteFileBytes(file, data, size);
  std::string error;
  const auto source = lessonimport::ReadKvtml(file, error);
  fuzz::CheckTextSource(source, error, "запись ");
  if (source) fuzz::Require(source->format == "KVTML", "the format is named");
  return 0;
}
