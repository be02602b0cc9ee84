#include "imagewriter_p.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace {

// A screen pixel as the vector formats see it.
constexpr int kPixelDpi = 96;

// Pictures larger than this many pixels are refused rather than allocated.
constexpr qint64 kMaxImagePixels = qint64(1) << 28;

bool writeAll(QIODevice *device, const QByteArray &data)
{
    return device->write(data) == data.size();
}

} // namespace

bool writeSvg(QIODevice *device, QSize size, bool antialiasing, const PaintFunction &paint)
{
    // The generator reports nothing about its output device, so the image is
    // made in memory and written out where the errors can be seen.
    QBuffer image;
    image.open(QIODevice::WriteOnly | QIODevice::Text);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&image);
        generator.setSize(size);
        // 96 dots per inch is the SVG pixel: viewers then open the image at
        // the widget's pixel size, with text at its on-screen size.
        generator.setResolution(kPixelDpi);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        QPainter painter(&generator);
        if (antialiasing)
            painter.setRenderHint(QPainter::Antialiasing, true);
        paint(&painter);
    }
    return writeAll(device, image.data());
}

bool writePdf(QIODevice *device, QSize size, bool antialiasing, const PaintFunction &paint)
{
    // Also made in memory: QPdfWriter has no error report of its own.
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&document);
        writer.setCreator(QStringLiteral("Tavrin"));
        // At 96 dots per inch one device unit is one chart pixel, and fonts
        // get their on-screen size.
        writer.setResolution(kPixelDpi);
        const QSizeF points(size.width() * 72.0 / kPixelDpi, size.height() * 72.0 / kPixelDpi);
        writer.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(),
                                                   QPageSize::ExactMatch),
                                         QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        if (antialiasing)
            painter.setRenderHint(QPainter::Antialiasing, true);
        paint(&painter);
        if (!painter.end())
            return false;
    }
    return writeAll(device, document.data());
}

QImage paintImage(QSize size, qreal scale, const QColor &background, bool antialiasing,
                  const PaintFunction &paint)
{
    // Checked in floating point first: rounding an infinite or huge size to
    // int is undefined.
    const double w = size.width() * double(scale), h = size.height() * double(scale);
    if (!(w < double(kMaxImagePixels) && h < double(kMaxImagePixels)))
        return QImage();
    const QSize pixels = (QSizeF(size) * scale).toSize();
    if (pixels.isEmpty() || qint64(pixels.width()) * pixels.height() > kMaxImagePixels)
        return QImage();
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(scale);
    image.fill(background);
    QPainter painter(&image);
    if (antialiasing)
        painter.setRenderHint(QPainter::Antialiasing, true);
    paint(&painter);
    return image;
}

bool writeImage(QIODevice *device, const QImage &image, const QByteArray &format, int quality)
{
    if (image.isNull())
        return false;
    // Through memory, so a failed write is seen like in the other writers.
    QBuffer data;
    data.open(QIODevice::WriteOnly);
    QImageWriter writer(&data, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        return false;
    return writeAll(device, data.data());
}
