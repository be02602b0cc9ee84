// The colour map's colours and drawing. A rendering resamples the grid
// straight into an image of the plot's device pixels through a colour
// table: its cost follows the pixels covered, not the cells, no image of
// the whole grid is kept (a value and a cell image would take 12 bytes a
// cell), and vector outputs get the same single image at their resolution.
#include "colormapseries.h"
#include "colormapseries_p.h"

#include "axis.h"
#include "axis_p.h"
#include "chartseries_p.h"
#include "colormaptables_p.h"

#include <QPainter>
#include <QPixmap>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

QGradientStops tableStops(const QRgb *table)
{
    QGradientStops stops;
    for (int i = 0; i < tavrin::kPerceptualStops; ++i)
        stops.append({double(i) / (tavrin::kPerceptualStops - 1), QColor::fromRgb(table[i])});
    return stops;
}

// The most pixels one rendering makes; a larger output (a print at a very
// high resolution) gets a coarser image.
constexpr double kMaxImagePixels = 32.0 * 1024 * 1024;

} // namespace

QGradientStops ColorMapSeries::presetStops(Preset preset)
{
    switch (preset) {
    case Viridis:
        return tableStops(tavrin::kViridis);
    case Magma:
        return tableStops(tavrin::kMagma);
    case Inferno:
        return tableStops(tavrin::kInferno);
    case Plasma:
        return tableStops(tavrin::kPlasma);
    case Cividis:
        return tableStops(tavrin::kCividis);
    case Grey:
        return {{0.0, QColor(0, 0, 0)}, {1.0, QColor(255, 255, 255)}};
    case BlueWhiteRed:
        return {{0.0, QColor(59, 76, 192)}, {0.5, QColor(255, 255, 255)}, {1.0, QColor(180, 4, 38)}};
    default:
        return QGradientStops();
    }
}

void ColorMapSeriesPrivate::buildLut()
{
    QGradientStops s = stops;
    std::stable_sort(s.begin(), s.end(), [](const QGradientStop &a, const QGradientStop &b) { return a.first < b.first; });
    lut.resize(kLutSize);
    int k = 0;
    for (int i = 0; i < kLutSize; ++i) {
        const double t = double(i) / (kLutSize - 1);
        while (k + 1 < s.size() && s.at(k + 1).first <= t)
            ++k;
        QColor c = s.at(k).second;
        if (t > s.at(k).first && k + 1 < s.size()) {
            const QColor &a = s.at(k).second, &b = s.at(k + 1).second;
            const double f = (t - s.at(k).first) / (s.at(k + 1).first - s.at(k).first);
            auto mix = [f](int u, int v) { return int(std::lround(u + (v - u) * f)); };
            c = QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()),
                       mix(a.alpha(), b.alpha()));
        } else if (t < s.at(k).first) {
            c = s.first().second; // before the first stop
        }
        lut[i] = qPremultiply(c.rgba());
    }
}

void ColorMapSeriesPrivate::colorsChanged()
{
    rangeValid = false;
    changed(false);
    emit q->colorsChanged();
}

int ColorMapSeriesPrivate::colorIndex(double v) const
{
    updateRange();
    if (logColors) {
        if (!(v > 0))
            return -1;
        v = std::log10(v);
    } else if (std::isnan(v)) {
        return -1;
    }
    if (!(hi > lo))
        return std::isfinite(lo) ? 0 : -1;
    const double t = (v - lo) / (hi - lo) * (kLutSize - 1) + 0.5;
    return int(std::min(std::max(t, 0.0), double(kLutSize - 1)));
}

void ColorMapSeries::setGradient(const QGradientStops &stops)
{
    const bool placed = std::all_of(stops.begin(), stops.end(),
                                    [](const QGradientStop &s) { return s.first >= 0 && s.first <= 1; });
    if (stops.isEmpty() || !placed) {
        qWarning("ColorMapSeries::setGradient: no stops, or a stop outside 0 to 1; the gradient stays");
        return;
    }
    d->stops = stops;
    d->preset = Custom;
    d->buildLut();
    d->colorsChanged();
}

QGradientStops ColorMapSeries::gradient() const { return d->stops; }

void ColorMapSeries::setPreset(Preset preset)
{
    if (preset == d->preset || presetStops(preset).isEmpty())
        return;
    d->stops = presetStops(preset);
    d->preset = preset;
    d->buildLut();
    d->colorsChanged();
}

ColorMapSeries::Preset ColorMapSeries::preset() const { return d->preset; }

QColor ColorMapSeries::colorAt(double value) const
{
    const int i = d->colorIndex(value);
    if (i < 0)
        return QColor();
    return QColor::fromRgba(qUnpremultiply(d->lut.at(i)));
}

QLinearGradient ColorMapSeriesPrivate::scaleGradient(const QPointF &from, const QPointF &to) const
{
    QLinearGradient g(from, to);
    g.setStops(stops);
    return g;
}

QIcon ColorMapSeries::icon(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.fillRect(QRect(0, 0, size, size), d->scaleGradient(QPointF(0, size), QPointF(0, 0)));
    p.end();
    return QIcon(pm);
}

Axis *ColorMapSeriesPrivate::prepareScale(int length)
{
    updateRange();
    const bool blocked = scaleAxis->blockSignals(true);
    AxisPrivate *a = scaleAxis->d;
    if (a->logarithmic != logColors) {
        a->rawMin = a->rawMax = nan();
        scaleAxis->setLogarithmic(logColors);
    }
    a->setLength(length);
    if (std::isfinite(lo) && std::isfinite(hi) && hi > lo) {
        scaleAxis->setRange(logColors ? std::pow(10.0, lo) : lo, logColors ? std::pow(10.0, hi) : hi);
    } else {
        a->rawMin = a->rawMax = nan();
    }
    a->updateTransform();
    a->updateTicks();
    scaleAxis->blockSignals(blocked);
    return scaleAxis;
}

namespace {

// Where each output pixel of one dimension samples the grid: the logical
// cell under its centre (-1 outside), and for smoothing the two cells whose
// centres surround it with the weight of the second.
struct Samples
{
    QVector<int> cell, a, b;
    QVector<float> f;
};

Samples sampleAxis(const Axis *axis, int first, int count, double scale, double shift, double e0, double step,
                   int n, bool smooth)
{
    Samples s;
    s.cell.resize(count);
    if (smooth) {
        s.a.resize(count);
        s.b.resize(count);
        s.f.resize(count);
    }
    for (int i = 0; i < count; ++i) {
        const double logical = (first + i + 0.5 - shift) / scale;
        const double u = (axis->pixelToPoint(logical) - e0) / step;
        s.cell[i] = u >= 0 && u < n ? int(u) : -1;
        if (smooth) {
            const double v = std::min(std::max(u - 0.5, 0.0), double(n - 1));
            const int k = std::isfinite(v) ? int(v) : 0;
            s.a[i] = k;
            s.b[i] = std::min(k + 1, n - 1);
            s.f[i] = float(std::isfinite(v) ? v - k : 0);
        }
    }
    return s;
}

} // namespace

void ColorMapSeries::draw(QPainter *painter)
{
    Axis *xa = xAxis(), *ya = yAxis();
    if (!painter || !xa || !ya || !xa->isValid() || !ya->isValid() || d->nc == 0 || d->nr == 0)
        return;
    // The plot in the painter's units less its outermost pixels, where the
    // frame is drawn (a map filling a zoomed view would hide it), and the
    // extent within that.
    const double w = xa->d->length + 1, h = ya->d->length + 1;
    // The bottom edge is two pixels thick.
    auto span = [](const Axis *axis, double a, double b, double size, double *from, double *to) {
        const double edge = axis->type() == Axis::atBottom ? 1 : 2;
        double p = axis->pointToPixel(a), q = axis->pointToPixel(b);
        // An end with no logarithm lies beyond the axis' low end.
        const double low = axis->type() == Axis::atBottom ? -1e9 : 1e9;
        if (std::isnan(p))
            p = low;
        if (std::isnan(q))
            q = low;
        *from = std::max(std::min(p, q), 1.0);
        *to = std::min(std::max(p, q), size - edge);
        return *to > *from;
    };
    double lx, rx, ty, by;
    if (!span(xa, d->x0, d->x1, w, &lx, &rx) || !span(ya, d->y0, d->y1, h, &ty, &by))
        return;

    // Device pixels per unit: the image is made at the output's own
    // resolution, so that it is drawn without scaling.
    const QTransform t = painter->deviceTransform();
    double sx = 1, sy = 1, dx = 0, dy = 0;
    if (t.type() <= QTransform::TxScale && t.m11() > 0 && t.m22() > 0) {
        sx = t.m11();
        sy = t.m22();
        dx = t.dx();
        dy = t.dy();
    }
    double left = std::floor(lx * sx + dx + 1e-6), right = std::ceil(rx * sx + dx - 1e-6);
    double top = std::floor(ty * sy + dy + 1e-6), bottom = std::ceil(by * sy + dy - 1e-6);
    const double pixels = (right - left) * (bottom - top);
    if (!(pixels >= 1))
        return;
    if (pixels > kMaxImagePixels) {
        const double k = std::sqrt(kMaxImagePixels / pixels);
        sx *= k;
        sy *= k;
        dx *= k;
        dy *= k;
        left = std::floor(lx * sx + dx);
        right = std::ceil(rx * sx + dx);
        top = std::floor(ty * sy + dy);
        bottom = std::ceil(by * sy + dy);
    }
    const int iw = int(right - left), ih = int(bottom - top);
    const QRectF target((left - dx) / sx, (top - dy) / sy, iw / sx, ih / sy);

    d->updateRange();
    const QVector<double> key{double(d->generation), left, top, double(iw), double(ih), sx, sy, dx, dy,
                              xa->min(), xa->max(), ya->min(), ya->max(), w, h,
                              double(xa->isLogarithmic()), double(ya->isLogarithmic()), d->lo, d->hi};
    if (key != d->cacheKey || d->cache.isNull()) {
        d->cacheKey = key;
        if (d->cache.width() != iw || d->cache.height() != ih)
            d->cache = QImage(iw, ih, QImage::Format_ARGB32_Premultiplied);
        if (d->cache.isNull())
            return;
        const bool smooth = d->smooth;
        const Samples cols = sampleAxis(xa, int(left), iw, sx, dx, d->x0, d->cellWidth(), d->nc, smooth);
        const Samples rows = sampleAxis(ya, int(top), ih, sy, dy, d->y0, d->cellHeight(), d->nr, smooth);
        // Logical to physical once per column.
        QVector<int> pcol(iw), pa, pb;
        for (int i = 0; i < iw; ++i)
            pcol[i] = cols.cell.at(i) < 0 ? -1 : d->physCol(cols.cell.at(i));
        if (smooth) {
            pa.resize(iw);
            pb.resize(iw);
            for (int i = 0; i < iw; ++i) {
                pa[i] = d->physCol(cols.a.at(i));
                pb[i] = d->physCol(cols.b.at(i));
            }
        }
        const double *data = d->values.constData();
        const qptrdiff stride = d->pc;
        // colorOf() with the range worked out once.
        const bool logc = d->logColors, ranged = std::isfinite(d->lo) && std::isfinite(d->hi);
        const double lo = d->lo, k = d->hi > d->lo ? (ColorMapSeriesPrivate::kLutSize - 1) / (d->hi - d->lo) : 0;
        const QRgb *lut = d->lut.constData();
        auto colorOf = [=](double v) -> QRgb {
            if (logc) {
                if (!(v > 0))
                    return 0;
                v = std::log10(v);
            } else if (std::isnan(v)) {
                return 0;
            }
            if (!ranged)
                return 0;
            double u = (v - lo) * k + 0.5;
            if (!(u >= 0))
                u = 0;
            else if (u > ColorMapSeriesPrivate::kLutSize - 1)
                u = ColorMapSeriesPrivate::kLutSize - 1;
            return lut[int(u)];
        };
        for (int j = 0; j < ih; ++j) {
            QRgb *line = reinterpret_cast<QRgb *>(d->cache.scanLine(j));
            const int r = rows.cell.at(j);
            if (r < 0) {
                std::memset(line, 0, sizeof(QRgb) * std::size_t(iw));
                continue;
            }
            if (!smooth && j > 0 && r == rows.cell.at(j - 1)) {
                std::memcpy(line, d->cache.constScanLine(j - 1), sizeof(QRgb) * std::size_t(iw));
                continue;
            }
            const double *src = data + d->physRow(r) * stride;
            if (!smooth) {
                int last = -2;
                QRgb colour = 0;
                for (int i = 0; i < iw; ++i) {
                    const int c = pcol.at(i);
                    if (c != last) {
                        last = c;
                        colour = c < 0 ? 0 : colorOf(src[c]);
                    }
                    line[i] = colour;
                }
                continue;
            }
            const double *ra = data + d->physRow(rows.a.at(j)) * stride;
            const double *rb = data + d->physRow(rows.b.at(j)) * stride;
            const double fy = rows.f.at(j);
            for (int i = 0; i < iw; ++i) {
                if (pcol.at(i) < 0) {
                    line[i] = 0;
                    continue;
                }
                const double fx = cols.f.at(i);
                const double v00 = ra[pa.at(i)], v01 = ra[pb.at(i)], v10 = rb[pa.at(i)], v11 = rb[pb.at(i)];
                double v = (v00 * (1 - fx) + v01 * fx) * (1 - fy) + (v10 * (1 - fx) + v11 * fx) * fy;
                // A blend with a missing or infinite neighbour keeps the cell's own value.
                if (!std::isfinite(v))
                    v = src[pcol.at(i)];
                line[i] = colorOf(v);
            }
        }
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawImage(target, d->cache);
    painter->restore();
}
