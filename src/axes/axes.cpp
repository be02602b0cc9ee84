#include "axes.h"
#include "axes_p.h"
#include "axis.h"
#include "axis_p.h"

#include <QMetaObject>

Axes::Axes(QObject *chart)
    : d(new AxesPrivate)
{
    // Only connect to a receiver that really has the slot, so that a host
    // passing some other object gets no run-time warning.
    if (chart && chart->metaObject()->indexOfSlot("on_axis_changed()") >= 0) {
        connect(&d->left, SIGNAL(axisChanged()), chart, SLOT(on_axis_changed()));
        connect(&d->bottom, SIGNAL(axisChanged()), chart, SLOT(on_axis_changed()));
        connect(&d->right, SIGNAL(axisChanged()), chart, SLOT(on_axis_changed()));
        connect(&d->top, SIGNAL(axisChanged()), chart, SLOT(on_axis_changed()));
    }
    if (chart && chart->metaObject()->indexOfSlot("on_axis_logarithmicChanged()") >= 0) {
        connect(&d->left, SIGNAL(logarithmicChanged(bool)), chart, SLOT(on_axis_logarithmicChanged()));
        connect(&d->bottom, SIGNAL(logarithmicChanged(bool)), chart, SLOT(on_axis_logarithmicChanged()));
        connect(&d->right, SIGNAL(logarithmicChanged(bool)), chart, SLOT(on_axis_logarithmicChanged()));
        connect(&d->top, SIGNAL(logarithmicChanged(bool)), chart, SLOT(on_axis_logarithmicChanged()));
    }
    d->left.reset();
    d->bottom.reset();
    d->right.reset();
    d->top.reset();
}

Axes::~Axes()
{
    delete d;
}

Axis *Axes::left() const
{
    return &d->left;
}

Axis *Axes::bottom() const
{
    return &d->bottom;
}

Axis *Axes::right() const
{
    return &d->right;
}

Axis *Axes::top() const
{
    return &d->top;
}

void Axes::setSize(QSizeF size)
{
    d->bottom.d->setLength(size.width());
    d->top.d->setLength(size.width());
    d->left.d->setLength(size.height());
    d->right.d->setLength(size.height());
}

bool Axes::update(double x, double y)
{
    // Both axes must see their value, so no short-circuit here.
    const bool bottomChanged = d->bottom.update(x);
    const bool leftChanged = d->left.update(y);
    d->left.d->updateTicks();
    d->bottom.d->updateTicks();
    return bottomChanged || leftChanged;
}

void Axes::adjust()
{
    d->left.d->updateTicks();
    d->bottom.d->updateTicks();
    d->right.d->updateTicks();
    d->top.d->updateTicks();
}

void Axes::updateTransformData()
{
    d->left.d->updateTransform();
    d->bottom.d->updateTransform();
    d->right.d->updateTransform();
    d->top.d->updateTransform();
}

bool Axes::isValid() const
{
    return d->left.isValid() && d->bottom.isValid();
}

void Axes::reset()
{
    d->left.reset();
    d->bottom.reset();
    d->right.reset();
    d->top.reset();
}

void Axes::setGridColor(QColor color)
{
    d->left.setGridColor(color);
    d->bottom.setGridColor(color);
    d->right.setGridColor(color);
    d->top.setGridColor(color);
}

void Axes::draw(QPainter *painter, QRect *plot, bool grid)
{
    d->left.draw(painter, plot, grid);
    d->bottom.draw(painter, plot, grid);
}

void Axes::shift(QPoint delta)
{
    // The horizontal component moves the bottom axis and the vertical one
    // the left axis, each converted at its own axis' scale and taken as is:
    // a positive component moves that axis' range toward larger values.
    d->bottom.shift(d->bottom.pixelDeltaToPoint(delta.x()));
    d->top.shift(d->top.pixelDeltaToPoint(delta.x()));
    d->left.shift(d->left.pixelDeltaToPoint(delta.y()));
    d->right.shift(d->right.pixelDeltaToPoint(delta.y()));
    updateTransformData();
}
