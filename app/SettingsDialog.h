#pragma once
// The Video settings dialog ("Настройка режима \"Видео\""): the pause between phrases and the
// number of repeats of each phrase of one Video view. The values are read, checked and clamped
// on OK and on Escape alike, and the view takes them whatever the dialog's result.
#include <QDialog>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <optional>

#include "platform/Platform.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace verbaro {

class CVideo1View;
class DialogUnits;

inline constexpr uint32_t kMaxPhraseDelay = 10000;
inline constexpr uint32_t kMinPhraseRepeats = 1;
inline constexpr uint32_t kMaxPhraseRepeats = 10;

struct VideoSettings {
  uint32_t delay = 0;
  uint32_t repeats = 1;
};

// An edit field's text as an unsigned decimal number: nothing when it is empty, holds anything
// but digits, or does not fit in 32 bits.
std::optional<uint32_t> ParseUnsignedField(const QString& text);
// Delay at most 10000 ms; repeats 1 to 10 (0 becomes 1).
VideoSettings ClampVideoSettings(VideoSettings settings);
// The confirmation shown after the dialog: "Установлено:\n..." with both values.
QString VideoSettingsReport(VideoSettings settings);

class CSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // The dialog's result codes, as the Windows button ids.
  static constexpr int kResultOk = 1;
  static constexpr int kResultCancel = 2;

  CSettingsDialog(VideoSettings settings, const Platform& platform, QWidget* owner = nullptr);

  VideoSettings Settings() const { return m_settings; }
  QLineEdit* DelayField() const { return m_delayField; }
  QLineEdit* RepeatsField() const { return m_repeatsField; }
  QPushButton* OkButton() const { return m_okButton; }

  // Escape and the close box: the typed values still count, the result is 2.
  void reject() override;

 private:
  void GrowToFit(const DialogUnits& units, QWidget* frame, std::initializer_list<QLabel*> labels);
  void ShowValues();
  // OK or Enter: in the delay field Enter only moves on to the repeat field.
  void OnOk();
  // Reads both fields into the settings (a bad field beeps and takes the focus) and clamps them.
  void ReadFields();

  const Platform& m_platform;
  VideoSettings m_settings;
  QLineEdit* m_delayField = nullptr;
  QLineEdit* m_repeatsField = nullptr;
  QPushButton* m_okButton = nullptr;
};

// Runs the dialog for a Video view with its current values, gives the view the dialog's values
// whatever the result, reports them in a box without owner and returns the dialog's result.
int RunVideoSettings(CVideo1View& view, QWidget* owner, const Platform& platform);

}  // namespace verbaro
