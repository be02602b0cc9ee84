#include "pieseries.h"
#include "pieseries_p.h"
#include "chartseries_p.h"

#include "axis.h"
#include "axis_p.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// Slice colours for a chart that has no series colours of its own: its
// default cycle, without the repeated dark green.
const Qt::GlobalColor kSliceColors[] = {Qt::red,      Qt::darkGreen, Qt::blue,     Qt::cyan,
                                        Qt::magenta,  Qt::yellow,    Qt::darkRed,  Qt::darkBlue,
                                        Qt::darkCyan, Qt::darkMagenta, Qt::darkYellow, Qt::gray};

// Leader line: out from the circle, then across towards the label.
constexpr double kLeaderOut = 10;
constexpr double kLeaderAcross = 8;
constexpr double kEdge = 4; // kept free around the circle

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

PieSeriesPrivate::Geometry PieSeriesPrivate::geometry(const QSizeF &plot) const
{
    Geometry g;
    g.frame = QRectF(area.x() * plot.width(), area.y() * plot.height(), area.width() * plot.width(),
                     area.height() * plot.height());
    const double w = g.frame.width(), h = g.frame.height();
    if (!(w > 0 && h > 0))
        return g;
    // Shares are taken from values divided by the largest, so that a sum of
    // huge finite values cannot overflow.
    double largest = 0;
    bool exploded = false;
    for (const Slice &s : slices) {
        if (counts(s)) {
            largest = std::max(largest, s.value);
            exploded = exploded || s.exploded;
        }
    }
    if (!(largest > 0))
        return g;
    double sum = 0;
    for (const Slice &s : slices)
        if (counts(s))
            sum += s.value / largest;

    const double side = std::min(w, h);
    double r = side / 2 - kEdge;
    if (labelPosition == PieSeries::lpOutside && labelContent) {
        // Room for a leader line and a label beside the circle, and a line
        // of text above and below it; labels wider than a quarter of the
        // plot are elided rather than shrinking the pie to nothing.
        const QFontMetricsF fm(labelFont);
        const double thin = fm.height() / (M_PI * side) * sum; // a share too thin to be labelled
        double widest = 0;
        for (int i = 0; i < slices.size(); ++i) {
            const Slice &s = slices.at(i);
            if (counts(s) && s.value / largest >= thin)
                widest = std::max(widest, fm.horizontalAdvance(labelText(i)));
        }
        widest = std::min(widest, w / 4);
        r = std::min(w / 2 - kEdge - kLeaderOut - kLeaderAcross - widest - 2, h / 2 - kEdge - kLeaderOut - fm.height());
        r = std::max(r, side / 6);
    }
    if (exploded)
        r /= 1 + explodeOffset;
    if (r < 1)
        return g;
    g.centre = g.frame.center();
    g.radius = r;
    g.hole = r * holeSize;

    const double dir = clockwise ? -1 : 1;
    double a = 90 - startAngle;
    for (int i = 0; i < slices.size(); ++i) {
        const Slice &s = slices.at(i);
        if (!counts(s))
            continue;
        const double span = dir * 360.0 * (s.value / largest) / sum;
        QPointF c = g.centre;
        if (s.exploded) {
            const double mid = qDegreesToRadians(a + span / 2);
            c += QPointF(std::cos(mid), -std::sin(mid)) * (explodeOffset * r);
        }
        g.wedges.append({i, a, span, c});
        a += span;
    }
    return g;
}

void PieSeriesPrivate::changed()
{
    if (ChartSeriesOwner *owner = static_cast<ChartSeries *>(q)->d->owner)
        owner->seriesLookChanged(q);
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

QIcon PieSeries::sliceIcon(int index, int size) const
{
    QPixmap pixmap(qMax(size, 1), qMax(size, 1));
    pixmap.fill(Qt::transparent);
    if (index >= 0 && index < d->slices.size()) {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing, true);
        const QColor c = d->colorOf(index);
        p.setPen(c.darker(130));
        p.setBrush(c);
        p.drawEllipse(QRectF(1.5, 1.5, size - 3.0, size - 3.0));
    }
    return QIcon(pixmap);
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

void PieSeries::draw(QPainter *painter)
{
    if (!painter)
        return;
    const QSizeF plot = d->plotSize();
    const PieSeriesPrivate::Geometry g = d->geometry(plot);
    if (g.wedges.isEmpty())
        return;
    const ChartSeriesOwner *owner = ChartSeries::d->owner;
    const QPalette palette = owner ? owner->chartPalette() : QPalette();
    painter->save();
    // Outlines in the background's colour read as gaps between the slices.
    const QPen outline(palette.color(QPalette::Window), 1);
    const double r = g.radius, hole = g.hole;
    for (const auto &w : g.wedges) {
        const QRectF outer(w.centre - QPointF(r, r), QSizeF(2 * r, 2 * r));
        const QRectF inner(w.centre - QPointF(hole, hole), QSizeF(2 * hole, 2 * hole));
        QPainterPath path;
        if (std::fabs(w.span) >= 360.0 - 1e-9) {
            path.addEllipse(outer);
            if (hole > 0)
                path.addEllipse(inner);
            path.setFillRule(Qt::OddEvenFill);
        } else if (hole > 0) {
            path.arcMoveTo(outer, w.start);
            path.arcTo(outer, w.start, w.span);
            path.arcTo(inner, w.start + w.span, -w.span);
            path.closeSubpath();
        } else {
            path.moveTo(w.centre);
            path.arcTo(outer, w.start, w.span);
            path.closeSubpath();
        }
        // A slice of a few pixels of arc would be all outline.
        const bool wide = qDegreesToRadians(std::fabs(w.span)) * r >= 3;
        painter->setPen(wide ? outline : QPen(Qt::NoPen));
        painter->setBrush(d->colorOf(w.index));
        painter->drawPath(path);
    }

    if (d->labelPosition != lpNone && d->labelContent) {
        painter->setFont(d->labelFont);
        const QFontMetricsF fm(d->labelFont);
        const double lineHeight = fm.height();
        const bool inside = d->labelPosition == lpInside;
        const double along = inside ? (hole > 0 ? (r + hole) / 2 : r * 0.62) : r;
        const QColor ink = palette.color(QPalette::WindowText);
        QVector<QRectF> placed;
        for (const auto &w : g.wedges) {
            const double arc = qDegreesToRadians(std::fabs(w.span)) * std::max(along, r / 2);
            // Thin slices go without a label: ten thousand would be a smear.
            if (arc < lineHeight)
                continue;
            const QString text = d->labelText(w.index);
            if (text.isEmpty())
                continue;
            const double mid = qDegreesToRadians(w.start + w.span / 2);
            const QPointF out(std::cos(mid), -std::sin(mid));
            QRectF box;
            QString shown;
            if (inside) {
                const bool whole = std::fabs(w.span) >= 360.0 - 1e-9;
                const QPointF at = whole && hole <= 0 ? w.centre : w.centre + out * along;
                const double room = std::min(arc, hole > 0 ? 2 * hole + (r - hole) : 1.2 * r);
                shown = fm.elidedText(text, Qt::ElideRight, room);
                const double tw = fm.horizontalAdvance(shown);
                box = QRectF(at.x() - tw / 2, at.y() - lineHeight / 2, tw, lineHeight);
            } else {
                const QPointF p0 = w.centre + out * r;
                const QPointF p1 = w.centre + out * (r + kLeaderOut);
                const bool right = out.x() >= 0;
                const QPointF p2 = p1 + QPointF(right ? kLeaderAcross : -kLeaderAcross, 0);
                const double room = right ? g.frame.right() - p2.x() - 3 : p2.x() - g.frame.left() - 3;
                shown = fm.elidedText(text, Qt::ElideRight, room);
                const double tw = fm.horizontalAdvance(shown);
                box = QRectF(right ? p2.x() + 2 : p2.x() - 2 - tw, p2.y() - lineHeight / 2, tw, lineHeight);
                if (shown.isEmpty())
                    continue;
                bool overlaps = false;
                for (const QRectF &other : qAsConst(placed))
                    overlaps = overlaps || other.intersects(box);
                if (overlaps)
                    continue;
                painter->setPen(QPen(ink, 1));
                painter->setBrush(Qt::NoBrush);
                const QPointF leader[] = {p0, p1, p2};
                painter->drawPolyline(leader, 3);
            }
            if (shown.isEmpty())
                continue;
            bool overlaps = false;
            for (const QRectF &other : qAsConst(placed))
                overlaps = overlaps || other.intersects(box);
            if (overlaps)
                continue;
            placed.append(box);
            const QColor c = d->colorOf(w.index);
            painter->setPen(inside ? (qGray(c.rgb()) < 140 ? Qt::white : Qt::black) : ink);
            painter->drawText(box, Qt::AlignCenter | Qt::TextSingleLine, shown);
        }
    }
    painter->restore();
}

QIcon PieSeries::icon(int size)
{
    QPixmap pixmap(qMax(size, 1), qMax(size, 1));
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    const QRectF disc(1, 1, size - 2.0, size - 2.0);
    // Three wedges in the first slices' colours stand for the kind.
    for (int k = 0; k < 3; ++k) {
        p.setBrush(k < d->slices.size() ? d->colorOf(k) : fillColor().darker(100 + 30 * k));
        p.drawPie(disc, (90 - 120 * k) * 16, -120 * 16);
    }
    return QIcon(pixmap);
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
