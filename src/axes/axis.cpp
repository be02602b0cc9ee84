#include "axis.h"
#include "axis_p.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QTransform>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// No plot has more ticks than this; it only bounds loops fed with values
// whose step no longer moves them in a sensible way.
constexpr int kMaxTicks = 10000;
// The label band never measures more labels than this.
constexpr int kMaxMeasuredLabels = 500;
// Pixel positions further out than this are skipped: they cannot be on
// screen, and the raster engine's fixed-point coordinates would overflow.
constexpr double kCoordLimit = 1 << 24;
// Pixels between the right axis' ticks and its labels.
constexpr int kRightLabelGap = 3;

// Seconds since 1970 as an unsigned 32-bit count: the value truncated toward
// zero and wrapped modulo 2^32, as a cast from a 64-bit integer would do.
uint toTimeT(double v)
{
    const double wrapped = std::fmod(std::trunc(v), 4294967296.0);
    return uint(qint64(wrapped < 0 ? wrapped + 4294967296.0 : wrapped));
}

QDateTime fromTimeT(uint t)
{
    return QDateTime::fromSecsSinceEpoch(qint64(t), Qt::LocalTime);
}

// 4294967295 stands for any date-time that has no unsigned 32-bit count.
uint timeTOf(const QDateTime &dt)
{
    if (!dt.isValid())
        return 0xffffffffu;
    const qint64 s = dt.toSecsSinceEpoch();
    return (s < 0 || s > 0xffffffffLL) ? 0xffffffffu : uint(s);
}

struct DatetimeStep {
    double span;
    double step;
};

// Calendar-friendly steps for date-time axes, by the span they start at.
constexpr DatetimeStep kDatetimeSteps[] = {
    {0, 1},         {60, 10},      {120, 15},     {300, 30},      {600, 60},
    {1800, 300},    {3600, 600},   {21600, 1800}, {86400, 3600},  {172800, 86400},
};

// 1, 2 or 5 times a power of ten, just below t: at least seven ticks
// over seven times t.
double niceStep(double t)
{
    double step = std::pow(10.0, std::floor(std::log10(t)));
    if (t > 5 * step)
        step = 5 * step;
    else if (t > 2 * step)
        step = 2 * step;
    return step;
}

// m * 10^e with the decimal fractions as exact as doubles allow, so that
// labels read 0.05 and not 0.05000000000000001.
double decadeValue(double m, double e)
{
    return e < 0 ? m / std::pow(10.0, -e) : m * std::pow(10.0, e);
}

} // namespace

AxisPrivate::AxisPrivate(Axis *axis, Axis::AxisType axisType)
    : scale(kNaN),
      firstTick(kNaN),
      type(axisType),
      titleFont(QStringLiteral("Arial"), 8),
      labelFont(QStringLiteral("Arial"), 8),
      q(axis),
      rawMin(kNaN),
      rawMax(kNaN),
      gridColor(Qt::white)
{
}

float AxisPrivate::labelKey(double v)
{
    if (v > double(FLT_MAX))
        return std::numeric_limits<float>::infinity();
    if (v < -double(FLT_MAX))
        return -std::numeric_limits<float>::infinity();
    return float(v);
}

double AxisPrivate::scaleMin() const
{
    if (!logarithmic)
        return q->min();
    return std::log10(rawMin) - margin;
}

double AxisPrivate::scaleSpan() const
{
    if (!logarithmic)
        return q->span();
    return (std::log10(rawMax) - std::log10(rawMin)) + 2 * margin;
}

void AxisPrivate::updateTransform()
{
    const double s = scaleSpan();
    // A non-finite span (infinite values reached the range) would leave a
    // NaN offset behind; keep the last usable transform instead.
    if (!q->isValid() || length == 0 || s == 0 || !std::isfinite(s) || pad > length)
        return;
    const double newScale = length / s;
    if (!std::isfinite(newScale))
        return;
    scale = newScale;
    margin = pad / scale;
    if (type == Axis::atLeft || type == Axis::atRight)
        offset = scaleMin() * scale + length;
    else
        offset = -scale * scaleMin();
}

void AxisPrivate::setLength(double extent)
{
    const double l = extent - 1.0;
    if (l == length)
        return;
    length = l;
    if (q->isValid())
        updateTransform();
}

void AxisPrivate::updateTicks()
{
    if (rawMin == rawMax || std::isnan(rawMin) || std::isnan(rawMax)) {
        tickCount = 0;
        updateSize();
        return;
    }
    if (logarithmic) {
        updateLogTicks();
        updateSize();
        return;
    }

    const double s = q->span();
    tickStep = fixedStep > 0 ? fixedStep : niceStep(s / (preferredTicks > 0 ? preferredTicks : 7.0));

    if (datetime && !(fixedStep > 0)) {
        for (int row = int(std::size(kDatetimeSteps)) - 1; row >= 0; --row) {
            if (kDatetimeSteps[row].span > s)
                continue;
            const double unit = kDatetimeSteps[row].step;
            if (unit > tickStep)
                tickStep = unit;
            else
                tickStep = std::floor(tickStep / unit) * unit;
            break;
        }
    }

    updateFirstTick();

    // Reversed or infinite ranges make this NaN or huge; keep it an int.
    const double count = std::ceil(s / tickStep);
    if (!(count >= 7))
        tickCount = 7;
    else if (count > double(std::numeric_limits<int>::max()))
        tickCount = std::numeric_limits<int>::max();
    else
        tickCount = int(count);

    updateSize();
}

void AxisPrivate::updateLogTicks()
{
    logTicks.clear();
    tickStep = 0;
    firstTick = kNaN;
    tickCount = 0;
    const double lo = scaleMin();
    const double hi = lo + scaleSpan();
    if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo))
        return;
    const double vlo = q->min();
    const double vhi = q->max();
    const double decades = hi - lo;
    if (decades <= 3.5) {
        for (double e = std::floor(lo); e <= hi; ++e) {
            for (double m : {1.0, 2.0, 5.0}) {
                const double v = decadeValue(m, e);
                if (v >= vlo && v <= vhi)
                    logTicks.append(v);
            }
        }
    } else {
        // Wide ranges label every k-th decade, a dozen ticks at most.
        const double k = std::max(1.0, std::ceil(decades / 10.0));
        for (double e = std::ceil(lo / k) * k; e <= hi; e += k)
            logTicks.append(decadeValue(1.0, e));
    }
    tickStep = 1.0;
    if (logTicks.size() < 3) {
        // Inside a decade powers of ten say too little: even steps in value
        // units, placed logarithmically.
        logTicks.clear();
        tickStep = niceStep((vhi - vlo) / 7.0);
        const double first = std::ceil(vlo / tickStep);
        for (int i = 0; i < 100; ++i) {
            const double v = (first + i) * tickStep;
            if (!(v <= vhi))
                break;
            logTicks.append(v);
        }
    }
    if (logTicks.isEmpty()) {
        tickStep = 0;
        return;
    }
    firstTick = logTicks.first();
    tickCount = logTicks.size();
}

void AxisPrivate::updateFirstTick()
{
    const double lo = q->min();
    // Midnights only make sense where the value is a 32-bit time count.
    if (datetime && tickStep >= 86400.0 && lo >= 0 && lo <= 4294967295.0) {
        QDateTime dt = fromTimeT(toTimeT(lo));
        dt.setTime(QTime(0, 0));
        double midnight = timeTOf(dt);
        if (midnight < lo)
            midnight = timeTOf(dt.addDays(1));
        firstTick = midnight;
    } else {
        firstTick = std::ceil(lo / tickStep) * tickStep;
    }
}

void AxisPrivate::updateSize()
{
    if (!visible) {
        size = 0;
        return;
    }
    if (type == Axis::atBottom || type == Axis::atTop) {
        size = QFontMetrics(labelFont).height() * labelLines;
    } else if (logarithmic) {
        size = 0;
        const QFontMetrics fm(labelFont);
        for (int i = 0; i < logTicks.size() && i < kMaxMeasuredLabels; ++i)
            size = qMax(size, fm.horizontalAdvance(q->labelString(logTicks.at(i))));
    } else {
        size = 0;
        const double step = tickStep;
        double v = std::floor(q->min() / step) * step;
        if (std::isfinite(step) && step > 0 && std::isfinite(v)) {
            const QFontMetrics fm(labelFont);
            const double half = step * 0.5;
            const int n = qMin(tickCount, kMaxMeasuredLabels);
            for (int i = 0; i < n; ++i) {
                const QString text = q->labelString(std::fabs(v) < half ? 0.0 : v);
                size = qMax(size, fm.horizontalAdvance(text));
                const double next = v + step;
                if (next == v || !std::isfinite(next))
                    break;
                v = next;
            }
        }
    }
    size += 5;
    // Right of the plot, a label starting at its tick would read as negative.
    if (type == Axis::atRight)
        size += kRightLabelGap;
    if (!title.isEmpty())
        size += QFontMetrics(titleFont).boundingRect(title).height() + 2;
}

Axis::Axis(AxisType type)
    : d(new AxisPrivate(this, type))
{
}

Axis::~Axis()
{
    delete d;
}

Axis::AxisType Axis::type() const
{
    return d->type;
}

double Axis::min() const
{
    if (d->logarithmic)
        return AxisPrivate::powerOfTen(std::log10(d->rawMin) - d->margin);
    return d->rawMin - d->margin;
}

double Axis::max() const
{
    if (d->logarithmic)
        return AxisPrivate::powerOfTen(std::log10(d->rawMax) + d->margin);
    return d->rawMax + d->margin;
}

double Axis::span() const
{
    if (d->logarithmic)
        return max() - min();
    return (d->rawMax - d->rawMin) + 2 * d->margin;
}

bool Axis::isValid() const
{
    return !std::isnan(d->rawMin) && !std::isnan(d->rawMax);
}

int Axis::size() const
{
    return d->size;
}

void Axis::setMin(double v)
{
    // NaN would make the axis invalid behind the caller's back, and so
    // would a value without a logarithm.
    if (std::isnan(v) || d->rawMin == v || (d->logarithmic && !(v > 0)))
        return;
    if (!d->scaleLock)
        d->rawMin = v;
    d->updateTransform();
    d->updateTicks();
}

void Axis::setMax(double v)
{
    if (std::isnan(v) || d->rawMax == v || (d->logarithmic && !(v > 0)))
        return;
    if (!d->scaleLock)
        d->rawMax = v;
    d->updateTransform();
    d->updateTicks();
}

void Axis::setRange(double min, double max)
{
    if (std::isnan(min) || std::isnan(max))
        return;
    if (d->logarithmic && !(min > 0 && max > 0))
        return;
    if (min == d->rawMin && max == d->rawMax)
        return;
    const double oldSpan = d->rawMax - d->rawMin;
    if (!d->scaleLock) {
        d->rawMin = min;
        d->rawMax = max;
    }
    d->updateTransform();
    // A pure pan keeps step and ticks; the caller adjusts afterwards.
    const double newSpan = d->rawMax - d->rawMin;
    if (newSpan != oldSpan || d->logarithmic)
        d->updateTicks();
}

bool Axis::update(double v)
{
    if (std::isnan(v) || (d->logarithmic && !(v > 0)))
        return false;
    bool changed = false;
    if (std::isnan(d->rawMin) && !d->scaleLock)
        d->rawMin = v;
    if (std::isnan(d->rawMax)) {
        if (!d->scaleLock)
            d->rawMax = v;
        changed = true;
        // A single value still needs a range of some width around it.
        if (d->rawMax == d->rawMin) {
            const double eps = d->rawMax == 0.0 ? 0.01 : 1e-9;
            if (d->logarithmic) {
                // Relative, so that the lower end stays positive.
                if (!d->scaleLock) {
                    d->rawMax *= 1 + eps;
                    d->rawMin /= 1 + eps;
                }
            } else if (!d->scaleLock) {
                d->rawMax += eps;
                d->rawMin -= eps;
            }
        }
    }
    if (d->rawMin > v) {
        changed = true;
        if (!d->scaleLock)
            d->rawMin = v;
    } else if (v > d->rawMax) {
        changed = true;
        if (!d->scaleLock)
            d->rawMax = v;
    } else if (!changed) {
        return false;
    }
    d->updateTransform();
    return changed;
}

void Axis::shift(double delta)
{
    if (!std::isfinite(delta))
        return;
    if (d->logarithmic) {
        const double f = std::pow(10.0, delta);
        if (!d->scaleLock && std::isfinite(f) && f > 0) {
            d->rawMin *= f;
            d->rawMax *= f;
        }
        d->updateLogTicks();
        return;
    }
    if (!d->scaleLock) {
        d->rawMin += delta;
        d->rawMax += delta;
    }
    d->updateFirstTick();
}

void Axis::reset()
{
    if (!d->scaleLock) {
        d->rawMin = kNaN;
        d->rawMax = kNaN;
    }
    d->firstTick = kNaN;
    d->scale = kNaN;
    d->tickCount = 0;
    d->size = 0;
    d->tickStep = 0;
    d->margin = 0;
    d->length = 0;
    d->logTicks.clear();
}

void Axis::setLogarithmic(bool on)
{
    if (on == d->logarithmic)
        return;
    d->logarithmic = on;
    // A range reaching zero has no logarithm; it is dropped so that the
    // chart's next rescale fills it from the positive values.
    if (on && !d->scaleLock && !(d->rawMin > 0 && d->rawMax > 0)) {
        d->rawMin = kNaN;
        d->rawMax = kNaN;
        d->scale = kNaN;
    }
    // The margin is kept in the transform's units, which just changed.
    d->margin = 0;
    d->updateTransform();
    d->updateTicks();
    if (!isValid()) {
        d->tickStep = 0;
        d->logTicks.clear();
    }
    emit logarithmicChanged(on);
}

bool Axis::isLogarithmic() const
{
    return d->logarithmic;
}

void Axis::setScaleLock(bool lock)
{
    d->scaleLock = lock;
}

bool Axis::scaleLock() const
{
    return d->scaleLock;
}

double Axis::pointToPixel(double v) const
{
    if (d->logarithmic)
        v = d->toScale(v);
    if (d->type == atLeft || d->type == atRight)
        return d->offset - v * d->scale;
    return d->offset + v * d->scale;
}

double Axis::pixelToPoint(double p) const
{
    if (d->scale == 0 || std::isnan(d->scale))
        return 0;
    const bool vertical = d->type == atLeft || d->type == atRight;
    const double u = vertical ? (d->offset - p) / d->scale : (p - d->offset) / d->scale;
    return d->fromScale(u);
}

double Axis::pointDeltaToPixel(double delta) const
{
    if (d->scale == 0 || std::isnan(d->scale))
        return 0;
    return delta * d->scale;
}

double Axis::pixelDeltaToPoint(double delta) const
{
    if (d->scale == 0 || std::isnan(d->scale))
        return 0;
    return delta / d->scale;
}

void Axis::setDatetime(bool on)
{
    if (on == d->datetime)
        return;
    d->datetime = on;
    if (on && d->datetimeFormat.isEmpty()) {
        d->datetimeFormat = QStringLiteral("dd.MM.yyyy\r\nhh:mm:ss");
        d->labelLines = 2;
    }
    d->updateSize();
}

bool Axis::isDatetime() const
{
    return d->datetime;
}

void Axis::setDatetimeFormat(const QString &format)
{
    d->datetimeFormat = format;
    d->labelLines = format.count(QLatin1Char('\r')) + 1;
    d->updateSize();
}

QString Axis::datetimeFormat() const
{
    return d->datetime ? d->datetimeFormat : QString();
}

void Axis::setCustomLabel(double v, const QString &text)
{
    // NaN has no place in an ordered map: it compares equal to every key.
    if (std::isnan(v))
        return;
    d->customLabels.insert(AxisPrivate::labelKey(v), text);
    d->updateSize();
}

void Axis::clearCustomLabels()
{
    d->customLabels.clear();
    d->updateSize();
}

QString Axis::labelString(double v) const
{
    if (!d->customLabels.isEmpty()) {
        if (std::isnan(v))
            return QString();
        return d->customLabels.value(AxisPrivate::labelKey(v));
    }
    if (d->datetime) {
        if (!std::isfinite(v))
            return QString();
        // Whole seconds from 1970 on read as before; other values are
        // the instant they stand for, to the millisecond.
        if (v >= 0 && v < 4294967296.0 && v == std::trunc(v))
            return fromTimeT(toTimeT(v)).toString(d->datetimeFormat);
        const double ms = std::round(v * 1000.0);
        if (!(std::fabs(ms) < 8.64e18))
            return QString();
        return QDateTime::fromMSecsSinceEpoch(qint64(ms), Qt::LocalTime).toString(d->datetimeFormat);
    }
    return QString::number(v, 'g', 6);
}

QString Axis::title() const
{
    return d->title;
}

void Axis::setTitle(const QString &title)
{
    d->title = title;
    d->updateSize();
}

void Axis::setGridColor(QColor color)
{
    d->gridColor = color;
}

QColor Axis::gridColor() const
{
    return d->gridColor;
}

void Axis::setLabelFont(const QFont &font)
{
    d->labelFont = font;
    d->updateSize();
}

QFont Axis::labelFont() const
{
    return d->labelFont;
}

void Axis::setTitleFont(const QFont &font)
{
    d->titleFont = font;
    d->updateSize();
}

QFont Axis::titleFont() const
{
    return d->titleFont;
}

void Axis::setFrameColor(QColor color)
{
    d->frameColor = color;
}

QColor Axis::frameColor() const
{
    return d->frameColor;
}

void AxisPrivate::drawMinorTicks(QPainter *painter, const QRect &r, bool grid) const
{
    const double step = tickStep;
    const double lo = q->min(), hi = q->max();
    if (!(step > 0) || !std::isfinite(lo) || !std::isfinite(hi) || !(step * scale >= 2.0 * (minorTicks + 1)))
        return;
    const QPen tickPen(QBrush(frameColor), 1, Qt::SolidLine);
    const QPen gridPen(QBrush(minorGridColor.isValid() ? minorGridColor : gridColor), 1, minorGridStyle);
    const double minor = step / (minorTicks + 1);
    const double first = std::floor(lo / step) * step;
    for (int i = 0; i < kMaxTicks; ++i) {
        const double major = first + i * step;
        if (major > hi)
            break;
        for (int k = 1; k <= minorTicks; ++k) {
            const double v = major + k * minor;
            if (v < lo || v > hi)
                continue;
            const double offset = (v - lo) * scale;
            if (type == Axis::atBottom || type == Axis::atTop) {
                const int x = int(r.left() + offset);
                // Inside the frame, which the many minor lines would fray.
                if (grid && minorGrid) {
                    painter->setPen(gridPen);
                    painter->drawLine(x, r.top() + 1, x, r.bottom() - 1);
                }
                painter->setPen(tickPen);
                if (type == Axis::atTop)
                    painter->drawLine(x, r.top() - 3, x, r.top());
                else
                    painter->drawLine(x, r.bottom(), x, r.bottom() + 3);
            } else {
                const int y = int(r.bottom() - offset);
                if (grid && minorGrid) {
                    painter->setPen(gridPen);
                    painter->drawLine(r.left() + 1, y, r.right() - 1, y);
                }
                painter->setPen(tickPen);
                if (type == Axis::atRight)
                    painter->drawLine(r.right(), y, r.right() + 3, y);
                else
                    painter->drawLine(r.left() - 3, y, r.left(), y);
            }
        }
    }
}

int Axis::padding() const
{
    return int(d->pad);
}

void Axis::setPadding(int pixels)
{
    pixels = qMax(0, pixels);
    if (pixels == int(d->pad))
        return;
    d->pad = pixels;
    d->updateTransform();
    d->updateTicks();
    emit paddingChanged(pixels);
    emit axisChanged();
}

bool Axis::isVisible() const
{
    return d->visible;
}

void Axis::setVisible(bool on)
{
    if (on == d->visible)
        return;
    d->visible = on;
    d->updateSize();
    emit visibleChanged(on);
    emit axisChanged();
}

// Each tick or grid setter: store, recompute, tell the chart.
template <typename T> static bool changeTicks(Axis *axis, AxisPrivate *d, T &field, T value)
{
    if (field == value)
        return false;
    field = value;
    d->updateTicks();
    emit axis->ticksChanged();
    emit axis->axisChanged();
    return true;
}

int Axis::preferredTickCount() const
{
    return d->preferredTicks;
}

void Axis::setPreferredTickCount(int count)
{
    changeTicks(this, d, d->preferredTicks, qMax(0, count));
}

double Axis::tickStep() const
{
    return d->fixedStep;
}

void Axis::setTickStep(double step)
{
    changeTicks(this, d, d->fixedStep, std::isfinite(step) && step > 0 ? step : 0.0);
}

int Axis::minorTickCount() const
{
    return d->minorTicks;
}

void Axis::setMinorTickCount(int count)
{
    changeTicks(this, d, d->minorTicks, qBound(0, count, 99));
}

bool Axis::minorGrid() const
{
    return d->minorGrid;
}

void Axis::setMinorGrid(bool on)
{
    changeTicks(this, d, d->minorGrid, on);
}

Qt::PenStyle Axis::gridStyle() const
{
    return d->gridStyle;
}

void Axis::setGridStyle(Qt::PenStyle style)
{
    changeTicks(this, d, d->gridStyle, style);
}

QColor Axis::minorGridColor() const
{
    return d->minorGridColor;
}

void Axis::setMinorGridColor(const QColor &color)
{
    changeTicks(this, d, d->minorGridColor, color);
}

Qt::PenStyle Axis::minorGridStyle() const
{
    return d->minorGridStyle;
}

void Axis::setMinorGridStyle(Qt::PenStyle style)
{
    changeTicks(this, d, d->minorGridStyle, style);
}

void Axis::draw(QPainter *painter, QRect *plot, bool grid)
{
    if (!painter || !plot || plot->isNull() || !plot->isValid())
        return;
    const QRect r = *plot;
    painter->save();

    // The axes pair draws thin top and right edges, in the bottom and the
    // left axis' frame colour, and thick left and bottom ones.
    if (d->type == atBottom || d->type == atLeft) {
        painter->setPen(QPen(QBrush(d->frameColor), 1, Qt::SolidLine));
        if (d->type == atBottom)
            painter->drawLine(r.topLeft(), r.topRight());
        else
            painter->drawLine(r.topRight(), r.bottomRight());
    }

    const QPen framePen(QBrush(d->frameColor), d->frameWidth, Qt::SolidLine);
    const QPen tickPen(QBrush(d->frameColor), 1, Qt::SolidLine);
    const QPen gridPen(QBrush(d->gridColor), 1, d->gridStyle);
    painter->setPen(framePen);
    painter->setFont(d->labelFont);
    if (d->type == atBottom)
        painter->drawLine(r.bottomLeft(), r.topLeft());
    else if (d->type == atLeft)
        painter->drawLine(r.bottomLeft(), r.bottomRight());
    else if (d->type == atTop)
        painter->drawLine(r.topLeft(), r.topRight());
    else
        painter->drawLine(r.bottomRight(), r.topRight());
    const bool horizontal = d->type == atBottom || d->type == atTop;
    if (!d->visible) {
        painter->restore();
        return;
    }

    int labelHeight = 0;
    const double step = d->tickStep;
    const bool log = d->logarithmic;
    if (d->minorTicks > 0 && !log)
        d->drawMinorTicks(painter, r, grid);
    if (step != 0 && (!log || !d->logTicks.isEmpty())) {
        // Positions come from the transform's units, ticks from the list on
        // a logarithmic axis.
        const double lo = log ? d->scaleMin() : min();
        const double scale = d->scale;
        const double half = step * 0.5;
        const double end = log ? d->logTicks.last() : d->rawMax + d->margin + step;
        double v = log ? d->logTicks.first() : d->firstTick;
        // Also covers a NaN scale: no tick survives then.
        if (!log && !(step * scale >= 2.0))
            v = end;
        // A first tick left behind by a pan would walk from far off-plot.
        if (!log && v < lo - step)
            v += std::ceil((lo - v) / step) * step;

        // NaN or infinite steps and ends come from reversed or infinite
        // ranges; they draw no ticks at all.
        const bool usable = std::isfinite(step) && std::isfinite(v) && std::isfinite(end)
                            && std::isfinite(lo) && std::isfinite(scale);
        const QFontMetrics fm(d->labelFont);
        QRect lastLabel;
        bool heightKnown = false;
        for (int index = 0; usable && v <= end && index < kMaxTicks; ++index) {
            if (!log && std::fabs(v) < half)
                v = 0;
            const QString text = labelString(v);
            if (!heightKnown) {
                labelHeight = fm.height() * d->labelLines;
                heightKnown = true;
            }
            const int width = fm.size(Qt::TextExpandTabs, text).width() + 4;

            const double offset = ((log ? std::log10(v) : v) - lo) * scale;
            const double pos = horizontal ? r.left() + offset : r.bottom() - offset;
            QRect label;
            bool skip = !std::isfinite(pos);
            if (horizontal) {
                if (pos >= kCoordLimit)
                    break;
                // A first tick computed for a range that has since moved can
                // lie before the plot; it is not drawn.
                skip = skip || pos <= -kCoordLimit || pos < r.left() - 1;
                const int x = skip ? 0 : int(pos);
                if (!skip && x > r.right())
                    break;
                if (!skip) {
                    if (grid) {
                        painter->setPen(gridPen);
                        painter->drawLine(x, r.top(), x, r.bottom());
                    }
                    painter->setPen(tickPen);
                    if (d->type == atTop) {
                        painter->drawLine(x, r.top() - 5, x, r.top());
                        label = QRect(x - width / 2, r.top() - 5 - labelHeight, width, labelHeight);
                    } else {
                        painter->drawLine(x, r.bottom(), x, r.bottom() + 5);
                        label = QRect(x - width / 2, r.bottom() + 5, width, labelHeight);
                    }
                }
            } else {
                if (pos <= -kCoordLimit)
                    break;
                skip = skip || pos >= kCoordLimit || pos > r.bottom() + 1;
                const int y = skip ? 0 : int(pos);
                if (!skip && y < r.top())
                    break;
                if (!skip) {
                    if (grid) {
                        painter->setPen(gridPen);
                        painter->drawLine(r.left(), y, r.right(), y);
                    }
                    painter->setPen(tickPen);
                    if (d->type == atRight) {
                        painter->drawLine(r.right(), y, r.right() + 5, y);
                        label = QRect(r.right() + 5 + kRightLabelGap, y - labelHeight / 2, width,
                                      labelHeight);
                    } else {
                        painter->drawLine(r.left() - 5, y, r.left(), y);
                        label = QRect(r.left() - 5 - width, y - labelHeight / 2, width, labelHeight);
                    }
                }
            }

            if (!skip && !text.isEmpty() && !label.intersects(lastLabel)) {
                const int align = d->type == atBottom ? int(Qt::AlignHCenter | Qt::AlignTop)
                                  : d->type == atTop   ? int(Qt::AlignHCenter | Qt::AlignBottom)
                                  : d->type == atRight ? int(Qt::AlignLeft)
                                                       : int(Qt::AlignRight);
                if (d->textColor.isValid())
                    painter->setPen(d->textColor);
                painter->drawText(label, align, text);
                lastLabel = label;
            }

            if (log) {
                if (index + 1 >= d->logTicks.size())
                    break;
                v = d->logTicks.at(index + 1);
                continue;
            }
            // Values so large that the step is below their precision
            // would otherwise never reach the end.
            const double next = v + step;
            if (next == v)
                break;
            v = next;
        }
    }

    if (!d->title.isEmpty()) {
        painter->setFont(d->titleFont);
        if (d->textColor.isValid())
            painter->setPen(d->textColor);
        QRect box = QFontMetrics(d->titleFont).boundingRect(d->title);
        box.adjust(-1, 0, 1, 0);
        if (d->type == atBottom) {
            box.moveTopLeft(QPoint(r.left() + (r.width() - box.width()) / 2,
                                   r.bottom() + 7 + labelHeight));
            painter->drawText(box, Qt::AlignHCenter | Qt::AlignTop, d->title);
        } else if (d->type == atTop) {
            box.moveTopLeft(QPoint(r.left() + (r.width() - box.width()) / 2,
                                   r.top() - 7 - labelHeight - box.height()));
            painter->drawText(box, Qt::AlignHCenter | Qt::AlignTop, d->title);
        } else {
            box.moveTopLeft(QPoint(0, 0));
            QTransform t;
            // The right axis' title reads downwards, its foot toward the plot
            // as on the left.
            if (d->type == atRight) {
                t.translate(r.right() + d->size, r.top() + (r.height() - box.width()) / 2);
                t.rotate(90, Qt::ZAxis);
            } else {
                t.translate(r.left() - d->size, r.bottom() - (r.height() - box.width()) / 2);
                t.rotate(-90, Qt::ZAxis);
            }
            // Combined with the caller's transform so a scaled or offset
            // painter still gets the title beside its plot.
            painter->save();
            painter->setTransform(t, true);
            painter->drawText(box, Qt::AlignHCenter | Qt::AlignBottom, d->title);
            painter->restore();
        }
    }

    painter->restore();
}
