#ifndef CHARTITEM_P_H
#define CHARTITEM_P_H

#include "chartitem.h"
#include "chartitemowner_p.h"

#include <QRectF>
#include <QtNumeric>

class QPainter;

class ChartItemPrivate
{
public:
    explicit ChartItemPrivate(ChartItem *item) : q(item) {}
    virtual ~ChartItemPrivate() = default;

    ChartItem *q;
    Axis *xAxis = nullptr;
    Axis *yAxis = nullptr;
    ChartItemOwner *owner = nullptr;
    bool visible = true;
    bool movable = false;
    // How deep the item is in its own signals' receivers: a chart removing
    // it meanwhile must not delete it under its own call.
    int busy = 0;

    class Busy
    {
    public:
        explicit Busy(ChartItemPrivate *d) : m_d(d) { ++m_d->busy; }
        ~Busy() { --m_d->busy; }
        Busy(const Busy &) = delete;
        Busy &operator=(const Busy &) = delete;

    private:
        ChartItemPrivate *m_d;
    };

    void changed()
    {
        if (owner)
            owner->itemChanged(q);
    }
    QColor foreground() const { return owner ? owner->itemForeground() : QColor(Qt::black); }

    // The visible part of the plot in the painter's coordinates (origin at
    // the plot's top-left corner); false without usable axes.
    bool plotBox(QRectF *box) const;

    // Dragging. A handle is a line of the item that the user can move:
    // a vertical one moves along x, a horizontal one along y.
    // The handle within `tolerance` pixels of `pos` (plot coordinates), -1
    // for none.
    virtual int handleAt(const QPointF &pos, double tolerance) const
    {
        Q_UNUSED(pos)
        Q_UNUSED(tolerance)
        return -1;
    }
    virtual Qt::Orientation handleOrientation(int handle) const
    {
        Q_UNUSED(handle)
        return Qt::Vertical;
    }
    virtual double handleValue(int handle) const
    {
        Q_UNUSED(handle)
        return qQNaN();
    }
    virtual void moveHandle(int handle, double value)
    {
        Q_UNUSED(handle)
        Q_UNUSED(value)
    }
    virtual void finishDrag() {}

    // The pixel distance from pos to a handle at `value` of the given
    // orientation, infinite when it is not in view.
    double handleDistance(const QPointF &pos, Qt::Orientation orientation, double value) const;
};

#endif // CHARTITEM_P_H
