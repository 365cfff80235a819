#pragma once
// The fields of a protocol buffers message, read from its wire form without a schema: each field
// with its number and either its integer value or its bytes (strings and nested messages).
#include <cstdint>
#include <span>

namespace verbaro::lessonimport {

struct ProtobufField {
  uint32_t number = 0;
  bool isBytes = false;            // length-delimited: a string, bytes or a nested message
  uint64_t value = 0;              // varint and fixed-width fields
  std::span<const uint8_t> bytes;  // length-delimited fields
};

class ProtobufReader {
 public:
  explicit ProtobufReader(std::span<const uint8_t> message) : m_message(message) {}
  // The next field into `field`; false at the end, or when the message is damaged (then
  // Damaged() is true).
  bool Next(ProtobufField& field);
  bool Damaged() const { return m_damaged; }

 private:
  bool ReadVarint(uint64_t& value);
  std::span<const uint8_t> m_message;
  size_t m_position = 0;
  bool m_damaged = false;
};

}  // namespace verbaro::lessonimport
