// The colour map's grid: storage, streaming and the rows of cells. Colours
// are in colormapseries_colors.cpp, drawing in colormapseries_render.cpp.
#include "colormapseries.h"
#include "colormapseries_p.h"

#include "axis.h"
#include "chartseries_p.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstring>

ColorMapSeriesPrivate::ColorMapSeriesPrivate(ColorMapSeries *series)
    : q(series), stops(ColorMapSeries::presetStops(ColorMapSeries::Viridis)), scaleAxis(new Axis(Axis::atRight))
{
    // The bar's ends are the range's ends: no pad beyond them.
    scaleAxis->setPadding(0);
    buildLut();
}

ColorMapSeriesPrivate::~ColorMapSeriesPrivate()
{
    delete scaleAxis;
}

qint64 ColorMapSeries::maximumCells()
{
    return (qint64(1) << 31) / qint64(sizeof(double)) - 1;
}

bool ColorMapSeriesPrivate::checkSize(qint64 cells, const char *what) const
{
    if (cells <= ColorMapSeries::maximumCells())
        return true;
    qWarning("ColorMapSeries::%s: a grid of %lld cells exceeds the %lld a colour map holds; nothing changed",
             what, cells, ColorMapSeries::maximumCells());
    return false;
}

void ColorMapSeriesPrivate::rowStats(int p)
{
    double mn = nan(), mx = nan(), pos = nan();
    const double *v = values.constData() + qptrdiff(p) * pc;
    for (int c = 0; c < nc; ++c) {
        const double x = v[c];
        if (!std::isfinite(x))
            continue;
        if (!(x >= mn))
            mn = x;
        if (!(x <= mx))
            mx = x;
        if (x > 0 && !(x >= pos))
            pos = x;
    }
    rowMin[p] = mn;
    rowMax[p] = mx;
    rowMinPositive[p] = pos;
    rowDirty[p] = false;
}

// A cell of physical row p went from oldValue to newValue: a new extreme
// widens the row's figures at once, a lost one has the row counted again
// before the range is next needed.
void ColorMapSeriesPrivate::markRow(int p, double oldValue, double newValue)
{
    rangeValid = false;
    if (rowDirty.at(p))
        return;
    if (std::isfinite(oldValue)
        && (oldValue <= rowMin.at(p) || oldValue >= rowMax.at(p) || oldValue == rowMinPositive.at(p))) {
        rowDirty[p] = true;
        anyRowDirty = true;
        return;
    }
    if (!std::isfinite(newValue))
        return;
    if (!(newValue >= rowMin.at(p)))
        rowMin[p] = newValue;
    if (!(newValue <= rowMax.at(p)))
        rowMax[p] = newValue;
    if (newValue > 0 && !(newValue >= rowMinPositive.at(p)))
        rowMinPositive[p] = newValue;
}

void ColorMapSeriesPrivate::cleanRows()
{
    if (!anyRowDirty)
        return;
    for (int r = 0; r < nr; ++r) {
        const int p = physRow(r);
        if (rowDirty.at(p))
            rowStats(p);
    }
    anyRowDirty = false;
}

bool ColorMapSeriesPrivate::relayout(int newPc, int newPr)
{
    if (!checkSize(qint64(newPc) * newPr, "grow"))
        return false;
    QVector<double> block(newPc * newPr, nan());
    QVector<double> mn(newPr, nan()), mx(newPr, nan()), pos(newPr, nan());
    QVector<bool> dirty(newPr, false);
    for (int r = 0; r < nr; ++r) {
        const int p = physRow(r);
        double *dst = block.data() + qptrdiff(r) * newPc;
        const double *src = values.constData() + qptrdiff(p) * pc;
        // The logical columns are the physical ones from c0 on, wrapped.
        const int head = qMin(nc, pc - c0);
        std::memcpy(dst, src + c0, sizeof(double) * std::size_t(head));
        std::memcpy(dst + head, src, sizeof(double) * std::size_t(nc - head));
        mn[r] = rowMin.at(p);
        mx[r] = rowMax.at(p);
        pos[r] = rowMinPositive.at(p);
        dirty[r] = rowDirty.at(p);
    }
    values.swap(block);
    ++layout;
    rowMin.swap(mn);
    rowMax.swap(mx);
    rowMinPositive.swap(pos);
    rowDirty.swap(dirty);
    pc = newPc;
    pr = newPr;
    c0 = r0 = 0;
    return true;
}

void ColorMapSeriesPrivate::dropRows(int k)
{
    if (k <= 0)
        return;
    const double h = cellHeight();
    if (k >= nr) {
        y0 = y1 = nan();
        nr = 0;
    } else {
        y0 += k * h;
        if (nr == pr) {
            r0 = physRow(k);
            nr -= k;
        } else {
            nr -= k;
            r0 += k; // shifted back to the start by the relayout below
        }
    }
    // Keeps the offsets zero unless the dimension is full.
    if (r0 != 0 && nr != pr)
        relayout(pc, qMax(nr, 1));
    rangeValid = false;
}

void ColorMapSeriesPrivate::dropColumns(int k)
{
    if (k <= 0)
        return;
    const double w = cellWidth();
    if (k >= nc) {
        x0 = x1 = nan();
        nc = 0;
    } else {
        x0 += k * w;
        c0 = physCol(k);
        nc -= k;
    }
    if (c0 != 0 && nc != pc)
        relayout(qMax(nc, 1), pr);
    for (int r = 0; r < nr; ++r)
        rowDirty[physRow(r)] = true;
    anyRowDirty = true;
    rangeValid = false;
}

void ColorMapSeriesPrivate::changed(bool extentMoved)
{
    ++generation;
    if (extentMoved) {
        ChartSeriesPrivate *base = q->ChartSeries::d;
        const bool empty = nc == 0 || nr == 0;
        base->minX = empty ? nan() : x0;
        base->maxX = empty ? nan() : x1;
        base->minY = empty ? nan() : y0;
        base->maxY = empty ? nan() : y1;
    }
    ChartSeriesPrivate *base = q->ChartSeries::d;
    if (base->owner) {
        const ChartSeriesPrivate::Busy busy(base);
        base->owner->seriesContentChanged(q, extentMoved);
    }
}

ColorMapSeries::ColorMapSeries()
    : d(new ColorMapSeriesPrivate(this))
{
    connect(d->scaleAxis, &Axis::axisChanged, this, [this] { d->changed(false); });
}

ColorMapSeries::~ColorMapSeries()
{
    delete d;
}

bool ColorMapSeries::setData(const QVector<double> &values, int columns, int rows, double xMin, double xMax,
                             double yMin, double yMax)
{
    if (columns <= 0 || rows <= 0) {
        qWarning("ColorMapSeries::setData: %d x %d is not a grid; nothing changed", columns, rows);
        return false;
    }
    const qint64 cells = qint64(columns) * rows;
    if (!d->checkSize(cells, "setData"))
        return false;
    if (values.size() != cells) {
        qWarning("ColorMapSeries::setData: %d values do not fill %d x %d cells; nothing changed",
                 int(values.size()), columns, rows);
        return false;
    }
    if (!std::isfinite(xMin) || !std::isfinite(xMax) || !std::isfinite(yMin) || !std::isfinite(yMax)
        || !(xMin < xMax) || !(yMin < yMax) || !std::isfinite(xMax - xMin) || !std::isfinite(yMax - yMin)) {
        qWarning("ColorMapSeries::setData: the extent [%g, %g] x [%g, %g] is empty, reversed or not finite;"
                 " nothing changed",
                 xMin, xMax, yMin, yMax);
        return false;
    }
    // The old image and grid go before anything new is made.
    d->cache = QImage();
    d->values = values;
    d->pc = d->nc = columns;
    d->pr = d->nr = rows;
    d->c0 = d->r0 = 0;
    d->x0 = xMin;
    d->x1 = xMax;
    d->y0 = yMin;
    d->y1 = yMax;
    d->rowMin.fill(ColorMapSeriesPrivate::nan(), rows);
    d->rowMax.fill(ColorMapSeriesPrivate::nan(), rows);
    d->rowMinPositive.fill(ColorMapSeriesPrivate::nan(), rows);
    d->rowDirty.fill(true, rows);
    ++d->layout;
    d->anyRowDirty = true;
    d->rangeValid = false;
    if (d->maxRows > 0 && rows > d->maxRows)
        d->dropRows(rows - d->maxRows);
    if (d->maxColumns > 0 && columns > d->maxColumns)
        d->dropColumns(columns - d->maxColumns);
    d->changed(true);
    return true;
}

bool ColorMapSeries::setCell(int column, int row, double value)
{
    if (column < 0 || row < 0 || column >= d->nc || row >= d->nr) {
        qWarning("ColorMapSeries::setCell: (%d, %d) lies outside the %d x %d grid; nothing changed", column, row,
                 d->nc, d->nr);
        return false;
    }
    const int p = d->physRow(row);
    double &slot = d->values[p * qptrdiff(d->pc) + d->physCol(column)];
    const double old = slot;
    slot = value;
    d->markRow(p, old, value);
    d->staleLine(p);
    d->changed(false);
    return true;
}

double ColorMapSeries::cell(int column, int row) const
{
    if (column < 0 || row < 0 || column >= d->nc || row >= d->nr)
        return ColorMapSeriesPrivate::nan();
    return d->at(column, row);
}

int ColorMapSeries::columns() const { return d->nr ? d->nc : 0; }
int ColorMapSeries::rows() const { return d->nc ? d->nr : 0; }

bool ColorMapSeries::addRow(const QVector<double> &values)
{
    if (d->nc == 0 || d->nr == 0) {
        if (values.isEmpty()) {
            qWarning("ColorMapSeries::addRow: an empty row; nothing changed");
            return false;
        }
        return setData(values, values.size(), 1, 0, values.size(), 0, 1);
    }
    if (values.size() != d->nc) {
        qWarning("ColorMapSeries::addRow: a row of %d values for %d columns; nothing changed", int(values.size()),
                 d->nc);
        return false;
    }
    const double h = d->cellHeight();
    int p;
    bool dropped = false;
    if (d->maxRows > 0 && d->nr >= d->maxRows) {
        // Scrolling: the bottom row's storage takes the new row.
        if (d->pr != d->nr && !d->relayout(d->pc, d->nr))
            return false;
        p = d->r0;
        d->r0 = d->physRow(1);
        d->y0 += h;
        dropped = true;
    } else {
        if (d->nr == d->pr || d->r0 != 0) {
            int grown = d->nr > (1 << 29) ? d->nr + 1 : qMax(d->nr + 1, d->nr * 2);
            if (d->maxRows > 0)
                grown = qMin(grown, d->maxRows);
            if (!d->relayout(d->pc, grown))
                return false;
        }
        p = d->nr++;
    }
    d->y1 += h;
    // Logical column c lives at physical column c0 + c, wrapped.
    double *dst = d->values.data() + p * qptrdiff(d->pc);
    const int head = d->pc - d->c0;
    std::copy(values.constBegin(), values.constBegin() + qMin(head, d->nc), dst + d->c0);
    if (head < d->nc)
        std::copy(values.constBegin() + head, values.constEnd(), dst);
    d->rowStats(p);
    d->staleLine(p);
    d->rangeValid = false;
    const int first = (d->nr - 1) * d->nc;
    d->changed(true);
    const ChartSeriesPrivate::Busy busy(ChartSeries::d);
    if (dropped)
        emit pointsRemoved(d->nc);
    emit pointsAdded(first, d->nc);
    return true;
}

bool ColorMapSeries::addColumn(const QVector<double> &values)
{
    if (d->nc == 0 || d->nr == 0) {
        if (values.isEmpty()) {
            qWarning("ColorMapSeries::addColumn: an empty column; nothing changed");
            return false;
        }
        return setData(values, 1, values.size(), 0, 1, 0, values.size());
    }
    if (values.size() != d->nr) {
        qWarning("ColorMapSeries::addColumn: a column of %d values for %d rows; nothing changed",
                 int(values.size()), d->nr);
        return false;
    }
    const double w = d->cellWidth();
    int c;
    if (d->maxColumns > 0 && d->nc >= d->maxColumns) {
        if (d->pc != d->nc && !d->relayout(d->nc, d->pr))
            return false;
        c = d->c0;
        d->c0 = d->physCol(1);
        d->x0 += w;
        for (int r = 0; r < d->nr; ++r) {
            const int p = d->physRow(r);
            double &slot = d->values[p * qptrdiff(d->pc) + c];
            const double old = slot;
            slot = values.at(r);
            d->markRow(p, old, slot);
        }
    } else {
        if (d->nc == d->pc || d->c0 != 0) {
            int grown = d->nc > (1 << 29) ? d->nc + 1 : qMax(d->nc + 1, d->nc * 2);
            if (d->maxColumns > 0)
                grown = qMin(grown, d->maxColumns);
            if (!d->relayout(grown, d->pr))
                return false;
        }
        c = d->nc++;
        for (int r = 0; r < d->nr; ++r) {
            const int p = d->physRow(r);
            d->values[p * qptrdiff(d->pc) + c] = values.at(r);
            d->markRow(p, ColorMapSeriesPrivate::nan(), values.at(r));
        }
    }
    d->x1 += w;
    d->rangeValid = false;
    ++d->layout;
    d->changed(true);
    return true;
}

void ColorMapSeries::setMaximumRows(int rows)
{
    rows = qMax(0, rows);
    if (rows == d->maxRows)
        return;
    d->maxRows = rows;
    if (rows > 0 && d->nr > rows && d->nc > 0) {
        const int k = d->nr - rows;
        d->dropRows(k);
        d->changed(true);
        const ChartSeriesPrivate::Busy busy(ChartSeries::d);
        emit pointsRemoved(k * d->nc);
    }
    emit maximumRowsChanged(rows);
}

int ColorMapSeries::maximumRows() const { return d->maxRows; }

void ColorMapSeries::setMaximumColumns(int columns)
{
    columns = qMax(0, columns);
    if (columns == d->maxColumns)
        return;
    d->maxColumns = columns;
    if (columns > 0 && d->nc > columns && d->nr > 0) {
        d->dropColumns(d->nc - columns);
        d->changed(true);
    }
    emit maximumColumnsChanged(columns);
}

int ColorMapSeries::maximumColumns() const { return d->maxColumns; }

void ColorMapSeries::addXY(double, double) {}

int ColorMapSeries::appendPoints(const double *, const double *, int, int) { return 0; }

void ColorMapSeries::clear()
{
    ChartSeries::clear();
    d->cache = QImage();
    d->values = QVector<double>();
    d->pc = d->pr = d->nc = d->nr = d->c0 = d->r0 = 0;
    d->x0 = d->x1 = d->y0 = d->y1 = ColorMapSeriesPrivate::nan();
    d->rowMin.clear();
    d->rowMax.clear();
    d->rowMinPositive.clear();
    d->rowDirty.clear();
    d->anyRowDirty = false;
    d->rangeValid = false;
    ++d->layout;
    ++d->generation;
}

ChartSeries::seriesType ColorMapSeries::type() { return stColorMap; }

int ColorMapSeries::pointsCount() { return d->nr ? d->nc * d->nr : 0; }

QString ColorMapSeries::dataAxisString() { return QStringLiteral("X;Y;Z"); }

QList<QVariant> ColorMapSeries::point(int i)
{
    if (i < 0 || i >= pointsCount())
        return QList<QVariant>();
    const int r = i / d->nc, c = i % d->nc;
    return QList<QVariant>{d->x0 + (c + 0.5) * d->cellWidth(), d->y0 + (r + 0.5) * d->cellHeight(), d->at(c, r)};
}

bool ColorMapSeriesPrivate::cellAt(double x, double y, int *c, int *r) const
{
    if (nc == 0 || nr == 0 || !(x >= x0 && x < x1 && y >= y0 && y < y1))
        return false;
    // Cells too thin for a double give no finite quotient.
    auto index = [](double u, int n) { return u >= 0 && u < n ? int(u) : u >= n ? n - 1 : 0; };
    *c = index((x - x0) / cellWidth(), nc);
    *r = index((y - y0) / cellHeight(), nr);
    return true;
}

double ColorMapSeries::valueAt(const QPoint &pos) const
{
    int c, r;
    if (!xAxis() || !yAxis()
        || !d->cellAt(xAxis()->pixelToPoint(pos.x() + 0.5), yAxis()->pixelToPoint(pos.y() + 0.5), &c, &r))
        return ColorMapSeriesPrivate::nan();
    return d->at(c, r);
}

QString ColorMapSeries::tooltip(const QPoint &pos)
{
    int c, r;
    if (!xAxis() || !yAxis()
        || !d->cellAt(xAxis()->pixelToPoint(pos.x() + 0.5), yAxis()->pixelToPoint(pos.y() + 0.5), &c, &r))
        return QString();
    const double v = d->at(c, r);
    if (std::isnan(v))
        return QString();
    return QCoreApplication::translate("ColorMapSeries", "X: %1\r\nY: %2\r\nZ: %3")
        .arg(xAxis()->labelString(d->x0 + (c + 0.5) * d->cellWidth()),
             yAxis()->labelString(d->y0 + (r + 0.5) * d->cellHeight()), d->scaleAxis->labelString(v));
}

double ColorMapSeriesPrivate::smallestPositiveEdge(bool y) const
{
    const double a = y ? y0 : x0, b = y ? y1 : x1;
    const int n = y ? nr : nc;
    if (!(b > 0) || n == 0)
        return nan();
    if (a > 0)
        return a;
    const double step = (b - a) / n;
    const double e = a + std::floor(-a / step + 1) * step;
    return e > 0 ? e : b;
}
