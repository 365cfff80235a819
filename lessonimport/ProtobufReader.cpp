#include "lessonimport/ProtobufReader.h"

namespace verbaro::lessonimport {

bool ProtobufReader::ReadVarint(uint64_t& value) {
  value = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    if (m_position >= m_message.size()) return false;
    const uint8_t byte = m_message[m_position++];
    value |= static_cast<uint64_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) return true;
  }
  return false;  // more than ten bytes: not a varint
}

bool ProtobufReader::Next(ProtobufField& field) {
  if (m_damaged || m_position >= m_message.size()) return false;
  uint64_t key = 0;
  if (!ReadVarint(key) || (key >> 3) == 0 || (key >> 3) > 0x1FFFFFFF) {
    m_damaged = true;
    return false;
  }
  field = ProtobufField{};
  field.number = static_cast<uint32_t>(key >> 3);
  const auto fixed = [&](size_t width) {
    if (m_message.size() - m_position < width) return false;
    for (size_t i = 0; i < width; ++i)
      field.value |= static_cast<uint64_t>(m_message[m_position + i]) << (8 * i);
    m_position += width;
    return true;
  };
  bool ok = false;
  switch (key & 7) {
    case 0: ok = ReadVarint(field.value); break;
    case 1: ok = fixed(8); break;
    case 5: ok = fixed(4); break;
    case 2: {
      uint64_t length = 0;
      ok = ReadVarint(length) && length <= m_message.size() - m_position;
      if (ok) {
        field.isBytes = true;
        field.bytes = m_message.subspan(m_position, static_cast<size_t>(length));
        m_position += static_cast<size_t>(length);
      }
      break;
    }
    default:  // groups (3, 4) are not used by any message read here
      break;
  }
  if (!ok) m_damaged = true;
  return ok;
}

}  // namespace verbaro::lessonimport
