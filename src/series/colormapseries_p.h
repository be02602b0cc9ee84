#ifndef COLORMAPSERIES_P_H
#define COLORMAPSERIES_P_H

#include "colormapseries.h"

#include <QBrush>
#include <QImage>
#include <QRgb>
#include <QVector>

#include <limits>
#include <memory>

class Axis;

class TAVRIN_EXPORT ColorMapSeriesPrivate
{
public:
    explicit ColorMapSeriesPrivate(ColorMapSeries *series);
    ~ColorMapSeriesPrivate();

    static constexpr double nan() { return std::numeric_limits<double>::quiet_NaN(); }
    static constexpr int kLutSize = 1024;

    ColorMapSeries *const q;

    // The grid lives in a physical block of pc x pr doubles; logical cell
    // (c, r) sits at ((c0 + c) mod pc, (r0 + r) mod pr), so that a waterfall
    // drops its oldest row by moving r0 instead of every cell. The offsets
    // are non-zero only while that dimension is full (nc == pc, nr == pr),
    // so the logical columns of any physical row are its first nc.
    QVector<double> values;
    int pc = 0, pr = 0;
    int nc = 0, nr = 0;
    int c0 = 0, r0 = 0;
    double x0 = nan(), x1 = nan(), y0 = nan(), y1 = nan();
    int maxRows = 0, maxColumns = 0;

    // Finite minimum and maximum and smallest positive value per physical
    // row, so that the automatic colour range follows a scrolling map in
    // O(rows) per row instead of a scan of every cell.
    QVector<double> rowMin, rowMax, rowMinPositive;
    QVector<bool> rowDirty;
    bool anyRowDirty = false;

    QGradientStops stops;
    ColorMapSeries::Preset preset = ColorMapSeries::Viridis;
    QVector<QRgb> lut; // premultiplied, kLutSize entries
    bool autoRange = true;
    double fixedLo = nan(), fixedHi = nan();
    bool logColors = false;
    bool smooth = false;
    bool scaleVisible = true;
    Axis *scaleAxis = nullptr;

    // The colour range in the units colours are placed in (log10 on
    // logarithmic colours); rangeValid is dropped by every change of data.
    mutable bool rangeValid = false;
    mutable double lo = nan(), hi = nan();

    // The last rendering, reused while nothing it depends on changed.
    quint64 generation = 1;
    quint64 colors = 0; // counts changes of the colour table
    QImage cache;
    // The cache's pixels: kept at the largest size drawn, since fresh pages
    // cost more than a picture's colours when the plot's size changes.
    std::unique_ptr<QRgb[]> cachePixels;
    qint64 cachePixelsSize = 0;
    QVector<double> cacheKey; // what the picture depends on, but for a pan along x
    QVector<double> cacheView; // where the picture lies along x
    QVector<int> cacheColumns; // the physical column each image column shows

    // Each physical row's line of colours for the current columns, so that
    // a waterfall colours only its new row. `layout` counts changes that
    // move or refill every row; linesKey holds what the lines depend on.
    quint64 layout = 0;
    quint64 drawnGeneration = 0;
    std::unique_ptr<QRgb[]> lines;
    qint64 linesSize = 0;
    QVector<char> lineFresh;
    QVector<double> linesKey;
    QVector<int> linesColumns;
    void staleLine(int p)
    {
        if (p < lineFresh.size())
            lineFresh[p] = 0;
    }

    int physRow(int r) const { const int p = r0 + r; return p >= pr ? p - pr : p; }
    int physCol(int c) const { const int p = c0 + c; return p >= pc ? p - pc : p; }
    double at(int c, int r) const { return values.at(physRow(r) * qptrdiff(pc) + physCol(c)); }
    double cellWidth() const { return (x1 - x0) / nc; }
    double cellHeight() const { return (y1 - y0) / nr; }

    void buildLut();
    void updateRange() const;
    void rowStats(int p);
    void markRow(int p, double oldValue, double newValue);
    void cleanRows();
    // Copies the logical grid into a fresh block of newPc x newPr (offsets
    // back to zero); false, with a warning, when it would not fit.
    bool relayout(int newPc, int newPr);
    void dropRows(int k);
    void dropColumns(int k);
    bool checkSize(qint64 cells, const char *what) const;
    // The data or the colours changed: the chart renders again, and when the
    // extent moved it fits its axes first.
    void changed(bool extentMoved);
    void colorsChanged();
    int colorIndex(double v) const;
    // The scale bar's axis for a bar `length` pixels high: colour range,
    // logarithm and ticks.
    Axis *prepareScale(int length);
    // The smallest positive cell edge, for a logarithmic axis.
    double smallestPositiveEdge(bool y) const;
    QLinearGradient scaleGradient(const QPointF &from, const QPointF &to) const;
    bool cellAt(double x, double y, int *c, int *r) const;
};

#endif // COLORMAPSERIES_P_H
