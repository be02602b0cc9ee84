// Zoom, pan and tooltips.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include <QHelpEvent>
#include <QMouseEvent>

bool ChartWidgetPrivate::handleMousePress(QMouseEvent *event)
{
    return QObject::eventFilter(q, event);
}

bool ChartWidgetPrivate::handleMouseMove(QMouseEvent *event)
{
    return QObject::eventFilter(q, event);
}

bool ChartWidgetPrivate::handleMouseRelease(QMouseEvent *event)
{
    return QObject::eventFilter(q, event);
}

bool ChartWidgetPrivate::handleToolTip(QHelpEvent *event)
{
    return QObject::eventFilter(q, event);
}

void ChartWidgetPrivate::updateSelectionFrame()
{
}

void ChartWidgetPrivate::zoomTo(const QRect &)
{
}
