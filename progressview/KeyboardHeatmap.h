#pragma once
// The keyboard of a lesson's alphabet with each key coloured by how often its character was
// expected and something else typed; a missed key shows its letter above its count, and every
// key tells its count in a tooltip (where a key is too small for the count, that is the way).
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
  // Where a key's letter and its count go, and the count's pixel size (0: the count does not
  // fit; only the tooltip tells it). The two never overlap and both stay inside the key.
  struct KeyFaces {
    QRectF letter;
    QRectF count;
    int countPixels = 0;
  };
  KeyFaces FacesOf(char16_t character) const;
  // The tooltip over a point: the key's letter and its count, empty outside the keys.
  QString ToolTipAt(QPointF point) const;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // The side of a key for a width, and for the widget as it is (its height may be short).
  qreal KeySide(int width) const;
  qreal KeySide() const;
  int MissesOf(char16_t character) const;
  size_t WidestRow() const;

  std::vector<std::u16string> m_rows;
  std::map<char16_t, int> m_misses;
  int m_most = 0;
};

}  // namespace verbaro
