#pragma once
// A wave output that keeps what it was given.
#include <string>
#include <vector>

#include "platform/WaveOut.h"

namespace verbaro {

// Records what a view would have played. openResult / writeResults let tests make it fail.
class FakeWaveOut : public WaveOut {
 public:
  int openResult = waveout::kOk;
  std::vector<int> writeResults;  // consumed one per write; kOk once empty
  int opens = 0, resets = 0, closes = 0;
  std::vector<std::vector<uint8_t>> writes;
  bool open = false;
  PcmFormat format;   // of the last Open
  std::string trace;  // one letter per call, in order: O(pen) W(rite) R(eset) C(lose)

  int Open(const PcmFormat& requested) override {
    ++opens;
    trace += 'O';
    format = requested;
    if (openResult != waveout::kOk) return openResult;
    open = true;
    return waveout::kOk;
  }
  int Write(const uint8_t* data, size_t bytes) override {
    trace += 'W';
    int result = waveout::kOk;
    if (!writeResults.empty()) {
      result = writeResults.front();
      writeResults.erase(writeResults.begin());
    }
    if (result == waveout::kOk) writes.emplace_back(data, data + bytes);
    return result;
  }
  void Reset() override {
    ++resets;
    trace += 'R';
  }
  void Close() override {
    ++closes;
    trace += 'C';
    open = false;
  }
  bool IsOpen() const override { return open; }
};

}  // namespace verbaro
