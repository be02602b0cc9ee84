// Colour maps on the chart: their colour-scale bar beside the plot, and the
// coalesced rendering after their data calls.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "axis_p.h"
#include "colormapseries.h"
#include "colormapseries_p.h"

#include <QMetaObject>
#include <QPainter>

namespace {

constexpr int kScaleGap = 10;   // between the plot (or the right axis' band) and the bar
constexpr int kScaleWidth = 14; // the gradient strip

} // namespace

ColorMapSeries *ChartWidgetPrivate::colorScaleSeries() const
{
    for (ChartSeries *series : seriesMap) {
        if (!series || !series->isVisible() || series->type() != ChartSeries::stColorMap)
            continue;
        auto *map = qobject_cast<ColorMapSeries *>(series);
        if (map && map->isColorScaleVisible())
            return map;
    }
    return nullptr;
}

Axis *ChartWidgetPrivate::prepareColorScale(ColorMapSeries *map, int height) const
{
    Axis *scale = map->d->scaleAxis;
    // Themes recolour the chart's axes; the bar's axis follows the left one.
    const AxisPrivate *left = axes.left()->d;
    scale->d->frameColor = left->frameColor;
    scale->d->textColor = left->textColor;
    return map->d->prepareScale(height);
}

int ChartWidgetPrivate::colorScaleWidth(int height) const
{
    ColorMapSeries *map = colorScaleSeries();
    if (!map)
        return 0;
    return kScaleGap + kScaleWidth + prepareColorScale(map, height)->size();
}

void ChartWidgetPrivate::drawColorScale(QPainter *painter)
{
    ColorMapSeries *map = colorScaleSeries();
    if (!map || !plotRect.isValid())
        return;
    Axis *scale = prepareColorScale(map, plotRect.height());
    int x = plotRect.right() + 1 + kScaleGap;
    if (rightAxisInUse())
        x += axes.right()->size();
    QRect strip(x, plotRect.top(), kScaleWidth, plotRect.height());
    painter->save();
    painter->fillRect(strip, map->d->scaleGradient(QPointF(0, strip.bottom() + 1), QPointF(0, strip.top())));
    painter->setPen(QPen(scale->d->frameColor, 1));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(strip.adjusted(0, 0, -1, -1));
    painter->restore();
    scale->draw(painter, &strip, false);
}

QString ChartWidgetPrivate::colorMapValueText(const QPoint &pos) const
{
    for (ChartSeries *series : seriesMap) {
        if (!series || !series->isVisible() || series->type() != ChartSeries::stColorMap)
            continue;
        auto *map = qobject_cast<ColorMapSeries *>(series);
        const double v = map ? map->valueAt(pos) : qQNaN();
        if (!std::isnan(v))
            return map->colorScaleAxis()->labelString(v);
    }
    return QString();
}

void ChartWidgetPrivate::seriesContentChanged(ChartSeries *series, bool extentMoved)
{
    (void)series;
    if (refreshTimeout >= 0) {
        // The expiry fits the axes and renders.
        scheduleRefresh();
        return;
    }
    if (extentMoved && autoScale) {
        const bool lock = drawingLock;
        drawingLock = true;
        forceRescale();
        drawingLock = lock;
    }
    if (drawingLock || renderQueued)
        return;
    renderQueued = true;
    QMetaObject::invokeMethod(this, "on_queued_render", Qt::QueuedConnection);
}

void ChartWidgetPrivate::on_queued_render()
{
    if (!renderQueued)
        return;
    renderQueued = false;
    if (drawingLock)
        return;
    // The colour range may have changed the bar's labels and so the layout.
    if (!updatePlotArea())
        q->repaint();
}
