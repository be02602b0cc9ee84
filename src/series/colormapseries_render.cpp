// The colour map's drawing. A rendering resamples the grid
// straight into an image of the plot's device pixels through a colour
// table: its cost follows the pixels covered, not the cells, no image of
// the whole grid is kept (a value and a cell image would take 12 bytes a
// cell), and vector outputs get the same single image at their resolution.
#include "colormapseries.h"
#include "colormapseries_p.h"

#include "axis.h"
#include "axis_p.h"
#include "chartseries_p.h"

#include <QPainter>
#include <QPixmap>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The most pixels one rendering makes; a larger output (a print at a very
// high resolution) gets a coarser image.
constexpr double kMaxImagePixels = 32.0 * 1024 * 1024;

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

// The colour of a value with the range worked out once per rendering.
struct Palette
{
    explicit Palette(const ColorMapSeriesPrivate *d)
        : log(d->logColors), lut(d->lut.constData()), lo(d->lo)
    {
        const double span = d->hi - d->lo;
        ranged = std::isfinite(d->lo) && std::isfinite(d->hi);
        flat = !(span > 0) || !std::isfinite(span);
        k = flat ? 0 : (ColorMapSeriesPrivate::kLutSize - 1) / span;
    }
    template <bool Log>
    QRgb color(double v) const
    {
        if (Log) {
            if (!(v > 0))
                return 0;
            v = std::log10(v);
        } else if (std::isnan(v)) {
            return 0;
        }
        if (flat)
            return ranged ? lut[0] : 0;
        // Infinities clamp to the ends like any value beyond the range.
        double u = (v - lo) * k + 0.5;
        u = u < 0 ? 0 : u;
        u = u > ColorMapSeriesPrivate::kLutSize - 1 ? ColorMapSeriesPrivate::kLutSize - 1 : u;
        return lut[int(u)];
    }
    bool log, ranged = false, flat = true;
    const QRgb *lut;
    double lo, k = 0;
};

// One output line of nearest cells; every pixel is looked up, which keeps
// the loop free of branches that a downsampled grid would mispredict.
template <bool Log>
void nearestRow(QRgb *line, const double *src, const int *cols, int n, const Palette &palette)
{
    for (int i = 0; i < n; ++i) {
        const int c = cols[i];
        line[i] = c < 0 ? 0 : palette.color<Log>(src[c]);
    }
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
        const bool horizontal = axis->type() == Axis::atBottom || axis->type() == Axis::atTop;
        const double edge = horizontal ? 1 : 2;
        double p = axis->pointToPixel(a), q = axis->pointToPixel(b);
        // An end with no logarithm lies beyond the axis' low end.
        const double low = horizontal ? -1e9 : 1e9;
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
    // A pan's new span may differ from the old in the last bit; the columns
    // it keeps are checked cell by cell instead.
    const QVector<double> key{double(d->generation), top, double(iw), double(ih), sx, sy, dy,
                              ya->min(), ya->max(), w, h,
                              double(xa->isLogarithmic()), double(ya->isLogarithmic()), d->lo, d->hi};
    // The extent's left edge within the image, in device pixels.
    const double edge = xa->pointToPixel(d->x0) * sx + dx - left;
    const QVector<double> view{left, dx, xa->min(), edge};
    const bool same = key == d->cacheKey && !d->cache.isNull();
    if (!same || view != d->cacheView) {
        // A pan along a linear axis moves the picture by whole pixels: the
        // columns that still show the same cells are moved, not redrawn.
        const bool pan = same && !d->smooth && !xa->isLogarithmic() && std::isfinite(edge)
            && std::isfinite(d->cacheView.last());
        const int shift = pan ? int(std::lround(edge - d->cacheView.last())) : 0;
        d->cacheKey = key;
        d->cacheView = view;
        if (d->cache.width() != iw || d->cache.height() != ih) {
            if (d->cachePixelsSize < qint64(iw) * ih) {
                d->cache = QImage();
                d->cachePixels.reset(new QRgb[std::size_t(iw) * std::size_t(ih)]);
                d->cachePixelsSize = qint64(iw) * ih;
            }
            d->cache = QImage(reinterpret_cast<uchar *>(d->cachePixels.get()), iw, ih, iw * int(sizeof(QRgb)),
                              QImage::Format_ARGB32_Premultiplied);
        }
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
        const Palette palette(d);
        const int *cols0 = pcol.constData();
        // The columns a pan leaves to draw: those that moved in, and any
        // whose cell rounding changed.
        QVector<int> redo;
        bool moved = pan && std::abs(shift) < iw && d->cacheColumns.size() == iw;
        for (int i = 0; moved && i < iw; ++i) {
            const int o = i - shift;
            if (o < 0 || o >= iw || d->cacheColumns.at(o) != pcol.at(i))
                redo.append(i);
        }
        moved = moved && redo.size() < iw / 2;
        d->cacheColumns = pcol;
        if (moved) {
            for (int j = 0; j < ih; ++j) {
                QRgb *line = reinterpret_cast<QRgb *>(d->cache.scanLine(j));
                const int r = rows.cell.at(j);
                if (r < 0)
                    continue; // clear before, clear now
                if (shift > 0)
                    std::memmove(line + shift, line, sizeof(QRgb) * std::size_t(iw - shift));
                else if (shift < 0)
                    std::memmove(line, line - shift, sizeof(QRgb) * std::size_t(iw + shift));
                const double *src = data + d->physRow(r) * stride;
                for (int i : qAsConst(redo))
                    line[i] = cols0[i] < 0 ? 0 : palette.log ? palette.color<true>(src[cols0[i]]) : palette.color<false>(src[cols0[i]]);
            }
        }
        // Lines of colours per physical row, for nearest cells: valid while
        // the columns, the colours and the row stay.
        // They are made once the data changes under the same columns and
        // colours: a map drawn once, or once per pan or zoom step, pays
        // neither their memory nor its first touch (page faults cost more
        // than the colours).
        const qint64 lineCells = qint64(d->pr) * iw;
        const bool dataChanged = d->generation != d->drawnGeneration;
        d->drawnGeneration = d->generation;
        bool useLines = !moved && !smooth && lineCells <= kMaxImagePixels && (dataChanged || d->lines);
        if (useLines) {
            const QVector<double> linesKey{double(d->layout), double(d->colors), d->lo, d->hi, double(palette.log),
                                           double(iw), double(d->pr)};
            if (linesKey != d->linesKey || pcol != d->linesColumns) {
                d->linesKey = linesKey;
                d->linesColumns = pcol;
                d->lineFresh.fill(0, d->pr);
                useLines = false;
            }
        }
        if (useLines) {
            if (d->linesSize != lineCells) {
                d->lines.reset(new QRgb[std::size_t(lineCells)]); // untouched until a row is drawn
                d->linesSize = lineCells;
                d->lineFresh.fill(0, d->pr);
            }
        }
        for (int j = 0; !moved && j < ih; ++j) {
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
            if (useLines) {
                const int p = d->physRow(r);
                QRgb *cached = d->lines.get() + qptrdiff(p) * iw;
                if (!d->lineFresh.at(p)) {
                    if (palette.log)
                        nearestRow<true>(cached, src, cols0, iw, palette);
                    else
                        nearestRow<false>(cached, src, cols0, iw, palette);
                    d->lineFresh[p] = 1;
                }
                std::memcpy(line, cached, sizeof(QRgb) * std::size_t(iw));
                continue;
            }
            if (!smooth) {
                if (palette.log)
                    nearestRow<true>(line, src, cols0, iw, palette);
                else
                    nearestRow<false>(line, src, cols0, iw, palette);
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
                line[i] = palette.log ? palette.color<true>(v) : palette.color<false>(v);
            }
        }
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawImage(target, d->cache);
    painter->restore();
}
