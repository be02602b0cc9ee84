// Keyboard navigation: pan, zoom, history and reset without a mouse.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "axis_p.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

bool ChartWidget::keyboardNavigation() const
{
    return d->keyboardNavigation;
}

void ChartWidget::setKeyboardNavigation(bool on)
{
    if (d->keyboardNavigation == on)
        return;
    d->keyboardNavigation = on;
    // Off again gives back the policy a host that never asked had.
    setFocusPolicy(on ? Qt::StrongFocus : (d->selectionMode != smNone ? Qt::ClickFocus : Qt::NoFocus));
    update();
    emit keyboardNavigationChanged(on);
}

bool ChartWidgetPrivate::handleKey(QKeyEvent *event)
{
    if (!keyboardNavigation || !viewValid())
        return false;
    if (handleWalkKey(event))
        return true;
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & Qt::AltModifier)
        return false;
    // A tenth of the plot, converted as a mouse pan converts its pixels.
    auto pan = [&](int dx, int dy) {
        const QVector<Axis *> xs = xAxes();
        const QVector<Axis *> ys = yAxes();
        pushView();
        leaveAutoScale();
        if (dx)
            for (Axis *x : xs)
                if (x->isValid())
                    x->shift(x->pixelDeltaToPoint(dx));
        if (dy)
            for (Axis *y : ys)
                if (y->isValid())
                    y->shift(y->pixelDeltaToPoint(dy));
        axes.updateTransformData();
        if (!drawingLock)
            q->repaint();
    };
    const int w = std::max(1, plotRect.width() / 10), h = std::max(1, plotRect.height() / 10);
    switch (event->key()) {
    case Qt::Key_Left:
        pan(-w, 0);
        return true;
    case Qt::Key_Right:
        pan(w, 0);
        return true;
    case Qt::Key_Up:
        pan(0, h);
        return true;
    case Qt::Key_Down:
        pan(0, -h);
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        // "+" needs Shift on many layouts: there it does not limit the zoom.
        zoomStep(plotRect.center(), 120, event->key() == Qt::Key_Plus ? mods & ~Qt::ShiftModifier : mods);
        return true;
    case Qt::Key_Minus:
        zoomStep(plotRect.center(), -120, mods);
        return true;
    case Qt::Key_Backspace:
        q->zoomBack();
        return true;
    case Qt::Key_Home:
        q->setAutoScale(true);
        return true;
    default:
        return false;
    }
}

void ChartWidgetPrivate::drawFocusFrame(QPainter *painter)
{
    if (!keyboardNavigation || !q->hasFocus())
        return;
    painter->save();
    QPen pen(q->palette().color(QPalette::Highlight), 2, Qt::DotLine);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(plotRect).adjusted(1, 1, -1, -1));
    painter->restore();
    drawCurrentPoint(painter);
}
