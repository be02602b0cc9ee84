#include "histogramseries.h"
#include "histogramseries_p.h"
#include "chartseries_p.h"
#include "geometry_p.h"
#include "seriesicon_p.h"

#include "axis.h"

#include <QCoreApplication>
#include <QPainter>
#include <QtDebug>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxBins = 100000;
// Below this many values the quartiles say too little for a width.
constexpr size_t kFewValues = 8;

int sturges(size_t n)
{
    return int(std::ceil(std::log2(double(n)))) + 1;
}

// The interquartile range by nearest rank, of the n values in [lo, hi]
// (lo < hi). Counting into fine buckets finds the two buckets that hold the
// quartiles, and only their values are selected from: two passes over the
// values, where selecting from all of them costs several times that.
double interquartileRange(const std::vector<double> &values, double lo, double hi, size_t n)
{
    constexpr int kBuckets = 4096;
    const double scale = kBuckets / (hi - lo);
    // A range past the largest double is taken in halves; one too narrow
    // for the scale puts every value in one bucket, which stays right, if
    // slow.
    const bool plain = std::isfinite(scale) && scale > 0;
    const double half = 0.5 * lo, halfScale = kBuckets / (0.5 * hi - half);
    const auto bucket = [&](double v) {
        return plain ? qMin(int((v - lo) * scale), kBuckets - 1)
                     : HistogramSeriesPrivate::binOf((0.5 * v - half) * halfScale, kBuckets - 1);
    };
    const auto inside = [&](double v) { return v >= lo && v <= hi; };
    std::vector<size_t> counts(kBuckets, 0);
    for (const double v : values)
        if (inside(v))
            ++counts[size_t(bucket(v))];
    const size_t ranks[2] = {(n - 1) / 4, (3 * (n - 1)) / 4};
    int holding[2] = {0, 0};
    size_t before[2] = {0, 0};
    size_t run = 0;
    for (int b = 0, q = 0; b < kBuckets && q < 2; ++b) {
        while (q < 2 && ranks[q] < run + counts[size_t(b)]) {
            holding[q] = b;
            before[q] = run;
            ++q;
        }
        run += counts[size_t(b)];
    }
    std::vector<double> first, third;
    for (const double v : values) {
        if (!inside(v))
            continue;
        const int b = bucket(v);
        if (b == holding[0])
            first.push_back(v);
        if (b == holding[1])
            third.push_back(v);
    }
    const auto select = [](std::vector<double> &v, size_t k) {
        std::nth_element(v.begin(), v.begin() + qptrdiff(k), v.end());
        return v[k];
    };
    return select(third, ranks[1] - before[1]) - select(first, ranks[0] - before[0]);
}

} // namespace

void HistogramSeriesPrivate::relayout()
{
    stale = false;
    binned = 0;
    total = 0;
    count = 0;
    counts.clear();
    widened = false;
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    size_t n = 0;
    for (const double v : values) {
        if (fixedRange && !(v >= rangeLower && v <= rangeUpper))
            continue;
        lo = v < lo ? v : lo;
        hi = v > hi ? v : hi;
        ++n;
    }
    if (n == 0) {
        binned = values.size();
        return;
    }
    if (fixedRange) {
        lo = rangeLower;
        hi = rangeUpper;
    }
    if (rule == HistogramSeries::GivenWidth) {
        double k0 = fixedRange ? 0.0 : std::floor(lo / givenWidth);
        const double origin = fixedRange ? lo : k0 * givenWidth;
        const double bins = fixedRange ? std::ceil((hi - lo) / givenWidth) : std::floor(hi / givenWidth) - k0 + 1;
        if (bins <= kMaxBins) {
            count = qMax(1, int(bins));
            lower = origin;
            step = givenWidth;
            upper = fixedRange ? hi : (k0 + count) * givenWidth;
        } else {
            if (!warnedWidth)
                qWarning("HistogramSeries: bin width %g needs more than %d bins; the bins are widened", givenWidth, kMaxBins);
            warnedWidth = true;
            count = kMaxBins;
            lower = lo;
            upper = hi;
            step = stepOf(lo, hi, count);
        }
    } else {
        if (lo == hi) {
            // One value only: a range around it, wide enough to keep the
            // edges apart at its magnitude.
            const double h = qMax(1.0, std::fabs(lo) * 1e-6);
            lo -= h / 2;
            hi += h / 2;
            widened = true;
            count = rule == HistogramSeries::GivenCount ? givenCount : 1;
        } else if (rule == HistogramSeries::GivenCount) {
            count = givenCount;
        } else {
            const double iqr = n >= kFewValues ? interquartileRange(values, lo, hi, n) : 0.0;
            if (iqr > 0 && std::isfinite(iqr)) {
                const double width = 2 * iqr / std::cbrt(double(n));
                const double bins = std::ceil((hi - lo) / width);
                count = bins < kMaxBins ? qMax(1, int(bins)) : kMaxBins;
            } else {
                count = sturges(n);
            }
        }
        lower = lo;
        upper = hi;
        step = stepOf(lo, hi, count);
    }
    // Bins narrower than the smallest double would share their edges.
    if (!(step > 0)) {
        count = 1;
        step = upper - lower;
    }
    wide = !std::isfinite(upper - lower);
    counts.assign(size_t(count), 0);
}

bool HistogramSeriesPrivate::fitsLayout(double v) const
{
    if (count == 0)
        return false;
    if (fixedRange)
        return true;
    // A range put around equal values is no range of the data.
    return !widened && v >= lower && (v < upper || (v == upper && rule != HistogramSeries::GivenWidth));
}

void HistogramSeriesPrivate::binFrom(size_t first)
{
    const double inv = 1.0 / step;
    // Rare layouts at the ends of the double range take the careful way;
    // the usual one keeps the loop as lean as it was.
    if (wide || !std::isfinite(inv))
        binValuesFrom<true>(first, inv);
    else
        binValuesFrom<false>(first, inv);
}

template<bool careful>
void HistogramSeriesPrivate::binValuesFrom(size_t first, double inv)
{
    const double *v = values.data();
    qint64 *c = counts.data();
    const int last = count - 1;
    qint64 added = 0;
    for (size_t i = first, n = values.size(); i < n; ++i) {
        const double x = v[i];
        if (!(x >= lower && x <= upper))
            continue;
        int k = careful ? binOf(stepsTo(x), last) : qMin(int((x - lower) * inv), last);
        // Rounding may put a value on an edge into either neighbour; the
        // edges as drawn decide.
        if (k < last && x >= edge(k + 1))
            ++k;
        else if (k > 0 && x < edge(k))
            --k;
        ++c[k];
        ++added;
    }
    total += added;
    binned = values.size();
    valuesStale = true;
}

void HistogramSeriesPrivate::normalize()
{
    valuesStale = false;
    binValues.resize(size_t(count));
    qint64 run = 0;
    for (int i = 0; i < count; ++i) {
        const qint64 c = counts[size_t(i)];
        run += c;
        switch (normalization) {
        case HistogramSeries::Counts:
            binValues[size_t(i)] = double(c);
            break;
        case HistogramSeries::Densities:
            binValues[size_t(i)] = total > 0 ? double(c) / (double(total) * (edge(i + 1) - edge(i))) : 0.0;
            break;
        case HistogramSeries::CumulativeCounts:
            binValues[size_t(i)] = double(run);
            break;
        }
    }
}

void HistogramSeriesPrivate::sync()
{
    if (!stale && binned < values.size()) {
        // New values inside fixed bins go straight in; any outside them
        // move the bins (the automatic rule always does).
        bool fits = rule != HistogramSeries::AutomaticBins;
        for (size_t i = binned; fits && i < values.size(); ++i)
            fits = fitsLayout(values[i]);
        if (!fits)
            stale = true;
    }
    if (stale)
        relayout();
    if (binned < values.size())
        binFrom(binned);
    if (valuesStale)
        normalize();
}

void HistogramSeriesPrivate::publish()
{
    flushQueued = false;
    sync();
    tavrin::BlockBounds box;
    if (count > 0) {
        const double top = *std::max_element(binValues.begin(), binValues.end());
        box.add(lower, 0.0);
        box.add(upper, top);
    }
    ChartSeriesPrivate *base = static_cast<ChartSeries *>(q)->d;
    base->minX = box.minX;
    base->minY = box.minY;
    base->maxX = box.maxX;
    base->maxY = box.maxY;
    const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    const bool moved = !same(box.minX, published.minX) || !same(box.maxX, published.maxX)
        || !same(box.minY, published.minY) || !same(box.maxY, published.maxY);
    published = box;
    if (base->owner) {
        const ChartSeriesPrivate::Busy busy(base);
        base->owner->seriesContentChanged(q, moved);
    }
}

void HistogramSeriesPrivate::queueFlush()
{
    if (flushQueued)
        return;
    flushQueued = true;
    QMetaObject::invokeMethod(
        q, [this] {
            if (flushQueued)
                publish();
        },
        Qt::QueuedConnection);
}

int HistogramSeriesPrivate::binAt(double x) const
{
    if (count == 0 || !(x >= lower && x <= upper))
        return -1;
    int k = binOf(stepsTo(x), count - 1);
    while (k > 0 && x < edge(k))
        --k;
    while (k < count - 1 && x >= edge(k + 1))
        ++k;
    return k;
}

HistogramSeries::HistogramSeries(QObject *parent)
    : ChartSeries(), d(new HistogramSeriesPrivate(this))
{
    setParent(parent);
}

HistogramSeries::~HistogramSeries()
{
    delete d;
}

int HistogramSeries::maximumBinCount()
{
    return kMaxBins;
}

void HistogramSeries::addValue(double v)
{
    if (!std::isfinite(v)) {
        ++d->nonFinite;
        return;
    }
    d->values.push_back(v);
    d->queueFlush();
}

void HistogramSeries::addValues(const QVector<double> &values)
{
    const size_t before = d->values.size();
    d->values.reserve(before + size_t(values.size()));
    for (const double v : values) {
        if (std::isfinite(v))
            d->values.push_back(v);
        else
            ++d->nonFinite;
    }
    if (d->values.size() != before)
        d->publish();
}

void HistogramSeries::addXY(double, double y)
{
    addValue(y);
}

int HistogramSeries::appendPoints(const double *, const double *y, int stride, int count)
{
    QVector<double> block(count);
    for (int i = 0; i < count; ++i)
        block[i] = y[qptrdiff(i) * stride];
    addValues(block);
    return count;
}

void HistogramSeries::clear()
{
    // Values a receiver of cleared() adds stay.
    const size_t finite = d->values.size();
    const qint64 nonFinite = d->nonFinite;
    ChartSeries::clear();
    d->values.erase(d->values.begin(), d->values.begin() + qptrdiff(finite));
    if (d->values.empty())
        d->values.shrink_to_fit();
    d->nonFinite -= nonFinite;
    d->stale = true;
    d->publish();
}

QVector<double> HistogramSeries::values() const
{
    return QVector<double>(d->values.begin(), d->values.end());
}

qint64 HistogramSeries::nonFiniteCount() const
{
    return d->nonFinite;
}

HistogramSeries::BinRule HistogramSeries::binRule() const
{
    return d->rule;
}

void HistogramSeries::setBinCount(int count)
{
    if (count <= 0) {
        qWarning("HistogramSeries::setBinCount: %d bins refused; the count must be at least 1", count);
        return;
    }
    if (count > kMaxBins) {
        qWarning("HistogramSeries::setBinCount: %d bins cut to %d", count, kMaxBins);
        count = kMaxBins;
    }
    if (d->rule == GivenCount && d->givenCount == count)
        return;
    d->rule = GivenCount;
    d->givenCount = count;
    d->stale = true;
    d->publish();
    emit binningChanged();
}

void HistogramSeries::setBinWidth(double width)
{
    if (!(width > 0) || !std::isfinite(width)) {
        qWarning("HistogramSeries::setBinWidth: width %g refused; it must be finite and above 0", width);
        return;
    }
    if (d->rule == GivenWidth && d->givenWidth == width)
        return;
    d->rule = GivenWidth;
    d->givenWidth = width;
    d->warnedWidth = false;
    d->stale = true;
    d->publish();
    emit binningChanged();
}

void HistogramSeries::setAutomaticBins()
{
    if (d->rule == AutomaticBins)
        return;
    d->rule = AutomaticBins;
    d->stale = true;
    d->publish();
    emit binningChanged();
}

void HistogramSeries::setRange(double lower, double upper)
{
    if (!std::isfinite(lower) || !std::isfinite(upper) || !(upper > lower)) {
        qWarning("HistogramSeries::setRange: range %g to %g refused", lower, upper);
        return;
    }
    if (d->fixedRange && d->rangeLower == lower && d->rangeUpper == upper)
        return;
    d->fixedRange = true;
    d->rangeLower = lower;
    d->rangeUpper = upper;
    d->stale = true;
    d->publish();
    emit binningChanged();
}

void HistogramSeries::clearRange()
{
    if (!d->fixedRange)
        return;
    d->fixedRange = false;
    d->stale = true;
    d->publish();
    emit binningChanged();
}

bool HistogramSeries::hasFixedRange() const
{
    return d->fixedRange;
}

HistogramSeries::Normalization HistogramSeries::normalization() const
{
    return d->normalization;
}

void HistogramSeries::setNormalization(Normalization n)
{
    if (d->normalization == n)
        return;
    d->normalization = n;
    d->valuesStale = true;
    d->publish();
    emit normalizationChanged(n);
}

QVector<HistogramSeries::Bin> HistogramSeries::bins() const
{
    d->sync();
    QVector<Bin> out(d->count);
    for (int i = 0; i < d->count; ++i)
        out[i] = Bin{d->edge(i), d->edge(i + 1), d->counts[size_t(i)], d->binValues[size_t(i)]};
    return out;
}

ChartSeries::seriesType HistogramSeries::type()
{
    return stHistogram;
}

int HistogramSeries::pointsCount()
{
    d->sync();
    return d->count;
}

QString HistogramSeries::dataAxisString()
{
    return QStringLiteral("X1;X2;Y");
}

QList<QVariant> HistogramSeries::point(int i)
{
    d->sync();
    if (i < 0 || i >= d->count)
        return QList<QVariant>();
    return {d->edge(i), d->edge(i + 1), d->binValues[size_t(i)]};
}

void HistogramSeries::draw(QPainter *painter)
{
    const Axis *xa = xAxis();
    const Axis *ya = yAxis();
    if (!painter || !xa || !ya)
        return;
    d->sync();
    if (d->count == 0)
        return;
    painter->setPen(ChartSeries::d->pen);
    painter->setBrush(ChartSeries::d->brush);
    const tavrin::ValueBox box = tavrin::ValueBox::visible(xa, ya);
    const double base = ya->isLogarithmic() ? ya->min() : 0.0;
    const double zero = ya->pointToPixel(base);
    const QRectF shown = tavrin::shownArea(painter);
    for (int i = 0; i < d->count; ++i) {
        const double lo = d->edge(i), hi = d->edge(i + 1), v = d->binValues[size_t(i)];
        if (!box.intersects(lo, v, hi - lo, base - v))
            continue;
        double left = xa->pointToPixel(lo), right = xa->pointToPixel(hi);
        double top = ya->pointToPixel(v), bottom = zero;
        if (std::isnan(left) || std::isnan(right) || std::isnan(top) || std::isnan(bottom))
            continue;
        // Bars far off the plot are cut just outside what shows, so their
        // fills stay cheap.
        tavrin::cutSpan(left, right, shown.left(), shown.right());
        tavrin::cutSpan(top, bottom, shown.top(), shown.bottom());
        painter->drawRect(QRectF(QPointF(left, top), QPointF(right, bottom)).normalized());
    }
}

QIcon HistogramSeries::icon(int size)
{
    return tavrin::shapeIcon(size, tavrin::IconShape::Bar, ChartSeries::d->pen, ChartSeries::d->brush);
}

QString HistogramSeries::tooltip(const QPoint &pos)
{
    const Axis *xa = xAxis();
    const Axis *ya = yAxis();
    if (!xa || !ya)
        return QString();
    const int i = indexAt(pos, 0);
    if (i < 0)
        return QString();
    QString text = tr("From: %1\r\nTo: %2\r\nCount: %3")
                       .arg(xa->labelString(d->edge(i)), xa->labelString(d->edge(i + 1)))
                       .arg(d->counts[size_t(i)]);
    if (d->normalization == Densities)
        text += tr("\r\nDensity: %1").arg(d->binValues[size_t(i)], 0, 'g', 4);
    else if (d->normalization == CumulativeCounts)
        text += tr("\r\nCumulative: %1").arg(qint64(d->binValues[size_t(i)]));
    return text;
}
