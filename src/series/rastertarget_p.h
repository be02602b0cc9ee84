#ifndef RASTERTARGET_P_H
#define RASTERTARGET_P_H

#include <QtGlobal>

class QPainter;

namespace tavrin {

// The image under a raster painter, for drawing code that writes pixels
// itself and must leave bit for bit what QPainter would have. bind()
// accepts only painters whose pixels map to the image by a uniform scale
// and a whole-pixel translation, with nothing else between a blend and the
// image: no clipping, full opacity, source-over, an unshared image in
// premultiplied ARGB. A widget's painter reaches its window through an
// offset and a system clip the painter does not show, so it is refused.
struct RasterTarget {
    quint32 *bits = nullptr;
    int stride = 0; // in pixels
    int width = 0, height = 0;
    int dx = 0, dy = 0; // the painter's translation in device pixels
    qreal scale = 1;    // device pixels per logical pixel

    bool bind(QPainter *painter);
    bool bound() const { return bits; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    quint32 &at(int x, int y) const { return bits[qptrdiff(y) * stride + x]; }

    // The raster engine's 8-bit multiply and premultiplied source-over.
    static quint32 byteMul(quint32 v, quint32 a)
    {
        quint32 t = (v & 0xff00ff) * a;
        t = ((t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
        v = ((v >> 8) & 0xff00ff) * a;
        v = (v + ((v >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
        return v | t;
    }
    static void blend(quint32 &d, quint32 s) { d = s >= 0xff000000u ? s : s + byteMul(d, 255 - (s >> 24)); }
};

} // namespace tavrin

#endif // RASTERTARGET_P_H
