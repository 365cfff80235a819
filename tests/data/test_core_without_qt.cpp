#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "data/Text.h"

namespace verbaro {
namespace {

// The core must stay usable by the lesson tool, which has no Qt: this program is linked from the
// core alone, so no Qt library may be mapped into it.
TEST(CoreLayering, NoQtLibraryIsLoaded) {
  std::ifstream maps("/proc/self/maps");
  ASSERT_TRUE(maps.is_open());
  std::string line;
  int mappedLibraries = 0;
  while (std::getline(maps, line)) {
    if (line.find(".so") != std::string::npos) ++mappedLibraries;
    EXPECT_EQ(line.find("libQt"), std::string::npos) << line;
  }
  // The reading saw the shared libraries (libsqlite3, libc, ...), so an empty result means Qt-free.
  EXPECT_GT(mappedLibraries, 0);
  EXPECT_EQ(ToUtf8(u"дом"), "\xD0\xB4\xD0\xBE\xD0\xBC");  // the core's code runs here
}

}  // namespace
}  // namespace verbaro
