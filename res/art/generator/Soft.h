#pragma once
// Helpers for soft-looking pictures: blur, fine grain against banding, colour mixing.
#include <QColor>
#include <QImage>

// Box blur applied three times (close to a Gaussian) over every channel of an ARGB32
// premultiplied picture.
void Blur(QImage& image, int radius);
// Adds a fixed pseudo-random grain of +/- amplitude levels to every colour channel of an opaque
// picture, so that gradients do not show steps after JPEG compression.
void AddGrain(QImage& image, int amplitude, unsigned seed);
QColor Mix(const QColor& a, const QColor& b, double t);
QColor WithAlpha(const QColor& c, double alpha);
