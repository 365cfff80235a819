#include "platform/SoundDeviceNotice.h"

#include "platform/WaveOut.h"

namespace verbaro {

bool SoundDeviceNotice::MeansNoDevice(int code) {
  return code == waveout::kNoDevice || code == waveout::kDeviceLost;
}

bool SoundDeviceNotice::ShouldShow(int code) {
  if (!MeansNoDevice(code)) return true;
  if (m_told) return false;
  m_told = true;
  return true;
}

}  // namespace verbaro
