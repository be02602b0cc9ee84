// Layout of the plot rectangle and the two-layer rendering: series and
// marker lines into a cached image, title, axes and items straight onto the
// widget.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "chartgroup_p.h"
#include "chartseries.h"
#include "legend_p.h"
#include "pointseries.h"
#include "qtcompat_p.h"
#include "vline.h"

#include <QFontMetrics>
#include <QtMath>
#include <QMetaObject>
#include <QPainter>
#include <QTextOption>

#include <algorithm>

bool ChartWidgetPrivate::updatePlotArea()
{
    return updatePlotArea(true);
}

bool ChartWidgetPrivate::updatePlotArea(bool render)
{
    if (group)
        group->d->alignBands();
    const QRect old = plotRect;
    const QRect r = plotRectIn(q->rect());
    plotRect = r;
    if (r == old)
        return false;
    legend.d->followPlotArea();
    axes.setSize(QSizeF(plotRect.size()));
    if (plotRect.size() != old.size()) {
        makeImage();
        if (!render) {
            pixmap.fill(Qt::transparent);
            return false;
        }
        q->repaint();
        return true;
    }
    return false;
}

QRect ChartWidgetPrivate::plotRectIn(const QRect &area) const
{
    QRect r = area.adjusted(margins.left(), margins.top(), -margins.right(), -margins.bottom());
    if (!partsOfWholeOnly()) {
        r.setBottom(r.bottom() - axes.bottom()->size());
        r.setLeft(r.left() + std::max(axes.left()->size(), minLeftBand));
        if (rightAxisInUse())
            r.setRight(r.right() - std::max(axes.right()->size(), minRightBand));
        else
            r.setRight(r.right() - minRightBand);
        if (topAxisInUse())
            r.setTop(r.top() + axes.top()->size());
    }
    if (!title.isEmpty())
        r.setTop(r.top() + QFontMetrics(titleFont).height());
    if (legend.d->visible) {
        switch (legend.placement()) {
        case Legend::plRight:
        case Legend::plRightInverted:
            r.setRight(r.right() - legend.width());
            break;
        case Legend::plLeft:
        case Legend::plLeftInverted:
            r.setLeft(r.left() + legend.width());
            break;
        case Legend::plTop:
        case Legend::plTopInverted:
            r.setTop(r.top() + legend.height());
            break;
        case Legend::plBottom:
        case Legend::plBottomInverted:
            r.setBottom(r.bottom() - legend.height());
            break;
        default: // inset: over the plot, it takes no room
            break;
        }
    }
    if (const int bar = colorScaleWidth(r.height()))
        r.setRight(r.right() - bar);
    // Whatever the fonts and bands claim, the plot stays inside the widget.
    if (!area.contains(r) && r.isValid())
        r = r.intersected(area);
    return r;
}

bool ChartWidgetPrivate::partsOfWholeOnly() const
{
    if (seriesMap.isEmpty())
        return false;
    for (ChartSeries *series : seriesMap)
        if (!series || series->type() != ChartSeries::stPie)
            return false;
    return true;
}

bool ChartWidgetPrivate::rightAxisInUse() const
{
    const Axis *right = axes.right();
    for (const ChartSeries *series : seriesMap)
        if (series && series->yAxis() == right)
            return true;
    return false;
}

bool ChartWidgetPrivate::topAxisInUse() const
{
    const Axis *top = axes.top();
    for (const ChartSeries *series : seriesMap)
        if (series && series->xAxis() == top)
            return true;
    return false;
}

QVector<Axis *> ChartWidgetPrivate::xAxes() const
{
    if (topAxisInUse())
        return {axes.bottom(), axes.top()};
    return {axes.bottom()};
}

QVector<Axis *> ChartWidgetPrivate::yAxes() const
{
    if (rightAxisInUse())
        return {axes.left(), axes.right()};
    return {axes.left()};
}

bool ChartWidgetPrivate::viewValid() const
{
    const QVector<Axis *> xs = xAxes();
    if (std::none_of(xs.begin(), xs.end(), [](const Axis *x) { return x->isValid(); }))
        return false;
    for (const Axis *y : yAxes())
        if (y->isValid())
            return true;
    return false;
}

// The series image has the widget's device pixel ratio, so that lines and
// markers are drawn at the density of the screen rather than scaled up.
void ChartWidgetPrivate::makeImage()
{
    // A plot too small to hold a pixel gets no image; QPixmap would warn.
    if (!plotRect.isValid()) {
        pixmap = QPixmap();
        return;
    }
    const qreal ratio = q->devicePixelRatioF();
    if (ratio == 1.0) {
        pixmap = QPixmap(plotRect.size());
        return;
    }
    pixmap = QPixmap(qCeil(plotRect.width() * ratio), qCeil(plotRect.height() * ratio));
    pixmap.setDevicePixelRatio(ratio);
}

void ChartWidget::repaint()
{
    d->renderQueued = false;
    if (d->pixmap.isNull())
        return;
    if (d->aspectRatio > 0)
        d->keepAspect();
    if (d->group)
        d->group->d->followX(this);
    d->alignRenderPending = false;
    d->pixmap.fill(Qt::transparent);
    QPainter painter(&d->pixmap);
    if (d->antialiasing)
        painter.setRenderHint(QPainter::Antialiasing, true);
    d->drawSeries(&painter, false);
    d->prepareHitTests();
    update();
}

void ChartWidgetPrivate::drawSeries(QPainter *painter, bool vector)
{
    for (ChartSeries *series : qAsConst(seriesMap)) {
        if (!series || !series->isVisible())
            continue;
        if (vector && series->type() == ChartSeries::stPoint) {
            auto *points = static_cast<PointSeries *>(series);
            const bool wasVector = points->vectorRendering();
            // Blocked so the switch does not ask for a rendering of the
            // image in the middle of this one.
            const bool wasBlocked = points->blockSignals(true);
            points->setVectorRendering(true);
            points->draw(painter);
            points->setVectorRendering(wasVector);
            points->blockSignals(wasBlocked);
        } else {
            series->draw(painter);
        }
    }
    for (VLine *line : qAsConst(vlineMap))
        if (line)
            line->draw(painter);
}

void ChartWidgetPrivate::drawTitleAndAxes(QPainter *painter)
{
    if (!title.isEmpty()) {
        // In the widget's text colour in every output, as on screen.
        painter->setPen(q->palette().color(QPalette::WindowText));
        painter->setFont(titleFont);
        QRect r = QFontMetrics(titleFont).boundingRect(title).adjusted(-1, 0, 1, 0);
        const int x = plotRect.left() + (plotRect.width() - r.width()) / 2;
        r.moveTopLeft(QPoint(x, 0));
        // Measured and laid-out widths can differ by a fraction of a pixel;
        // without NoWrap a title could break onto a hidden second line.
        QTextOption option(Qt::AlignHCenter | Qt::AlignTop);
        option.setWrapMode(QTextOption::NoWrap);
        painter->drawText(QRectF(r), title, option);
    }
    // A part of a whole has no scale to show.
    if (partsOfWholeOnly())
        return;
    axes.draw(painter, &plotRect, true);
    // Its grid lines would cross the left axis' ones at other heights.
    if (rightAxisInUse())
        axes.right()->draw(painter, &plotRect, false);
    // Its grid only stands in for a bottom axis that has no range.
    if (topAxisInUse())
        axes.top()->draw(painter, &plotRect, !axes.bottom()->isValid());
    drawColorScale(painter);
}

void ChartWidgetPrivate::handlePaint()
{
    QPainter painter(q);
    if (antialiasing)
        painter.setRenderHint(QPainter::Antialiasing, true);
    drawTitleAndAxes(&painter);
    if (!pixmap.isNull()) {
        if (pixmap.devicePixelRatioF() != q->devicePixelRatioF()) {
            // Moved to a screen of another density.
            makeImage();
            q->repaint();
        }
        // At fractional ratios the image may be part of a pixel larger than
        // the plot; it is drawn at its own density, never rescaled.
        if (pixmap.devicePixelRatioF() == 1.0)
            painter.drawPixmap(plotRect, pixmap);
        else
            painter.drawPixmap(plotRect.topLeft(), pixmap);
    }
    drawItems(&painter, true);
    drawSelection(&painter);
    drawFocusFrame(&painter);
    if (zooming) {
        const QRect band = QtCompat::normalized(zoomRect).adjusted(0, 0, -1, -1);
        painter.drawRects(&band, 1);
    }
    drawCrosshair(&painter);
}

void ChartWidgetPrivate::handleResize()
{
    legend.d->adjustGeometry();
    updatePlotArea();
    if (autoScale) {
        autoScale = false;
        QMetaObject::invokeMethod(q, "setAutoScale", Qt::QueuedConnection);
    }
}

void ChartWidget::setDrawingLock(bool lock)
{
    if (!lock && d->drawingLock) {
        d->drawingLock = false;
        if (d->autoScale)
            d->axes.adjust();
        repaint();
        return;
    }
    d->drawingLock = lock;
}
