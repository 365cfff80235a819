#include <gtest/gtest.h>
#include <zstd.h>

#include <string>
#include <vector>

#include "lessonimport/AnkiMedia.h"
#include "lessonimport/ClozeText.h"
#include "lessonimport/ProtobufReader.h"
#include "lessonimport/Zstd.h"

namespace verbaro::lessonimport {
namespace {

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> Compressed(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out(ZSTD_compressBound(data.size()));
  out.resize(ZSTD_compress(out.data(), out.size(), data.data(), data.size(), 3));
  return out;
}

TEST(AnkiParts, ProtobufFieldsAndDamage) {
  // field 1 varint 300, field 2 "ab", field 255 varint 7, field 3 fixed64, field 4 fixed32
  const std::vector<uint8_t> message = {0x08, 0xAC, 0x02, 0x12, 0x02, 'a', 'b', 0xF8,
                                        0x0F, 0x07, 0x19, 1,    0,    0,   0,   0,
                                        0,    0,    0x80, 0x25, 2,    0,   0,   0};
  ProtobufReader reader(message);
  ProtobufField field;
  std::vector<std::pair<uint32_t, uint64_t>> numbers;
  while (reader.Next(field))
    numbers.emplace_back(field.number, field.isBytes ? field.bytes.size() : field.value);
  EXPECT_FALSE(reader.Damaged());
  EXPECT_EQ(numbers, (std::vector<std::pair<uint32_t, uint64_t>>{
                         {1, 300}, {2, 2}, {255, 7}, {3, 0x8000000000000001ull}, {4, 2}}));
  const std::vector<std::vector<uint8_t>> damaged = {
      {0x12, 0x05, 'a'},  // length past the end
      {0x08},             // varint missing
      {0x08, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01},  // eleven bytes
      {0x0B},                                                                    // a group
      {0x00, 0x01},                                                              // field number 0
      {0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F},                                      // length of 4 GiB
      {0x19, 1, 2},  // fixed64 cut short
  };
  for (const auto& bytes : damaged) {
    ProtobufReader bad(bytes);
    while (bad.Next(field)) {
    }
    EXPECT_TRUE(bad.Damaged()) << bytes.size();
  }
}

TEST(AnkiParts, ZstdWithinItsLimit) {
  const std::vector<uint8_t> zeros(1 << 20);
  std::vector<uint8_t> frame = Compressed(zeros);
  ASSERT_LT(frame.size(), 1000u);
  EXPECT_TRUE(IsZstdFrame(frame));
  EXPECT_FALSE(IsZstdFrame(Bytes("ID3")));
  std::string error;
  const auto exact = DecompressZstd(frame, zeros.size(), error);
  ASSERT_TRUE(exact) << error;
  EXPECT_EQ(*exact, zeros);
  // A small frame that becomes more than allowed: refused, whatever its header says.
  EXPECT_FALSE(DecompressZstd(frame, zeros.size() - 1, error));
  EXPECT_EQ(error, "распакованные данные больше 1048575 байт");
  // Two frames one after the other make one stream.
  std::vector<uint8_t> two = Compressed(Bytes("le "));
  const std::vector<uint8_t> second = Compressed(Bytes("chat"));
  two.insert(two.end(), second.begin(), second.end());
  EXPECT_EQ(DecompressZstd(two, 100, error), Bytes("le chat"));
  // Cut short, emptied, garbage.
  frame.resize(frame.size() / 2);
  EXPECT_FALSE(DecompressZstd(frame, zeros.size(), error));
  EXPECT_FALSE(DecompressZstd({}, 100, error));
  EXPECT_FALSE(DecompressZstd(Bytes("\x28\xB5\x2F\xFDgarbage"), 100, error));
}

TEST(AnkiParts, ClozeGapsFilled) {
  const std::pair<const char*, const char*> cases[] = {
      {"le {{c1::chat}} noir", "le chat noir"},
      {"{{c12::le chien::animal}} et {{c2::le chat}}", "le chien et le chat"},
      {"{{c1::un {{c2::petit::taille}} chat::animal}}", "un petit chat"},
      {"a::b }} {{c::x}} {{cx::y}}", "a::b }} {{c::x}} {{cx::y}}"},
      {"{{c1::jamais fermé", "jamais fermé"},
      {"{{c1::}}", ""},
  };
  for (const auto& [field, text] : cases) EXPECT_EQ(FillClozeGaps(field), text) << field;
}

TEST(AnkiParts, MediaListsOfEachFormat) {
  std::string error;
  const auto json = ParseAnkiMediaList(
      Bytes(R"( {"0": "chat.mp3", "1": "le chien.ogg", "2": 5, "3": ""})"), error);
  ASSERT_TRUE(json) << error;
  ASSERT_EQ(json->size(), 2u);
  EXPECT_EQ(json->at("chat.mp3").member, "0");
  EXPECT_FALSE(json->at("chat.mp3").compressed);
  EXPECT_EQ(json->at("le chien.ogg").member, "1");

  // entries: {name "a.mp3", size 3}, {name "b.mp3", legacy member 7}, {no name}, {name "c.mp3"}
  const std::vector<uint8_t> entries = {0x0A, 0x09, 0x0A, 0x05, 'a',  '.',  'm',  'p',  '3',
                                        0x10, 0x03, 0x0A, 0x0A, 0x0A, 0x05, 'b',  '.',  'm',
                                        'p',  '3',  0xF8, 0x0F, 0x07, 0x0A, 0x02, 0x10, 0x01,
                                        0x0A, 0x07, 0x0A, 0x05, 'c',  '.',  'm',  'p',  '3'};
  for (const auto& bytes : {entries, Compressed(entries)}) {
    const auto list = ParseAnkiMediaList(bytes, error);
    ASSERT_TRUE(list) << error;
    ASSERT_EQ(list->size(), 3u);
    EXPECT_EQ(list->at("a.mp3").member, "0");
    EXPECT_EQ(list->at("a.mp3").size, 3u);
    EXPECT_TRUE(list->at("a.mp3").compressed);
    EXPECT_EQ(list->at("b.mp3").member, "7");
    EXPECT_EQ(list->at("c.mp3").member, "3");  // its place in the list, the nameless one counted
  }
  for (const std::string_view damaged :
       {std::string_view("{\"0\": \"chat.mp3\""), std::string_view("[\"chat.mp3\"]"),
        std::string_view("\x0A\x09\x0A")}) {
    EXPECT_FALSE(ParseAnkiMediaList(Bytes(damaged), error)) << damaged;
    EXPECT_EQ(error, "список аудиофайлов пакета повреждён");
  }
}

TEST(AnkiParts, UnsafeMediaNames) {
  for (const char* name : {"chat.mp3", "le chien.mp3", "a..b.mp3", "..mp3", "x/y.mp3", "ч.mp3"})
    EXPECT_EQ(UnsafeMediaName(name), "") << name;
  for (const char* name : {"..", "../x.mp3", "a/../../x.mp3", "a\\..\\x.mp3", "x/.."})
    EXPECT_EQ(UnsafeMediaName(name), "путь ведёт за пределы пакета") << name;
  for (const char* name : {"/etc/passwd", "\\\\server\\x.mp3", "C:\\x.mp3", "c:x.mp3"})
    EXPECT_EQ(UnsafeMediaName(name), "абсолютный путь, а в пакете файлы лежат без путей") << name;
}

}  // namespace
}  // namespace verbaro::lessonimport
