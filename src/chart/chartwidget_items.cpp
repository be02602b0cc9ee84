// Items over the series: their registry, drawing and the dragging of their
// lines.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "chartitem.h"
#include "chartitem_p.h"
#include "qtcompat_p.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {
// How near the pointer must come to a movable line to take it, in pixels.
constexpr double kGrabDistance = 4;
} // namespace

bool ChartWidget::addItem(ChartItem *item)
{
    if (!item)
        return false;
    if (item->d->owner)
        return item->d->owner == d;
    Axis *x = item->xAxis() ? item->xAxis() : d->axes.bottom();
    Axis *y = item->yAxis() ? item->yAxis() : d->axes.left();
    if (!d->acceptsAxes(x, y))
        return false;
    item->d->xAxis = x;
    item->d->yAxis = y;
    item->d->owner = d;
    d->itemList.append(item);
    if (item->isMovable())
        setMouseTracking(true);
    update();
    return true;
}

bool ChartWidget::removeItem(ChartItem *item)
{
    // Only the pointer is compared: an item removed before may be gone.
    const int i = d->itemList.indexOf(item);
    if (i < 0)
        return false;
    if (d->dragItem == item)
        d->endItemDrag(false);
    d->itemList.removeAt(i);
    d->detachItem(item);
    // Called from one of the item's own signals, it goes once that returns.
    if (item->d->busy)
        item->deleteLater();
    else
        delete item;
    update();
    return true;
}

QList<ChartItem *> ChartWidget::items() const
{
    return d->itemList;
}

void ChartWidgetPrivate::detachItem(ChartItem *item)
{
    item->d->owner = nullptr;
    item->d->xAxis = nullptr;
    item->d->yAxis = nullptr;
}

void ChartWidgetPrivate::drawItems(QPainter *painter, bool clip)
{
    if (itemList.isEmpty())
        return;
    painter->save();
    if (clip) {
        painter->translate(plotRect.topLeft());
        painter->setClipRect(QRect(QPoint(0, 0), plotRect.size()), Qt::IntersectClip);
    }
    for (ChartItem *item : qAsConst(itemList))
        if (item->isVisible())
            item->draw(painter);
    painter->restore();
}

void ChartWidgetPrivate::itemChanged(ChartItem *)
{
    q->update(plotRect);
}

void ChartWidgetPrivate::itemMovableChanged(ChartItem *item)
{
    if (item->isMovable())
        q->setMouseTracking(true);
    else if (dragItem == item)
        endItemDrag(false);
}

void ChartWidgetPrivate::itemDestroyed(ChartItem *item)
{
    if (dragItem == item)
        endItemDrag(false);
    itemList.removeAll(item);
    q->update(plotRect);
}

bool ChartWidgetPrivate::acceptsAxes(const Axis *x, const Axis *y) const
{
    return x == axes.bottom() && (y == axes.left() || y == axes.right());
}

QColor ChartWidgetPrivate::itemForeground() const
{
    return q->palette().color(QPalette::WindowText);
}

ChartItem *ChartWidgetPrivate::itemHandleAt(const QPoint &p, int *handle) const
{
    if (!plotRect.contains(p))
        return nullptr;
    const QPointF at = p - plotRect.topLeft();
    for (int i = itemList.size() - 1; i >= 0; --i) {
        ChartItem *item = itemList.at(i);
        if (!item->isMovable() || !item->isVisible())
            continue;
        const int h = item->d->handleAt(at, kGrabDistance);
        if (h >= 0) {
            *handle = h;
            return item;
        }
    }
    return nullptr;
}

bool ChartWidgetPrivate::handleItemPress(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || dragItem || zooming || panning)
        return false;
    int handle = -1;
    ChartItem *item = itemHandleAt(QtCompat::position(event), &handle);
    if (!item)
        return false;
    dragItem = item;
    dragHandle = handle;
    dragStart = item->d->handleValue(handle);
    q->setCursor(item->d->handleOrientation(handle) == Qt::Vertical ? Qt::SplitHCursor
                                                                     : Qt::SplitVCursor);
    itemCursor = true;
    dragPos = QtCompat::position(event);
    // Escape must reach the chart while the drag lasts, focus or not; the
    // filter on the application sees the key wherever it goes.
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
    return true;
}

bool ChartWidgetPrivate::handleItemMove(QMouseEvent *event)
{
    const QPoint p = QtCompat::position(event);
    if (!dragItem) {
        // The cursor tells where a drag would take a line.
        if (zooming || panning || event->buttons() != Qt::NoButton)
            return false;
        int handle = -1;
        const ChartItem *item = itemHandleAt(p, &handle);
        if (item) {
            q->setCursor(item->d->handleOrientation(handle) == Qt::Vertical ? Qt::SplitHCursor
                                                                             : Qt::SplitVCursor);
            itemCursor = true;
        } else if (itemCursor) {
            q->unsetCursor();
            itemCursor = false;
        }
        return false;
    }
    ChartItemPrivate *item = dragItem->d;
    const bool vertical = item->handleOrientation(dragHandle) == Qt::Vertical;
    const Axis *axis = vertical ? item->xAxis : item->yAxis;
    if (!axis || !axis->isValid())
        return true;
    // The line follows the pointer's way from where it was taken, so that
    // taking it does not move it, and stays in view however far it goes.
    const int delta = vertical ? p.x() - dragPos.x() : p.y() - dragPos.y();
    double value = dragStart;
    if (delta != 0) {
        value = axis->pixelToPoint(axis->pointToPixel(dragStart) + delta);
        value = qBound(axis->min(), value, axis->max());
    }
    if (std::isfinite(value))
        item->moveHandle(dragHandle, value);
    return true;
}

bool ChartWidgetPrivate::handleItemRelease(QMouseEvent *event)
{
    if (!dragItem || event->button() != Qt::LeftButton)
        return false;
    ChartItem *item = dragItem;
    const double end = item->d->handleValue(dragHandle);
    const bool moved = !(end == dragStart || (std::isnan(end) && std::isnan(dragStart)));
    endItemDrag(false);
    if (moved)
        item->d->finishDrag();
    return true;
}

void ChartWidgetPrivate::endItemDrag(bool restore)
{
    ChartItem *item = dragItem;
    const int handle = dragHandle;
    dragItem = nullptr;
    dragHandle = -1;
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
    if (itemCursor) {
        q->unsetCursor();
        itemCursor = false;
    }
    if (restore && item)
        item->d->moveHandle(handle, dragStart);
}
