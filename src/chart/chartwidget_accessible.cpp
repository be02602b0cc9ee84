// What assistive technology reads of a chart, and the keyboard's walk over
// series and points that it announces.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "chartseries.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace {

QString kindName(ChartSeries *series)
{
    switch (series->type()) {
    case ChartSeries::stLine: return QCoreApplication::translate("ChartWidget", "Line chart");
    case ChartSeries::stPoint: return QCoreApplication::translate("ChartWidget", "Scatter chart");
    case ChartSeries::stBar: return QCoreApplication::translate("ChartWidget", "Bar chart");
    case ChartSeries::stPie: return QCoreApplication::translate("ChartWidget", "Pie chart");
    case ChartSeries::stGantt: return QCoreApplication::translate("ChartWidget", "Gantt chart");
    case ChartSeries::stHistogram: return QCoreApplication::translate("ChartWidget", "Histogram");
    default: return QCoreApplication::translate("ChartWidget", "Chart");
    }
}

class ChartAccessible : public QAccessibleWidget
{
public:
    explicit ChartAccessible(ChartWidget *chart) : QAccessibleWidget(chart, QAccessible::Chart) {}

    QString text(QAccessible::Text t) const override
    {
        const ChartWidget *chart = static_cast<const ChartWidget *>(widget());
        switch (t) {
        case QAccessible::Name:
            return chart->title();
        case QAccessible::Description:
            return chart->d->accessibleSummary();
        case QAccessible::Value:
            return chart->d->currentPointText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    // The series come first, then any child widgets the host put inside.
    int childCount() const override
    {
        return chart()->d->visibleSeriesIds().size() + QAccessibleWidget::childCount();
    }
    QAccessibleInterface *child(int index) const override
    {
        const int n = chart()->d->visibleSeriesIds().size();
        return index < n ? chart()->d->accessibleSeriesAt(index) : QAccessibleWidget::child(index - n);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        ChartWidgetPrivate *d = chart()->d;
        const QList<int> ids = d->visibleSeriesIds();
        for (int i = 0; i < ids.size(); ++i)
            if (d->accessibleSeries.value(d->seriesMap.value(ids.at(i))).iface == child)
                return i;
        const int i = QAccessibleWidget::indexOfChild(child);
        return i < 0 ? -1 : i + ids.size();
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const ChartHit hit = chart()->pointAt(chart()->mapFromGlobal(QPoint(x, y)));
        if (hit.isValid())
            return chart()->d->accessibleSeriesAt(chart()->d->visibleSeriesIds().indexOf(hit.seriesId));
        return QAccessibleWidget::childAt(x, y);
    }
    QAccessibleInterface *focusChild() const override
    {
        if (chart()->hasFocus())
            if (QAccessibleInterface *walked = chart()->d->accessibleFocus())
                return walked;
        return QAccessibleWidget::focusChild();
    }

private:
    ChartWidget *chart() const { return static_cast<ChartWidget *>(widget()); }
};

QAccessibleInterface *chartFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("ChartWidget") && object && object->isWidgetType())
        return new ChartAccessible(static_cast<ChartWidget *>(object));
    return nullptr;
}

} // namespace

void ChartWidgetPrivate::installAccessibility()
{
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(chartFactory);
    }
}

QString ChartWidgetPrivate::accessibleSummary() const
{
    int count = 0;
    ChartSeries *first = nullptr;
    for (ChartSeries *s : seriesMap) {
        if (s && s->isVisible()) {
            ++count;
            if (!first)
                first = s;
        }
    }
    if (!first)
        return ChartWidget::tr("Empty chart");
    QString text = ChartWidget::tr("%1, %n series", nullptr, count).arg(kindName(first));
    Axis *x = first->xAxis(), *y = first->yAxis();
    if (first->type() != ChartSeries::stPie && x && y && x->isValid() && y->isValid())
        text += ChartWidget::tr(", x from %1 to %2, y from %3 to %4")
                    .arg(axisText(x, x->min()), axisText(x, x->max()), axisText(y, y->min()), axisText(y, y->max()));
    return text;
}

QString ChartWidgetPrivate::currentPointText() const
{
    ChartSeries *series = seriesMap.value(currentSeries);
    if (!series || currentPoint < 0 || currentPoint >= series->pointsCount())
        return QString();
    const QString point = pointText(series, currentPoint);
    if (point.isEmpty())
        return QString();
    const QString name = series->name().isEmpty() ? ChartWidget::tr("Series %1").arg(currentSeries) : series->name();
    return ChartWidget::tr("%1: %2").arg(name, point);
}

// Tab and Shift+Tab walk the visible series and, past the last one, let the
// focus go on; Alt+Left/Right walk the points of the current one.
bool ChartWidgetPrivate::handleWalkKey(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        if (mods & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        QList<int> ids;
        for (auto it = seriesMap.constBegin(); it != seriesMap.constEnd(); ++it)
            if (it.value() && it.value()->isVisible())
                ids.append(it.key());
        const bool back = key == Qt::Key_Backtab || (mods & Qt::ShiftModifier);
        int at = hasCurrentSeries ? ids.indexOf(currentSeries) : (back ? ids.size() : -1);
        at += back ? -1 : 1;
        if (at < 0 || at >= ids.size()) {
            hasCurrentSeries = false;
            currentPoint = -1;
            q->update();
            return false;
        }
        hasCurrentSeries = true;
        currentSeries = ids.at(at);
        currentPoint = -1;
        q->update();
        announce();
        return true;
    }
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && (mods & Qt::AltModifier)) {
        ChartSeries *series = hasCurrentSeries ? seriesMap.value(currentSeries) : nullptr;
        if (!series || series->pointsCount() == 0)
            return true;
        const int n = series->pointsCount();
        currentPoint = currentPoint < 0 ? (key == Qt::Key_Right ? 0 : n - 1)
                                        : qBound(0, currentPoint + (key == Qt::Key_Right ? 1 : -1), n - 1);
        q->update();
        announce();
        return true;
    }
    return false;
}

// Only the keyboard's walk announces, never new data, so a live chart sends
// nothing on its own; a held key is held to a few events a second, and the
// step it stops on is announced when the time is up.
void ChartWidgetPrivate::announce()
{
    const QPointer<ChartWidget> alive(q);
    emit q->currentPointChanged(hasCurrentSeries ? currentSeries : -1, currentPoint);
    if (!alive)
        return;
    constexpr int kGap = 200;
    if (announceClock.isValid() && announceClock.elapsed() < kGap) {
        if (!announceTimer.isActive())
            announceTimer.start(int(kGap - announceClock.elapsed()));
        return;
    }
    sendAnnouncement();
}

void ChartWidgetPrivate::sendAnnouncement()
{
    announceTimer.stop();
    announceClock.start();
    // The focus moves to the walked child; the chart's value says it too,
    // for readers that follow only the focused widget.
    if (QAccessibleInterface *walked = accessibleFocus()) {
        QAccessibleEvent focus(walked, QAccessible::Focus);
        accessibilityUpdate(&focus);
    }
    QAccessibleValueChangeEvent event(q, currentPointText());
    accessibilityUpdate(&event);
}

void ChartWidgetPrivate::drawCurrentPoint(QPainter *painter)
{
    if (!keyboardNavigation || !hasCurrentSeries || currentPoint < 0)
        return;
    ChartSeries *series = seriesMap.value(currentSeries);
    if (!series || !series->isVisible() || currentPoint >= series->pointsCount() || !series->xAxis() || !series->yAxis())
        return;
    const QList<QVariant> v = series->point(currentPoint);
    if (v.size() < 2)
        return;
    const QPointF c = QPointF(plotRect.topLeft())
        + QPointF(series->xAxis()->pointToPixel(v.at(0).toDouble()), series->yAxis()->pointToPixel(v.at(1).toDouble()));
    if (!std::isfinite(c.x()) || !std::isfinite(c.y()) || !plotRect.contains(c.toPoint()))
        return;
    painter->save();
    painter->setPen(QPen(q->palette().color(QPalette::Highlight), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(c.x() - 8, c.y() - 8, 16, 16));
    painter->restore();
}

int ChartWidget::currentSeries() const
{
    return d->hasCurrentSeries && d->seriesMap.contains(d->currentSeries) ? d->currentSeries : -1;
}

int ChartWidget::currentPoint() const
{
    ChartSeries *series = d->hasCurrentSeries ? d->seriesMap.value(d->currentSeries) : nullptr;
    return series && d->currentPoint < series->pointsCount() ? d->currentPoint : -1;
}
