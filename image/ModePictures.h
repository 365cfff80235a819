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
bool LoadModePictures(FCObjImage& background, FCObjImage& logo, int backgroundId,
                      const QString& backgroundFile, int logoId, const QString& logoFile);

}  // namespace verbaro
