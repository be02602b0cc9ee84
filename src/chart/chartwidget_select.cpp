// The user's selection of data items: clicks, Shift+drag bands, Escape, and
// the rings drawn over the series image.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "barseries.h"
#include "barseries_p.h"
#include "chartseries.h"
#include "hittest_p.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The kinds whose first two row columns are the x and y of a drawn point.
bool hasXYRows(ChartSeries *series)
{
    switch (series->type()) {
    case ChartSeries::stLine:
    case ChartSeries::stPoint:
    case ChartSeries::stMinMaxPoint:
    case ChartSeries::stBar:
    case ChartSeries::stBoxAndWhiskers:
        return true;
    default:
        return false;
    }
}

bool rowXY(ChartSeries *series, int row, double &x, double &y)
{
    const QList<QVariant> v = series->point(row);
    if (v.size() < 2)
        return false;
    x = v.at(0).toDouble();
    y = v.at(1).toDouble();
    return std::isfinite(x) && std::isfinite(y);
}

// Where row's ring goes, in plot pixels. Bars laid out sideways, stacked
// or grouped know their own ends.
bool rowPixel(ChartSeries *series, int row, QPointF &c)
{
    auto *bars = qobject_cast<BarSeries *>(series);
    if (bars && !bars->d->plain()) {
        c = bars->d->endPixel(row);
    } else {
        double x, y;
        if (!rowXY(series, row, x, y))
            return false;
        c = QPointF(series->xAxis()->pointToPixel(x), series->yAxis()->pointToPixel(y));
    }
    return std::isfinite(c.x()) && std::isfinite(c.y());
}

} // namespace

ChartWidget::SelectionMode ChartWidget::selectionMode() const
{
    return d->selectionMode;
}

void ChartWidget::setSelectionMode(SelectionMode mode)
{
    if (d->selectionMode == mode)
        return;
    d->selectionMode = mode;
    // Escape needs the focus; a host that never selects keeps its policy.
    if (mode != smNone && focusPolicy() == Qt::NoFocus)
        setFocusPolicy(Qt::ClickFocus);
    emit selectionModeChanged(mode);
}

QList<int> ChartWidget::selectedPoints(int seriesId) const
{
    d->pruneSelection();
    return d->selection.value(seriesId).rows;
}

void ChartWidget::setSelectedPoints(int seriesId, const QList<int> &indices)
{
    d->pruneSelection();
    ChartSeries *series = d->seriesMap.value(seriesId);
    if (!series)
        return;
    QList<int> rows;
    const int n = series->pointsCount();
    for (int i : indices)
        if (i >= 0 && i < n)
            rows.append(i);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows == d->selection.value(seriesId).rows)
        return;
    if (rows.isEmpty())
        d->selection.remove(seriesId);
    else
        d->selection.insert(seriesId, {series, rows});
    update();
    emit selectionChanged();
}

void ChartWidget::clearSelection()
{
    if (d->selection.isEmpty())
        return;
    d->selection.clear();
    update();
    emit selectionChanged();
}

void ChartWidgetPrivate::pruneSelection()
{
    for (auto it = selection.begin(); it != selection.end();) {
        if (!it->series || seriesMap.value(it.key()) != it->series || it->rows.isEmpty())
            it = selection.erase(it);
        else
            ++it;
    }
}

void ChartWidgetPrivate::selectAt(const ChartHit &hit, Qt::KeyboardModifiers mods)
{
    const bool toggle = (mods & Qt::ControlModifier) && selectionMode != ChartWidget::smSinglePoint;
    if (!hit.isValid()) {
        if (!toggle)
            q->clearSelection();
        return;
    }
    pruneSelection();
    if (!toggle) {
        const bool same = selection.size() == 1 && selection.contains(hit.seriesId)
            && selection.value(hit.seriesId).rows == QList<int>{hit.index};
        if (same)
            return;
        selection.clear();
        selection.insert(hit.seriesId, {seriesMap.value(hit.seriesId), {hit.index}});
    } else {
        Selected &s = selection[hit.seriesId];
        s.series = seriesMap.value(hit.seriesId);
        auto at = std::lower_bound(s.rows.begin(), s.rows.end(), hit.index);
        if (at != s.rows.end() && *at == hit.index)
            s.rows.erase(at);
        else
            s.rows.insert(at, hit.index);
        if (s.rows.isEmpty())
            selection.remove(hit.seriesId);
    }
    q->update();
    emit q->selectionChanged();
}

// Every row of the point kinds is looked at once: a band is a rare gesture.
void ChartWidgetPrivate::selectBand(const QRect &band)
{
    QMap<int, Selected> picked;
    const QRectF inPlot = QRectF(band.translated(-plotRect.topLeft()));
    for (auto it = seriesMap.constBegin(); it != seriesMap.constEnd(); ++it) {
        ChartSeries *series = it.value();
        if (!series || !series->isVisible() || !series->xAxis() || !series->yAxis() || !hasXYRows(series))
            continue;
        Selected s{series, {}};
        for (int i = 0, n = series->pointsCount(); i < n; ++i) {
            QPointF c;
            if (rowPixel(series, i, c) && inPlot.contains(c))
                s.rows.append(i);
        }
        if (!s.rows.isEmpty())
            picked.insert(it.key(), s);
    }
    pruneSelection();
    bool same = picked.size() == selection.size();
    for (auto it = picked.constBegin(); same && it != picked.constEnd(); ++it)
        same = selection.value(it.key()).rows == it->rows;
    if (same)
        return;
    selection = picked;
    q->update();
    emit q->selectionChanged();
}

void ChartWidgetPrivate::seriesRowsRemoved(ChartSeries *series, int count)
{
    dropAccessible(series, true);
    for (auto it = selection.begin(); it != selection.end(); ++it) {
        if (it->series != series)
            continue;
        QList<int> rows;
        if (count >= 0)
            for (int r : qAsConst(it->rows))
                if (r >= count)
                    rows.append(r - count);
        it->rows = rows;
        if (rows.isEmpty())
            selection.erase(it);
        q->update();
        return;
    }
}

// Two rings, dark outside and light inside, so that one of them stands out
// on any background and theme.
void ChartWidgetPrivate::drawSelection(QPainter *painter)
{
    if (selection.isEmpty())
        return;
    pruneSelection();
    painter->save();
    painter->setClipRect(plotRect);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setBrush(Qt::NoBrush);
    const QPen outer(QColor(0, 0, 0), 2.0), inner(QColor(255, 255, 255), 2.0);
    constexpr double r = 6.0;
    for (auto it = selection.constBegin(); it != selection.constEnd(); ++it) {
        ChartSeries *series = it->series;
        if (!series->isVisible() || !series->xAxis() || !series->yAxis())
            continue;
        if (!hasXYRows(series)) {
            // Shapes get their own outline, the light line between two dark ones.
            const QPen wide(QColor(0, 0, 0), 4.0), thin(QColor(255, 255, 255), 2.0);
            for (int row : it->rows) {
                const QPainterPath outline = tavrin::itemOutline(series, row).translated(plotRect.topLeft());
                if (outline.isEmpty())
                    continue;
                painter->strokePath(outline, wide);
                painter->strokePath(outline, thin);
            }
            continue;
        }
        for (int row : it->rows) {
            QPointF c;
            if (!rowPixel(series, row, c))
                continue;
            c += QPointF(plotRect.topLeft());
            if (!std::isfinite(c.x()) || !std::isfinite(c.y()) || !QRectF(plotRect).adjusted(-r, -r, r, r).contains(c))
                continue;
            painter->setPen(outer);
            painter->drawEllipse(c, r + 1, r + 1);
            painter->setPen(inner);
            painter->drawEllipse(c, r - 1, r - 1);
        }
    }
    painter->restore();
}
