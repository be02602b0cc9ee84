#include "chartgroup.h"
#include "chartgroup_p.h"

#include "axes.h"
#include "axis.h"
#include "axis_p.h"
#include "chartwidget.h"
#include "chartwidget_p.h"

#include <QPointer>

#include <algorithm>
#include <cmath>

ChartGroup::ChartGroup(QObject *parent)
    : QObject(parent), d(new ChartGroupPrivate(this))
{
}

ChartGroup::~ChartGroup()
{
    const QList<ChartWidget *> members = d->charts;
    d->charts.clear();
    for (ChartWidget *chart : members)
        d->detach(chart);
    delete d;
    d = nullptr;
}

bool ChartGroup::addChart(ChartWidget *chart)
{
    if (!chart || d->charts.contains(chart))
        return false;
    if (!d->charts.isEmpty()
        && d->charts.first()->axes()->bottom()->isDatetime() != chart->axes()->bottom()->isDatetime())
        return false;
    if (chart->d->group)
        chart->d->group->removeChart(chart);
    d->charts.append(chart);
    chart->d->group = this;
    chart->d->linkedLo = chart->d->linkedHi = qQNaN();
    if (d->charts.size() == 1 || std::isnan(d->lo)) {
        // The first member with a view gives the group its range.
        d->lo = d->hi = qQNaN();
        chart->repaint();
    } else {
        const QPointer<ChartWidget> guard(chart);
        chart->d->takeX(d->lo, d->hi, !chart->d->autoScale);
        if (guard && chart->d->autoScale)
            d->followX(chart); // its data may widen the union
    }
    d->alignBands();
    emit chartsChanged();
    return true;
}

bool ChartGroup::removeChart(ChartWidget *chart)
{
    if (!chart || !d->charts.removeOne(chart))
        return false;
    d->detach(chart);
    d->alignBands();
    emit chartsChanged();
    return true;
}

QList<ChartWidget *> ChartGroup::charts() const
{
    return d->charts;
}

bool ChartGroup::alignPlotAreas() const
{
    return d->align;
}

void ChartGroup::setAlignPlotAreas(bool on)
{
    if (d->align == on)
        return;
    d->align = on;
    if (on) {
        d->alignBands();
    } else {
        for (ChartWidget *chart : qAsConst(d->charts))
            chart->d->setBands(0, 0);
    }
    emit alignPlotAreasChanged(on);
}

void ChartGroupPrivate::detach(ChartWidget *chart)
{
    ChartWidgetPrivate *c = chart->d;
    if (!c)
        return;
    c->group = nullptr;
    c->linkedCrosshairX = qQNaN();
    c->setBands(0, 0);
    if (charts.isEmpty())
        lo = hi = qQNaN();
}

void ChartGroupPrivate::followX(ChartWidget *source)
{
    if (following)
        return;
    ChartWidgetPrivate *s = source->d;
    if (s->autoScale) {
        double a = qQNaN(), b = qQNaN();
        for (ChartWidget *chart : qAsConst(charts))
            chart->d->dataX(a, b);
        s->widenXTo(a, b);
    }
    // The transform can lag behind a range just widened; the group passes on
    // the range itself, so the source draws it too.
    if (charts.size() > 1 && s->axes.bottom()->isValid())
        s->axes.bottom()->d->updateTransform();
    double a, b;
    if (!s->visibleX(a, b) || (a == s->linkedLo && b == s->linkedHi))
        return;
    s->linkedLo = lo = a;
    s->linkedHi = hi = b;
    const bool gesture = !s->autoScale;
    following = true;
    // A member's host may delete members, or the group, from what a
    // rendering emits.
    QList<QPointer<ChartWidget>> members;
    for (ChartWidget *chart : qAsConst(charts))
        if (chart != source)
            members.append(chart);
    const QPointer<ChartGroup> self(q);
    for (const QPointer<ChartWidget> &chart : qAsConst(members)) {
        if (!self)
            return;
        if (chart && chart->d->group == q)
            chart->d->takeX(a, b, gesture);
    }
    if (self)
        following = false;
}

void ChartGroupPrivate::followCrosshair(ChartWidget *source, double x)
{
    for (ChartWidget *chart : qAsConst(charts)) {
        if (chart == source)
            continue;
        ChartWidgetPrivate *c = chart->d;
        if (x == c->linkedCrosshairX || (std::isnan(x) && std::isnan(c->linkedCrosshairX)))
            continue;
        c->linkedCrosshairX = x;
        chart->update(c->plotRect);
    }
}

void ChartGroupPrivate::alignBands()
{
    if (!align || aligning || charts.isEmpty())
        return;
    aligning = true;
    int left = 0, right = 0;
    for (ChartWidget *chart : qAsConst(charts)) {
        left = std::max(left, chart->d->leftBand());
        right = std::max(right, chart->d->rightBand());
    }
    for (ChartWidget *chart : qAsConst(charts))
        chart->d->setBands(left, right);
    aligning = false;
}
