#pragma once
// The learner's one notice that sound has nowhere to go. Without a sound server every recording
// would fail to open the output, and every repaint (a resize, a maximised window, the next entry)
// would raise the same box again, in every mode. The box is shown the first time the output is
// missing and not again until a recording has reached an output; one notice serves all views.
namespace verbaro {

class SoundDeviceNotice {
 public:
  // True for the wave output results that mean there is no device to play on.
  static bool MeansNoDevice(int code);

  // Whether a failure with this result is to be shown: any failure that is not a missing
  // device, and a missing device the first time since sound last worked.
  bool ShouldShow(int code);
  // A recording reached the output: the next missing device is told again.
  void SoundWorks() { m_told = false; }

 private:
  bool m_told = false;
};

}  // namespace verbaro
