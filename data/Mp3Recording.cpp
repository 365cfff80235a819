#include "data/Mp3Recording.h"

namespace verbaro {

namespace {

// One buffer in memory; every key gives it.
class HeldBytes final : public RecordingSource {
 public:
  explicit HeldBytes(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
  std::optional<std::vector<uint8_t>> Read(int32_t) override { return m_bytes; }

 private:
  const std::vector<uint8_t> m_bytes;
};

}  // namespace

Mp3Recording Mp3Recording::Held(std::vector<uint8_t> bytes) {
  const auto size = static_cast<int32_t>(bytes.size());
  return Mp3Recording(std::make_shared<HeldBytes>(std::move(bytes)), 0, size);
}

std::optional<std::vector<uint8_t>> Mp3Recording::Read() const {
  if (!m_source) return std::nullopt;
  return m_source->Read(m_key);
}

}  // namespace verbaro
