// What assistive technology finds under the chart: its visible series and
// their points, made one by one as a reader asks, never all at once.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "chartseries.h"
#include "colormapseries.h"
#include "colormapseries_p.h"
#include "ganttseries.h"
#include "ganttseries_p.h"
#include "hittest_p.h"
#include "pointseries.h"
#include "pointseries_p.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QPointer>

#include <cmath>

namespace {

QString kindText(ChartSeries *series)
{
    switch (series->type()) {
    case ChartSeries::stLine: return QCoreApplication::translate("ChartWidget", "line");
    case ChartSeries::stPoint: return QCoreApplication::translate("ChartWidget", "points");
    case ChartSeries::stBar: return QCoreApplication::translate("ChartWidget", "bars");
    case ChartSeries::stMinMaxPoint: return QCoreApplication::translate("ChartWidget", "points with ranges");
    case ChartSeries::stBoxAndWhiskers: return QCoreApplication::translate("ChartWidget", "box plot");
    case ChartSeries::stHighLow: return QCoreApplication::translate("ChartWidget", "band");
    case ChartSeries::stGantt: return QCoreApplication::translate("ChartWidget", "Gantt bars");
    case ChartSeries::stPie: return QCoreApplication::translate("ChartWidget", "pie");
    case ChartSeries::stColorMap: return QCoreApplication::translate("ChartWidget", "colour map");
    default: return QCoreApplication::translate("ChartWidget", "series");
    }
}

// Both kinds of child hold the chart weakly and check on every call that
// their series is still the one registered under their id, so a reader
// holding one after the series went gets nothing rather than a dangling
// pointer.
class ChildBase : public QAccessibleInterface
{
public:
    ChildBase(ChartWidget *chart, ChartSeries *series, int id) : m_chart(chart), m_series(series), m_id(id) {}

    bool isValid() const override
    {
        return m_chart && m_series && m_chart->d->seriesMap.value(m_id) == m_series && m_series->isVisible();
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        QAccessibleInterface *chart = m_chart ? QAccessible::queryAccessibleInterface(m_chart) : nullptr;
        return chart ? chart->window() : nullptr;
    }
    void setText(QAccessible::Text, const QString &) override {}

    ChartWidget *chart() const { return m_chart; }
    ChartSeries *series() const { return m_series; }
    int seriesId() const { return m_id; }

protected:
    // What the series and its points share: the chart's visibility and
    // keyboard focus, on the point `row` or, for -1, on the series.
    QAccessible::State commonState(int row) const
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const ChartWidgetPrivate *d = m_chart->d;
        s.invisible = !m_chart->isVisible();
        s.focusable = d->keyboardNavigation;
        s.focused = m_chart->hasFocus() && d->hasCurrentSeries && d->currentSeries == m_id
            && (row < 0 ? d->currentPoint < 0 : d->currentPoint == row);
        return s;
    }

    QPointer<ChartWidget> m_chart;
    QPointer<ChartSeries> m_series;
    int m_id;
};

class PointAccessible : public ChildBase
{
public:
    PointAccessible(ChartWidget *chart, ChartSeries *series, int id, int row) : ChildBase(chart, series, id), m_row(row) {}

    bool isValid() const override { return ChildBase::isValid() && m_row < m_series->pointsCount(); }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return isValid() ? m_chart->d->accessibleSeriesAt(m_chart->d->visibleSeriesIds().indexOf(m_id)) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? m_chart->d->pointText(m_series, m_row) : QString();
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    // The marker, or the outline of a shape, in screen pixels.
    QRect rect() const override
    {
        if (!isValid() || !m_series->xAxis() || !m_series->yAxis())
            return QRect();
        const ChartWidgetPrivate *d = m_chart->d;
        QRectF r = tavrin::itemOutline(m_series, m_row).boundingRect();
        if (r.isEmpty()) {
            const QList<QVariant> v = m_series->point(m_row);
            if (v.size() < 2)
                return QRect();
            const QPointF c(m_series->xAxis()->pointToPixel(v.at(0).toDouble()),
                            m_series->yAxis()->pointToPixel(v.at(1).toDouble()));
            if (!std::isfinite(c.x()) || !std::isfinite(c.y()))
                return QRect();
            r = QRectF(c.x() - 5, c.y() - 5, 10, 10);
        }
        const QRect inChart = r.translated(d->plotRect.topLeft()).toAlignedRect();
        return QRect(m_chart->mapToGlobal(inChart.topLeft()), inChart.size());
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = commonState(m_row);
        if (s.invalid)
            return s;
        const ChartWidgetPrivate *d = m_chart->d;
        s.selectable = d->selectionMode != ChartWidget::smNone;
        s.multiSelectable = d->selectionMode == ChartWidget::smMultiplePoints || d->selectionMode == ChartWidget::smRectangle;
        const auto sel = d->selection.constFind(m_id);
        s.selected = sel != d->selection.constEnd() && sel->series == m_series
            && std::binary_search(sel->rows.constBegin(), sel->rows.constEnd(), m_row);
        const QRect r = rect();
        s.offscreen = s.invisible || r.isEmpty() || !QRect(m_chart->mapToGlobal(d->plotRect.topLeft()), d->plotRect.size()).intersects(r);
        return s;
    }

    int row() const { return m_row; }

private:
    int m_row;
};

class SeriesAccessible : public ChildBase
{
public:
    using ChildBase::ChildBase;

    QAccessibleInterface *childAt(int x, int y) const override
    {
        if (!isValid())
            return nullptr;
        const ChartHit hit = m_chart->pointAt(m_chart->mapFromGlobal(QPoint(x, y)));
        return hit.seriesId == m_id && hit.isValid() ? m_chart->d->accessiblePoint(m_series, hit.index) : nullptr;
    }
    QAccessibleInterface *parent() const override
    {
        return m_chart ? QAccessible::queryAccessibleInterface(m_chart) : nullptr;
    }
    QAccessibleInterface *child(int index) const override
    {
        return isValid() && index >= 0 && index < childCount() ? m_chart->d->accessiblePoint(m_series, index) : nullptr;
    }
    // Asks the series, which knows its count without looking at the points.
    int childCount() const override { return isValid() ? m_series->pointsCount() : 0; }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *point = dynamic_cast<const PointAccessible *>(child);
        return point && point->series() == m_series && point->isValid() ? point->row() : -1;
    }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return QString();
        switch (t) {
        case QAccessible::Name:
            return m_series->name().isEmpty() ? ChartWidget::tr("Series %1").arg(m_id) : m_series->name();
        case QAccessible::Description:
            return ChartWidget::tr("%1, %n item(s)", nullptr, m_series->pointsCount()).arg(kindText(m_series));
        default:
            return QString();
        }
    }
    QAccessible::Role role() const override { return QAccessible::List; }
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect plot = m_chart->d->plotRect;
        return QRect(m_chart->mapToGlobal(plot.topLeft()), plot.size());
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = commonState(-1);
        s.offscreen = s.invisible;
        return s;
    }
};

void drop(ChartWidgetPrivate::AccessibleChild child)
{
    // The cache may have deleted it already (when the application goes).
    if (QAccessible::accessibleInterface(child.id) == child.iface)
        QAccessible::deleteAccessibleInterface(child.id);
}

} // namespace

QList<int> ChartWidgetPrivate::visibleSeriesIds() const
{
    QList<int> ids;
    for (auto it = seriesMap.constBegin(); it != seriesMap.constEnd(); ++it)
        if (it.value() && it.value()->isVisible())
            ids.append(it.key());
    return ids;
}

QAccessibleInterface *ChartWidgetPrivate::accessibleSeriesAt(int n)
{
    const QList<int> ids = visibleSeriesIds();
    if (n < 0 || n >= ids.size())
        return nullptr;
    ChartSeries *series = seriesMap.value(ids.at(n));
    AccessibleChild &child = accessibleSeries[series];
    auto *known = static_cast<SeriesAccessible *>(child.iface);
    if (known && QAccessible::accessibleInterface(child.id) == known && known->seriesId() == ids.at(n))
        return known;
    if (known)
        drop(child);
    child.iface = new SeriesAccessible(q, series, ids.at(n));
    child.id = QAccessible::registerAccessibleInterface(child.iface);
    return child.iface;
}

QAccessibleInterface *ChartWidgetPrivate::accessiblePoint(ChartSeries *series, int row)
{
    const int id = seriesMap.key(series, 0);
    if (!series || seriesMap.value(id) != series || row < 0 || row >= series->pointsCount())
        return nullptr;
    AccessibleChild &child = accessiblePoints[series][row];
    auto *known = static_cast<PointAccessible *>(child.iface);
    if (known && QAccessible::accessibleInterface(child.id) == known && known->seriesId() == id)
        return known;
    if (known)
        drop(child);
    child.iface = new PointAccessible(q, series, id, row);
    child.id = QAccessible::registerAccessibleInterface(child.iface);
    return child.iface;
}

QAccessibleInterface *ChartWidgetPrivate::accessibleFocus()
{
    ChartSeries *series = hasCurrentSeries ? seriesMap.value(currentSeries) : nullptr;
    if (!series || !series->isVisible())
        return nullptr;
    if (currentPoint >= 0)
        return accessiblePoint(series, currentPoint);
    return accessibleSeriesAt(visibleSeriesIds().indexOf(currentSeries));
}

// Rows shift when a stream drops its oldest points, so the point children
// go whenever rows do; the series' child goes with the series.
void ChartWidgetPrivate::dropAccessible(ChartSeries *series, bool pointsOnly)
{
    // A stream drops rows at every step: without a reader this costs nothing.
    if (accessibleSeries.isEmpty() && accessiblePoints.isEmpty())
        return;
    if (!series) {
        for (auto it = accessiblePoints.constBegin(); it != accessiblePoints.constEnd(); ++it)
            for (const AccessibleChild &c : it.value())
                drop(c);
        accessiblePoints.clear();
        for (const AccessibleChild &c : qAsConst(accessibleSeries))
            drop(c);
        accessibleSeries.clear();
        return;
    }
    for (const AccessibleChild &c : accessiblePoints.take(series))
        drop(c);
    if (!pointsOnly) {
        const auto it = accessibleSeries.find(series);
        if (it != accessibleSeries.end()) {
            drop(it.value());
            accessibleSeries.erase(it);
        }
    }
}

// An axis with text labels names only its label positions; grouped bars
// stand beside them, and a reader still needs a word or a number.
QString ChartWidgetPrivate::axisText(const Axis *axis, double v)
{
    QString text = axis->labelString(v);
    if (text.isEmpty() && std::isfinite(v))
        text = axis->labelString(std::round(v));
    return text.isEmpty() && std::isfinite(v) ? QString::number(v, 'g', 6) : text;
}

// The row in the axes' own formats, as the tooltips give it, on one line.
QString ChartWidgetPrivate::pointText(ChartSeries *series, int row) const
{
    const QList<QVariant> v = series ? series->point(row) : QList<QVariant>();
    const Axis *xa = series ? series->xAxis() : nullptr, *ya = series ? series->yAxis() : nullptr;
    if (v.size() < 2 || !xa || !ya)
        return QString();
    const QString sep = ChartWidget::tr(", ");
    switch (series->type()) {
    case ChartSeries::stPie:
        return ChartWidget::tr("%1, %2, %3 %")
            .arg(v.at(0).toString(), QString::number(v.at(1).toDouble(), 'g', 6),
                 QString::number(v.value(2).toDouble(), 'f', 1));
    case ChartSeries::stGantt: {
        const QString label = static_cast<GanttSeries *>(series)->d->bars.value(row).label;
        const QString text = ChartWidget::tr("%1 to %2, %3")
                                 .arg(axisText(xa, v.at(0).toDouble()), axisText(xa, v.at(1).toDouble()),
                                      axisText(ya, v.value(2).toDouble()));
        return label.isEmpty() ? text : label + sep + text;
    }
    case ChartSeries::stColorMap: {
        const Axis *za = static_cast<ColorMapSeries *>(series)->d->scaleAxis;
        const double z = v.value(2).toDouble();
        return axisText(xa, v.at(0).toDouble()) + sep + axisText(ya, v.at(1).toDouble()) + sep
            + (za ? axisText(za, z) : QString::number(z, 'g', 6));
    }
    default: {
        QString text = axisText(xa, v.at(0).toDouble());
        for (int i = 1; i < v.size(); ++i)
            text += sep + axisText(ya, v.at(i).toDouble());
        if (series->type() == ChartSeries::stPoint) {
            const auto *points = dynamic_cast<PointSeries *>(series);
            const QString label = points ? points->d->labels.value(row) : QString();
            if (!label.isEmpty())
                text = label + sep + text;
        }
        return text;
    }
    }
}
