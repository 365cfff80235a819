// verbaro-art OUTPUT_DIR: paints the built-in artwork into OUTPUT_DIR:
//   backgrounds/<Mode>.jpg (1600 x 1000), logos/<Mode>Logo.png (176 x 36),
//   icon/verbaro-16.png, -32, -48, toolbar/<command id>.png (16 x 16) and toolbar/127.png,
//   the strip of all eleven buttons in toolbar order; and for screens at a scale factor of 2
//   the same pictures with twice the pixels, named with "@2x" before the extension
//   (logos/<Mode>Logo@2x.png, icon/verbaro-16@2x.png ..., toolbar/<command id>@2x.png).
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <cstdio>
#include <utility>
#include <vector>

#include "Art.h"

namespace {

bool Save(const QImage& image, const QString& path, int quality = -1) {
  QImageWriter writer(path);
  if (quality >= 0) writer.setQuality(quality);
  if (writer.write(image)) return true;
  std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: verbaro-art OUTPUT_DIR\n");
    return 2;
  }
  QDir out(QString::fromLocal8Bit(argv[1]));
  for (const char* sub : {"backgrounds", "logos", "icon", "toolbar"}) out.mkpath(sub);

  bool ok = true;
  for (const Theme& theme : Themes()) {
    ok &= Save(PaintBackground(theme, 1600, 1000),
               out.filePath("backgrounds/" + theme.fileStem + ".jpg"), 88);
    ok &= Save(PaintLogo(theme, 1), out.filePath("logos/" + theme.fileStem + "Logo.png"));
    ok &= Save(PaintLogo(theme, 2), out.filePath("logos/" + theme.fileStem + "Logo@2x.png"));
  }
  for (int size : {16, 32, 48}) {
    ok &= Save(PaintProgramIcon(size), out.filePath(QString("icon/verbaro-%1.png").arg(size)));
    ok &=
        Save(PaintProgramIcon(2 * size), out.filePath(QString("icon/verbaro-%1@2x.png").arg(size)));
  }

  const std::vector<std::pair<int, ToolPicture>> buttons = {
      {57601, ToolPicture::Open},    {57665, ToolPicture::Exit},    {300, ToolPicture::RepeatSound},
      {700, ToolPicture::Conspect1}, {701, ToolPicture::Conspect2}, {702, ToolPicture::Video1},
      {703, ToolPicture::Video2},    {704, ToolPicture::Exam1},     {705, ToolPicture::Exam2},
      {128, ToolPicture::Help},      {57664, ToolPicture::About}};
  QImage strip(16 * static_cast<int>(buttons.size()), 16, QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::transparent);
  QPainter stripPainter(&strip);
  int x = 0;
  for (const auto& [id, picture] : buttons) {
    const QImage image = PaintToolPicture(picture, 1);
    ok &= Save(image, out.filePath(QString("toolbar/%1.png").arg(id)));
    ok &= Save(PaintToolPicture(picture, 2), out.filePath(QString("toolbar/%1@2x.png").arg(id)));
    stripPainter.drawImage(x, 0, image);
    x += 16;
  }
  stripPainter.end();
  ok &= Save(strip, out.filePath("toolbar/127.png"));
  // Buttons added after the eleven of the strip: the lesson's statistics.
  ok &= Save(PaintToolPicture(ToolPicture::Statistics, 1), out.filePath("toolbar/2100.png"));
  ok &= Save(PaintToolPicture(ToolPicture::Statistics, 2), out.filePath("toolbar/2100@2x.png"));
  return ok ? 0 : 1;
}
