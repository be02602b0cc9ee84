// Hit tests, and the click and hover signals built on them.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "chartitem.h"
#include "chartseries.h"
#include "hittest_p.h"
#include "qtcompat_p.h"

#include <QMetaMethod>
#include <QMouseEvent>

namespace {

// How far from a marker or vertex the pointer may be and still hit it.
constexpr double kHitRadius = 6.0;
// A press that moves this far on both axes makes a zoom band (at least five
// pixels square); less than this on either is never a band.
constexpr int kClickSlop = 4;

} // namespace

ChartHit ChartWidget::pointAt(const QPoint &pos) const
{
    return d->hitAt(pos);
}

ChartHit ChartWidgetPrivate::hitAt(const QPoint &pos) const
{
    ChartHit hit;
    if (!plotRect.contains(pos))
        return hit;
    const QPointF at = QPointF(pos - plotRect.topLeft());
    // Highest id first: it is drawn last, on top.
    for (auto it = seriesMap.constEnd(); it != seriesMap.constBegin();) {
        --it;
        const ChartSeries *series = it.value();
        if (!series || !series->isVisible())
            continue;
        const int i = series->indexAt(at, kHitRadius);
        if (i >= 0) {
            hit.seriesId = it.key();
            hit.index = i;
            return hit;
        }
    }
    return hit;
}

bool ChartWidgetPrivate::wantsClickHits() const
{
    return selectionMode != ChartWidget::smNone
        || q->isSignalConnected(QMetaMethod::fromSignal(&ChartWidget::pointClicked))
        || q->isSignalConnected(QMetaMethod::fromSignal(&ChartWidget::seriesClicked));
}

// Summarising a million points takes milliseconds: a chart that hit-tests
// does it after rendering them, not at the first hover or click.
void ChartWidgetPrivate::prepareHitTests()
{
    if (!wantsClickHits() && !q->isSignalConnected(QMetaMethod::fromSignal(&ChartWidget::pointHovered))
        && !q->isSignalConnected(QMetaMethod::fromSignal(&ChartWidget::pointDoubleClicked)))
        return;
    for (ChartSeries *series : qAsConst(seriesMap))
        if (series && series->isVisible())
            tavrin::prepareHitTest(series);
}

void ChartWidgetPrivate::notePress(QMouseEvent *event)
{
    pressPos = QtCompat::position(event);
    pressButton = event->button();
}

// Decided at the release: a press that moved as far as a zoom band needs
// was a band or a pan, not a click.
void ChartWidgetPrivate::reportClick(QMouseEvent *event)
{
    const Qt::MouseButton button = pressButton;
    pressButton = Qt::NoButton;
    if (button == Qt::NoButton || event->button() != button || !wantsClickHits())
        return;
    const QPoint p = QtCompat::position(event);
    if (qAbs(p.x() - pressPos.x()) >= kClickSlop || qAbs(p.y() - pressPos.y()) >= kClickSlop)
        return;
    const ChartHit hit = hitAt(pressPos);
    const QPointer<ChartWidget> alive(q);
    if (selectionMode != ChartWidget::smNone && button == Qt::LeftButton)
        selectAt(hit, event->modifiers());
    if (!alive || !hit.isValid())
        return;
    // A receiver may remove the series, or the chart; the id stays meaningful.
    emit q->pointClicked(hit.seriesId, hit.index, button, event->modifiers());
    if (alive)
        emit alive->seriesClicked(hit.seriesId);
}

void ChartWidgetPrivate::reportDoubleClick(QMouseEvent *event)
{
    if (!q->isSignalConnected(QMetaMethod::fromSignal(&ChartWidget::pointDoubleClicked)))
        return;
    const ChartHit hit = hitAt(QtCompat::position(event));
    if (hit.isValid())
        emit q->pointDoubleClicked(hit.seriesId, hit.index, event->button(), event->modifiers());
}

void ChartWidgetPrivate::trackHover(const QPoint &pos, bool inside)
{
    if (!q->isSignalConnected(QMetaMethod::fromSignal(&ChartWidget::pointHovered)))
        return;
    ChartHit hit;
    if (inside && !zooming && !panning && !dragItem)
        hit = hitAt(pos);
    if (hit == hovered)
        return;
    const ChartHit left = hovered;
    hovered = hit;
    // The item left is reported first, unless the new one is of the same series.
    const QPointer<ChartWidget> alive(q);
    if (left.isValid() && (!hit.isValid() || hit.seriesId != left.seriesId))
        emit q->pointHovered(left.seriesId, -1);
    if (alive && hit.isValid() && hovered == hit)
        emit q->pointHovered(hit.seriesId, hit.index);
}

void ChartWidgetPrivate::legendEntryClicked(ChartSeries *series)
{
    for (auto it = seriesMap.constBegin(); it != seriesMap.constEnd(); ++it) {
        if (it.value() == series) {
            emit q->seriesClicked(it.key());
            return;
        }
    }
}

void ChartWidget::connectNotify(const QMetaMethod &signal)
{
    if (signal == QMetaMethod::fromSignal(&ChartWidget::pointHovered))
        setMouseTracking(true);
    QWidget::connectNotify(signal);
}
