#include "rastertarget_p.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <cmath>

namespace tavrin {

bool RasterTarget::bind(QPainter *painter)
{
    bits = nullptr;
    QPaintEngine *engine = painter->paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || painter->hasClipping()
        || painter->opacity() != 1.0 || painter->compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    const int target = painter->device()->devType();
    QPaintDevice *device = engine->paintDevice();
    if ((target != QInternal::Image && target != QInternal::Pixmap) || !device
        || device->devType() != QInternal::Image || !engine->systemClip().isEmpty())
        return false;
    auto *image = static_cast<QImage *>(device);
    // A shared image would be copied by bits(), away from the painter.
    if (image->format() != QImage::Format_ARGB32_Premultiplied || !image->isDetached())
        return false;
    // The limits keep device coordinates of pixel-safe points within int.
    const QTransform t = painter->combinedTransform();
    if (t.type() > QTransform::TxScale || t.m11() != t.m22() || !(t.m11() > 0) || t.m11() > 256
        || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()) || std::fabs(t.dx()) > (1 << 24)
        || std::fabs(t.dy()) > (1 << 24))
        return false;
    scale = t.m11();
    stride = int(image->bytesPerLine() / 4);
    bits = reinterpret_cast<quint32 *>(image->bits());
    width = image->width();
    height = image->height();
    dx = int(t.dx());
    dy = int(t.dy());
    return true;
}

} // namespace tavrin
