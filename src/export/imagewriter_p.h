#ifndef IMAGEWRITER_P_H
#define IMAGEWRITER_P_H

#include "tavrin_global.h"

#include <QColor>
#include <QImage>
#include <QSize>

#include <functional>

class QIODevice;
class QPainter;

// Paints a picture of `size` logical pixels, with (0, 0) at its top left.
using PaintFunction = std::function<void(QPainter *)>;

// The image writers (exported for the tests): each paints the picture into its format and writes it
// to an open device, returning whether everything was written. A size of
// one pixel or more in each direction is the caller's business.

// SVG at 96 dots per inch, so viewers open it at `size` pixels.
TAVRIN_EXPORT bool writeSvg(QIODevice *device, QSize size, bool antialiasing, const PaintFunction &paint);

// One PDF page of exactly `size` pixels at 96 dots per inch, as vectors.
TAVRIN_EXPORT bool writePdf(QIODevice *device, QSize size, bool antialiasing, const PaintFunction &paint);

// The picture as pixels: `size` times `scale` device pixels over the
// background, painted at a device pixel ratio of `scale`. A null image when
// the result would not fit in memory.
TAVRIN_EXPORT QImage paintImage(QSize size, qreal scale, const QColor &background, bool antialiasing,
                  const PaintFunction &paint);

// `format` as QImageWriter names it ("png", "jpg", ...).
TAVRIN_EXPORT bool writeImage(QIODevice *device, const QImage &image, const QByteArray &format, int quality);

#endif // IMAGEWRITER_P_H
