#include "areastab.h"
#include "demotabs.h"

#include <axes.h>
#include <axis.h>
#include <chartwidget.h>
#include <lineseries.h>

#include <QCoreApplication>
#include <QLinearGradient>

#include <cmath>
#include <random>

namespace demo {

static QString tr(const char *text)
{
    return QCoreApplication::translate("DemoTabs", text);
}

ChartWidget *areasChart()
{
    auto *chart = newChart(tr("Power by source over a day"), tr("Hour"), tr("Power (MW)"));
    auto *gas = new LineSeries;
    gas->setName(tr("Gas"));
    auto *wind = new LineSeries;
    wind->setName(tr("Wind"));
    auto *solar = new LineSeries;
    solar->setName(tr("Solar"));
    auto *target = new LineSeries;
    target->setName(tr("Set-point"));

    // Each source sits on the one below it: the top line is the total.
    wind->setStackedOn(gas);
    solar->setStackedOn(wind);
    const QColor colors[] = {palette(8), palette(0), palette(9)};
    LineSeries *layers[] = {gas, wind, solar};
    for (int i = 0; i < 3; ++i) {
        layers[i]->setColor(colors[i].darker(120));
        QColor fill = colors[i];
        fill.setAlpha(170);
        layers[i]->setFillBrush(fill);
    }
    // The sun's layer fades upwards, over the box of its own area.
    QLinearGradient sun(0, 1, 0, 0);
    sun.setCoordinateMode(QGradient::ObjectBoundingMode);
    sun.setColorAt(0, QColor(0xf2, 0xb7, 0x05, 200));
    sun.setColorAt(1, QColor(0xff, 0xe0, 0x66, 230));
    solar->setFillBrush(sun);
    target->setColor(palette(3));
    target->setWidth(2);
    target->setStepMode(LineSeries::StepLeft);

    std::mt19937 rng(24);
    std::normal_distribution<double> gust(0.0, 6.0);
    double w = 120;
    for (int q = 0; q <= 24 * 4; ++q) {
        const double h = q / 4.0;
        const double demand = 430 + 160 * std::sin((h - 9) * M_PI / 12) + 60 * std::exp(-std::pow(h - 19, 2) / 3);
        const double sunUp = h > 6.5 && h < 19.5 ? std::sin((h - 6.5) * M_PI / 13) : 0;
        const double s = 210 * sunUp * sunUp;
        w = qBound(30.0, w + gust(rng) - (w - 130) * 0.05, 240.0);
        solar->addXY(h, s);
        wind->addXY(h, w);
        gas->addXY(h, qMax(40.0, demand - s - w));
    }
    // The operator's hourly plan: it holds until the next hour's figure.
    for (int h = 0; h <= 24; h += 2)
        target->addXY(h, 420 + 170 * std::sin((h - 8.5) * M_PI / 12));

    chart->setDrawingLock(true);
    for (LineSeries *s : {gas, wind, solar, target})
        chart->addSeries(s);
    chart->setDrawingLock(false);
    chart->repaint();
    return chart;
}

} // namespace demo
