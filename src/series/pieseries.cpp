#include "pieseries.h"
#include "pieseries_p.h"
#include "chartseries_p.h"

#include "axis.h"
#include "axis_p.h"

#include <QCoreApplication>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// Slice colours for a chart that has no series colours of its own: its
// default cycle, without the repeated dark green.
const Qt::GlobalColor kSliceColors[] = {Qt::red,      Qt::darkGreen, Qt::blue,     Qt::cyan,
                                        Qt::magenta,  Qt::yellow,    Qt::darkRed,  Qt::darkBlue,
                                        Qt::darkCyan, Qt::darkMagenta, Qt::darkYellow, Qt::gray};

bool sameValue(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

// An angle brought into [0, 360).
double wrapDegrees(double a)
{
    a = std::fmod(a, 360.0);
    return a < 0 ? a + 360.0 : a;
}

} // namespace

bool PieSeriesPrivate::counts(const Slice &s) const
{
    return s.visible && std::isfinite(s.value) && s.value > 0;
}

QColor PieSeriesPrivate::colorOf(int index) const
{
    const QColor own = slices.at(index).color;
    if (own.isValid())
        return own;
    const ChartSeriesOwner *owner = static_cast<const ChartSeries *>(q)->d->owner;
    const QList<QColor> chart = owner ? owner->paletteColors() : QList<QColor>();
    if (!chart.isEmpty())
        return chart.at(index % chart.size());
    constexpr int n = int(sizeof kSliceColors / sizeof kSliceColors[0]);
    return QColor(kSliceColors[index % n]);
}

QString PieSeriesPrivate::labelText(int index) const
{
    const Slice &s = slices.at(index);
    QString numbers;
    if (labelContent & PieSeries::lcValue)
        numbers = QString::number(s.value, 'g', 6);
    if (labelContent & PieSeries::lcPercentage) {
        const QString p = QString::number(q->percentage(index), 'f', 1) + QLatin1Char('%');
        numbers = numbers.isEmpty() ? p : numbers + QStringLiteral(" (") + p + QLatin1Char(')');
    }
    QString label;
    if (labelContent & PieSeries::lcLabel)
        label = s.label.simplified();
    if (label.isEmpty())
        return numbers;
    return numbers.isEmpty() ? label : label + QLatin1Char(' ') + numbers;
}

QSizeF PieSeriesPrivate::plotSize() const
{
    const Axis *x = q->xAxis();
    const Axis *y = q->yAxis();
    if (!x || !y)
        return QSizeF();
    return QSizeF(x->d->length + 1, y->d->length + 1);
}

void PieSeriesPrivate::changed()
{
    if (ChartSeriesOwner *owner = static_cast<ChartSeries *>(q)->d->owner)
        owner->seriesContentChanged(q, false);
}

void PieSeriesPrivate::structureChanged()
{
    emit q->slicesChanged();
    changed();
}

PieSeries::PieSeries()
    : ChartSeries(), d(new PieSeriesPrivate(this))
{
}

PieSeries::~PieSeries()
{
    delete d;
}

int PieSeries::addSlice(const QString &label, double value, const QColor &color)
{
    PieSeriesPrivate::Slice s;
    s.label = label;
    s.value = value;
    s.color = color;
    d->slices.append(s);
    d->structureChanged();
    return d->slices.size() - 1;
}

void PieSeries::addSlices(const QStringList &labels, const QVector<double> &values)
{
    if (values.isEmpty())
        return;
    d->slices.reserve(d->slices.size() + values.size());
    for (int i = 0; i < values.size(); ++i) {
        PieSeriesPrivate::Slice s;
        s.label = labels.value(i);
        s.value = values.at(i);
        d->slices.append(s);
    }
    d->structureChanged();
}

int PieSeries::appendPoints(const double *x, const double *y, int stride, int count)
{
    Q_UNUSED(x);
    if (count <= 0)
        return 0;
    QVector<double> values(count);
    for (int i = 0; i < count; ++i)
        values[i] = y[qsizetype(i) * stride];
    addSlices(QStringList(), values);
    return count;
}

void PieSeries::removeSlice(int index)
{
    if (index < 0 || index >= d->slices.size())
        return;
    d->slices.remove(index);
    d->structureChanged();
}

int PieSeries::sliceCount() const
{
    return d->slices.size();
}

double PieSeries::value(int index) const
{
    return index >= 0 && index < d->slices.size() ? d->slices.at(index).value : qQNaN();
}

void PieSeries::setValue(int index, double value)
{
    if (index < 0 || index >= d->slices.size() || sameValue(d->slices.at(index).value, value))
        return;
    d->slices[index].value = value;
    d->changed();
}

void PieSeries::setValues(const QVector<double> &values)
{
    bool any = false;
    const int n = std::min(int(values.size()), int(d->slices.size()));
    for (int i = 0; i < n; ++i) {
        if (!sameValue(d->slices.at(i).value, values.at(i))) {
            d->slices[i].value = values.at(i);
            any = true;
        }
    }
    if (any)
        d->changed();
}

QString PieSeries::sliceLabel(int index) const
{
    return index >= 0 && index < d->slices.size() ? d->slices.at(index).label : QString();
}

void PieSeries::setSliceLabel(int index, const QString &label)
{
    if (index < 0 || index >= d->slices.size() || d->slices.at(index).label == label)
        return;
    d->slices[index].label = label;
    d->structureChanged();
}

QColor PieSeries::sliceColor(int index) const
{
    return index >= 0 && index < d->slices.size() ? d->colorOf(index) : QColor();
}

void PieSeries::setSliceColor(int index, const QColor &color)
{
    if (index < 0 || index >= d->slices.size() || d->slices.at(index).color == color)
        return;
    d->slices[index].color = color;
    d->structureChanged();
}

bool PieSeries::isSliceVisible(int index) const
{
    return index >= 0 && index < d->slices.size() && d->slices.at(index).visible;
}

void PieSeries::setSliceVisible(int index, bool visible)
{
    if (index < 0 || index >= d->slices.size() || d->slices.at(index).visible == visible)
        return;
    d->slices[index].visible = visible;
    emit sliceVisibleChanged(index, visible);
    d->changed();
}

bool PieSeries::isExploded(int index) const
{
    return index >= 0 && index < d->slices.size() && d->slices.at(index).exploded;
}

void PieSeries::setExploded(int index, bool exploded)
{
    if (index < 0 || index >= d->slices.size() || d->slices.at(index).exploded == exploded)
        return;
    d->slices[index].exploded = exploded;
    d->changed();
}

double PieSeries::total() const
{
    double sum = 0;
    for (const PieSeriesPrivate::Slice &s : qAsConst(d->slices))
        if (d->counts(s))
            sum += s.value;
    return sum;
}

double PieSeries::percentage(int index) const
{
    if (index < 0 || index >= d->slices.size() || !d->counts(d->slices.at(index)))
        return qQNaN();
    const double whole = total();
    if (std::isfinite(whole))
        return 100.0 * d->slices.at(index).value / whole;
    // A whole too large for a double: shares of values scaled down.
    double largest = 0;
    for (const PieSeriesPrivate::Slice &s : qAsConst(d->slices))
        if (d->counts(s))
            largest = std::max(largest, s.value);
    double sum = 0;
    for (const PieSeriesPrivate::Slice &s : qAsConst(d->slices))
        if (d->counts(s))
            sum += s.value / largest;
    return 100.0 * (d->slices.at(index).value / largest) / sum;
}

int PieSeries::sliceAt(const QPointF &pos) const
{
    const PieSeriesPrivate::Geometry g = d->geometry(d->plotSize());
    for (const auto &w : g.wedges) {
        const QPointF v = pos - w.centre;
        const double dist = std::hypot(v.x(), v.y());
        if (dist > g.radius || dist < g.hole)
            continue;
        if (std::fabs(w.span) >= 360.0)
            return w.index;
        const double angle = qRadiansToDegrees(std::atan2(-v.y(), v.x()));
        const double along = w.span < 0 ? wrapDegrees(w.start - angle) : wrapDegrees(angle - w.start);
        if (along <= std::fabs(w.span))
            return w.index;
    }
    return -1;
}

#define PIE_SETTER(member, value, signal)                                                       \
    if (d->member == value)                                                                             \
        return;                                                                                         \
    d->member = value;                                                                                  \
    emit signal(value);                                                                                 \
    d->changed();

double PieSeries::holeSize() const
{
    return d->holeSize;
}

void PieSeries::setHoleSize(double fraction)
{
    const double f = std::isnan(fraction) ? 0.0 : qBound(0.0, fraction, 0.95);
    PIE_SETTER(holeSize, f, holeSizeChanged)
}

double PieSeries::startAngle() const
{
    return d->startAngle;
}

void PieSeries::setStartAngle(double degrees)
{
    if (!std::isfinite(degrees))
        return;
    PIE_SETTER(startAngle, degrees, startAngleChanged)
}

bool PieSeries::isClockwise() const
{
    return d->clockwise;
}

void PieSeries::setClockwise(bool on)
{
    PIE_SETTER(clockwise, on, clockwiseChanged)
}

double PieSeries::explodeOffset() const
{
    return d->explodeOffset;
}

void PieSeries::setExplodeOffset(double fraction)
{
    const double f = std::isnan(fraction) ? 0.0 : qBound(0.0, fraction, 0.5);
    PIE_SETTER(explodeOffset, f, explodeOffsetChanged)
}

PieSeries::LabelPosition PieSeries::labelPosition() const
{
    return d->labelPosition;
}

void PieSeries::setLabelPosition(LabelPosition position)
{
    PIE_SETTER(labelPosition, position, labelPositionChanged)
}

PieSeries::LabelContent PieSeries::labelContent() const
{
    return d->labelContent;
}

void PieSeries::setLabelContent(LabelContent content)
{
    PIE_SETTER(labelContent, content, labelContentChanged)
}

QFont PieSeries::labelFont() const
{
    return d->labelFont;
}

void PieSeries::setLabelFont(const QFont &font)
{
    PIE_SETTER(labelFont, font, labelFontChanged)
}

QRectF PieSeries::area() const
{
    return d->area;
}

void PieSeries::setArea(const QRectF &fraction)
{
    const QRectF unit(0, 0, 1, 1);
    const QRectF a = fraction.normalized().intersected(unit);
    if (!(a.width() > 0 && a.height() > 0))
        return;
    PIE_SETTER(area, a, areaChanged)
}

#undef PIE_SETTER

void PieSeries::addXY(double x, double y)
{
    Q_UNUSED(x);
    addSlice(QString(), y);
}

void PieSeries::clear()
{
    const bool had = !d->slices.isEmpty();
    ChartSeries::d->clearRowsBy([this](int k) { d->slices.remove(0, k); });
    if (had)
        d->structureChanged();
}

ChartSeries::seriesType PieSeries::type()
{
    return stPie;
}

int PieSeries::pointsCount()
{
    return d->slices.size();
}

QString PieSeries::dataAxisString()
{
    return QStringLiteral("Label;Value;Percentage");
}

QList<QVariant> PieSeries::point(int i)
{
    if (i < 0 || i >= d->slices.size())
        return {};
    const PieSeriesPrivate::Slice &s = d->slices.at(i);
    return {QVariant(s.label), QVariant(s.value), QVariant(percentage(i))};
}

QString PieSeries::tooltip(const QPoint &pos)
{
    const int i = sliceAt(QPointF(pos));
    if (i < 0)
        return QString();
    const PieSeriesPrivate::Slice &s = d->slices.at(i);
    return tr("%1\r\nValue: %2\r\nShare: %3 %")
        .arg(s.label, QString::number(s.value, 'g', 6), QString::number(percentage(i), 'f', 1));
}
