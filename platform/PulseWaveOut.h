#pragma once
// The wave output on the sound server (PulseAudio, or PipeWire's pulse server): Open makes sure
// the server answers, reconnecting when it went away. Each output keeps one stream on the
// server's default output (or the device it names), made at its first Open and kept, empty,
// between recordings, because making a stream costs some 40 ms on PipeWire: a Write only hands
// the PCM over and starts the stream. The server moves a stream on the default output when the
// default changes. Reset empties the stream: the sound stops at once. A stream whose server went
// away is made anew.
//
// Like a wave device that is handed the whole buffer, the server is asked to hold the whole
// recording, up to maxBufferMilliseconds; a longer one is fed the rest from the connection's own
// thread, so a busy UI thread never starves it. Nothing waits on the sound; the waits for the
// server are bounded (PulseConnection).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/WaveOut.h"

struct pa_stream;

namespace verbaro {

class PulseConnection;

class PulseWaveOut : public WaveOut {
 public:
  static constexpr int kMaxBufferMilliseconds = 4000;
  static constexpr int kStreamMilliseconds = 1000;  // the most a new stream may take to be made

  // deviceId names an output device (a sink name); empty for the default output.
  explicit PulseWaveOut(std::string deviceId = {},
                        int maxBufferMilliseconds = kMaxBufferMilliseconds);
  ~PulseWaveOut() override;
  PulseWaveOut(const PulseWaveOut&) = delete;
  PulseWaveOut& operator=(const PulseWaveOut&) = delete;

  int Open(const PcmFormat& format) override;
  int Write(const uint8_t* data, size_t bytes) override;
  void Reset() override;
  void Close() override;
  bool IsOpen() const override { return m_open; }

 private:
  static void OnStreamState(pa_stream* stream, void* self);
  static void OnWritable(pa_stream* stream, size_t bytes, void* self);
  static void OnUnderflow(pa_stream* stream, void* self);
  bool StreamUsable() const;
  int PrepareStream();
  void Feed(size_t room);
  void Empty();
  void EndStream();

  const std::shared_ptr<PulseConnection> m_connection;
  const std::string m_deviceId;
  const int m_maxBufferMilliseconds;
  PcmFormat m_format;
  bool m_open = false;
  // Touched by the connection's thread too; only with its lock held.
  pa_stream* m_stream = nullptr;
  std::vector<uint8_t> m_pcm;
  size_t m_fed = 0;
  bool m_playing = false;          // a recording was handed over and has not ended or been reset
  int m_lostError = waveout::kOk;  // a failure during play, reported by the next Write
};

}  // namespace verbaro
