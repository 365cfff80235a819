#pragma once
// The two pictures of a study mode: a file in the folder Res of the current directory when it
// is there and readable, else the picture built into the program.
#include <QString>

namespace verbaro {

class FCObjImage;

// Background (built-in type "JPG") and logo (built-in type "PNG"), each chosen on its own.
// Logos, and any 32-bit picture from a file, are premultiplied for blending. A file that looks
// like a picture but cannot be decoded ends the loading there and reports failure (a failed
// background file leaves the logo unloaded too); what could not be loaded stays empty.
//
// On a screen drawn at `screenPixelRatio` device pixels per pixel (2 at a scale factor of 2) a
// built-in logo comes with twice the pixels, when the program has that version, so that it stays
// sharp; *logoPixelRatio then tells how many of its pixels make one pixel of its own size (2 for
// that version, else 1). A logo from a file is always taken at its own size.
bool LoadModePictures(FCObjImage& background, FCObjImage& logo, int backgroundId,
                      const QString& backgroundFile, int logoId, const QString& logoFile,
                      double screenPixelRatio = 1.0, int* logoPixelRatio = nullptr);

}  // namespace verbaro
