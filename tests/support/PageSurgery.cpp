#include "PageSurgery.h"

#include <sqlite3.h>

#include <stdexcept>
#include <vector>

#include "tests/support/Files.h"

namespace verbaro::test {

namespace {

// SQLite's variable-length integers (at most 8 bytes of 7 bits are enough here).
uint64_t ReadVarint(const std::vector<uint8_t>& bytes, size_t& at) {
  uint64_t value = 0;
  for (int i = 0; i < 8; ++i) {
    const uint8_t byte = bytes.at(at++);
    value = (value << 7) | (byte & 0x7F);
    if (byte < 0x80) return value;
  }
  throw std::runtime_error("varint too long for this test");
}

std::vector<uint8_t> Varint(uint64_t value) {
  std::vector<uint8_t> out{static_cast<uint8_t>(value & 0x7F)};
  for (value >>= 7; value != 0; value >>= 7) {
    out.insert(out.begin(), static_cast<uint8_t>((value & 0x7F) | 0x80));
  }
  return out;
}

uint32_t ReadBig(const std::vector<uint8_t>& bytes, size_t at, int width) {
  uint32_t value = 0;
  for (int i = 0; i < width; ++i) value = (value << 8) | bytes.at(at + i);
  return value;
}

void WriteBig(std::vector<uint8_t>& bytes, size_t at, int width, uint32_t value) {
  for (int i = width - 1; i >= 0; --i, value >>= 8) bytes.at(at + i) = value & 0xFF;
}

int RootPage(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  sqlite3_stmt* stmt = nullptr;
  int root = 0;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_schema WHERE name = 'FrRuDict';", -1,
                         &stmt, nullptr) == SQLITE_OK &&
      sqlite3_step(stmt) == SQLITE_ROW) {
    root = sqlite3_column_int(stmt, 0);
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  if (root <= 0) throw std::runtime_error("no table FrRuDict");
  return root;
}

// Bytes of a table leaf cell's payload kept on the page itself.
size_t LocalPayload(uint64_t payload, size_t usable) {
  const size_t maxLocal = usable - 35;
  const size_t minLocal = (usable - 12) * 32 / 255 - 23;
  if (payload <= maxLocal) return payload;
  const size_t local = minLocal + (payload - minLocal) % (usable - 4);
  return local <= maxLocal ? local : minLocal;
}

}  // namespace

void LoopRecordingOverflow(const std::filesystem::path& file, int64_t rowid, int extraPages) {
  std::vector<uint8_t> bytes = ReadFileBytes(file);
  const size_t pageSize = ReadBig(bytes, 16, 2) == 1 ? 65536 : ReadBig(bytes, 16, 2);
  const size_t usable = pageSize - bytes.at(20);
  const size_t page = (RootPage(file) - 1) * pageSize;
  const size_t header = page == 0 ? 100 : 0;  // page 1 starts with the file header
  if (bytes.at(page + header) != 13) throw std::runtime_error("FrRuDict is not one leaf page");

  const uint32_t cells = ReadBig(bytes, page + header + 3, 2);
  for (uint32_t c = 0; c < cells; ++c) {
    const size_t pointer = page + header + 8 + 2 * c;
    const size_t cell = page + ReadBig(bytes, pointer, 2);
    size_t at = cell;
    const uint64_t payload = ReadVarint(bytes, at);
    const size_t rowidAt = at;
    if (static_cast<int64_t>(ReadVarint(bytes, at)) != rowid) continue;
    const std::vector<uint8_t> rowidBytes(bytes.begin() + rowidAt, bytes.begin() + at);
    const size_t body = at;
    const size_t local = LocalPayload(payload, usable);
    if (local == payload) throw std::runtime_error("the recording has no overflow pages");

    // The record header: its size, then one serial type per column; the last is the recording.
    const uint64_t headerSize = ReadVarint(bytes, at);
    std::vector<uint64_t> types;
    while (at < body + headerSize) types.push_back(ReadVarint(bytes, at));
    const uint64_t extra = static_cast<uint64_t>(extraPages) * (usable - 4);
    if (types.empty() || types.back() < 12 || types.back() % 2 != 0) {
      throw std::runtime_error("the last column is not a BLOB");
    }
    std::vector<uint8_t> recordHeader = Varint(headerSize);
    const size_t oldTypeBytes = Varint(types.back()).size();
    types.back() += 2 * extra;
    if (Varint(types.back()).size() != oldTypeBytes ||
        LocalPayload(payload + extra, usable) != local) {
      throw std::runtime_error("choose another number of extra pages");
    }
    for (const uint64_t type : types) {
      const std::vector<uint8_t> encoded = Varint(type);
      recordHeader.insert(recordHeader.end(), encoded.begin(), encoded.end());
    }

    // The new cell: sizes, the header, the rest of the local payload and the overflow pointer.
    std::vector<uint8_t> newCell = Varint(payload + extra);
    newCell.insert(newCell.end(), rowidBytes.begin(), rowidBytes.end());
    newCell.insert(newCell.end(), recordHeader.begin(), recordHeader.end());
    newCell.insert(newCell.end(), bytes.begin() + body + headerSize,
                   bytes.begin() + body + local + 4);
    const size_t oldCellSize = body - cell + local + 4;
    const size_t newStart = cell + oldCellSize - newCell.size();  // the cell grows downwards
    std::copy(newCell.begin(), newCell.end(), bytes.begin() + newStart);
    WriteBig(bytes, pointer, 2, static_cast<uint32_t>(newStart - page));
    if (ReadBig(bytes, page + header + 5, 2) > newStart - page) {
      WriteBig(bytes, page + header + 5, 2, static_cast<uint32_t>(newStart - page));
    }

    const uint32_t first = ReadBig(bytes, body + local, 4);
    uint32_t last = first;
    while (const uint32_t next = ReadBig(bytes, (last - 1) * pageSize, 4)) last = next;
    WriteBig(bytes, (last - 1) * pageSize, 4, first);
    WriteFileBytes(file, bytes);
    return;
  }
  throw std::runtime_error("no row with that rowid");
}

}  // namespace verbaro::test
