#pragma once
// The Russian text of a wave output result code, and its message box (caption "Ошибка", no
// owner window). Code 0 means success and shows nothing.
#include <QString>

namespace verbaro {

class MessageBoxes;

QString WaveOutErrorText(int code);
void ShowWaveOutError(MessageBoxes& messages, int code);

}  // namespace verbaro
