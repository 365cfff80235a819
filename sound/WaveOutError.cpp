#include "sound/WaveOutError.h"

#include "platform/MessageBoxes.h"
#include "platform/WaveOut.h"

namespace verbaro {

QString WaveOutErrorText(int code) {
  switch (code) {
    case waveout::kOk: return {};
    case waveout::kNoDevice:
      return QStringLiteral(
          "Нет устройства вывода звука: звуковой сервер не запущен или устройство не найдено.");
    case waveout::kNotOpen: return QStringLiteral("Устройство вывода звука не открыто.");
    case waveout::kNoMemory: return QStringLiteral("Недостаточно памяти для вывода звука.");
    case waveout::kBadFormat: return QStringLiteral("Формат звука не поддерживается.");
    case waveout::kStillPlaying:
      return QStringLiteral("Устройство вывода звука ещё воспроизводит предыдущий звук.");
    case waveout::kDeviceLost:
      return QStringLiteral("Устройство вывода звука отключено или недоступно.");
    case waveout::kError: return QStringLiteral("Ошибка вывода звука.");
    default: return QStringLiteral("Ошибка вывода звука (код %1).").arg(code);
  }
}

void ShowWaveOutError(MessageBoxes& messages, int code) {
  if (code == waveout::kOk) return;
  messages.ShowError(nullptr, WaveOutErrorText(code));
}

}  // namespace verbaro
