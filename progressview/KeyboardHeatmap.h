#pragma once
// The keyboard of a lesson's alphabet with each key coloured by how often its character was
// expected and something else typed; the count stands in the corner of a missed key.
#include <QWidget>
#include <map>
#include <string>
#include <vector>

namespace verbaro {

class KeyboardHeatmap : public QWidget {
  Q_OBJECT

 public:
  explicit KeyboardHeatmap(QWidget* parent = nullptr);
  // rows: the characters of the keys, row by row; misses: per character (lower case).
  void SetKeys(std::vector<std::u16string> rows, std::map<char16_t, int> misses);

  // Where the key of a character is drawn; empty when no key has it.
  QRectF KeyRect(char16_t character) const;
  // 0 (never missed) to 1 (the most missed key).
  double HeatOf(char16_t character) const;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  qreal KeySide(int width) const;
  size_t WidestRow() const;

  std::vector<std::u16string> m_rows;
  std::map<char16_t, int> m_misses;
  int m_most = 0;
};

}  // namespace verbaro
