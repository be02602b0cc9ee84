#include "seriesicon_p.h"

#include "barseries.h"
#include "boxandwhiskersseries.h"
#include "chartseries_p.h"
#include "colormapseries.h"
#include "colormapseries_p.h"
#include "ganttseries.h"
#include "highlowseries.h"
#include "histogramseries.h"
#include "lineseries.h"
#include "lineseries_p.h"
#include "highlowseries_p.h"
#include "minmaxpointseries.h"
#include "minmaxpointseries_p.h"
#include "pointseries.h"
#include "pointseries_p.h"

#include <QPainter>
#include <QPixmap>

#include <typeinfo>

namespace tavrin {

void paintIcon(QPainter *p, int size, IconShape shape, const QPen &pen, const QBrush &brush)
{
    p->setPen(pen);
    p->setBrush(brush);
    switch (shape) {
    case IconShape::Line:
        p->drawLine(0, size / 2, size, size / 2);
        break;
    case IconShape::Bar:
        p->drawRect(QRect(size / 4, 0, size / 2, size - 1));
        break;
    case IconShape::BoxAndWhiskers:
        p->drawLine(size / 2, 0, size / 2, size);
        p->drawLine(size / 4, 0, 3 * size / 4, 0);
        p->drawLine(size / 4, size - 1, 3 * size / 4, size - 1);
        p->drawRect(size / 4, size / 4, size / 2, size / 2);
        break;
    case IconShape::Gantt:
        p->drawRect(0, size / 4, size - 1, size / 2);
        break;
    case IconShape::SquareMarker:
        p->drawRect(QRect(size / 4, size / 4, size / 2, size / 2));
        break;
    case IconShape::RoundMarker:
        p->drawEllipse(QRect(size / 4, size / 4, size / 2, size / 2));
        break;
    }
}

QIcon shapeIcon(int size, IconShape shape, const QPen &pen, const QBrush &brush)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paintIcon(&p, size, shape, pen, brush);
    p.end();
    return QIcon(pm);
}

bool paintSeriesIcon(ChartSeries *series, QPainter *painter, int size)
{
    if (!series)
        return false;
    // The exact class: a subclass may draw an icon of its own.
    const std::type_info &type = typeid(*series);
    IconShape shape;
    if (type == typeid(LineSeries) || type == typeid(HighLowSeries))
        shape = IconShape::Line;
    else if (type == typeid(BarSeries) || type == typeid(HistogramSeries))
        shape = IconShape::Bar;
    else if (type == typeid(BoxAndWhiskersSeries))
        shape = IconShape::BoxAndWhiskers;
    else if (type == typeid(GanttSeries))
        shape = IconShape::Gantt;
    else if (type == typeid(PointSeries))
        shape = static_cast<PointSeries *>(series)->d->style == PointSeries::psSquare
            ? IconShape::SquareMarker
            : IconShape::RoundMarker;
    else if (type == typeid(MinMaxPointSeries))
        shape = static_cast<MinMaxPointSeries *>(series)->d->style == MinMaxPointSeries::psSquare
            ? IconShape::SquareMarker
            : IconShape::RoundMarker;
    else if (type == typeid(ColorMapSeries)) {
        // The gradient, bottom to top, as the colour-scale bar shows it.
        if (painter)
            painter->fillRect(QRect(0, 0, size, size),
                              static_cast<ColorMapSeries *>(series)->d->scaleGradient(QPointF(0, size), QPointF(0, 0)));
        return true;
    } else
        return false;
    if (!painter)
        return true;
    // A filled area shows its fill below the line.
    QBrush area;
    if (type == typeid(LineSeries))
        area = static_cast<LineSeries *>(series)->d->fillBrush;
    else if (type == typeid(HighLowSeries))
        area = static_cast<HighLowSeries *>(series)->d->customBrush ? static_cast<HighLowSeries *>(series)->d->brush
                                                                    : QBrush();
    if (area.style() != Qt::NoBrush)
        painter->fillRect(QRect(0, size / 2, size, size - size / 2), area);
    paintIcon(painter, size, shape, series->ChartSeries::d->pen, series->ChartSeries::d->brush);
    return true;
}

} // namespace tavrin
