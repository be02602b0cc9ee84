#include "histogramtab.h"
#include "demotabs.h"

#include <chartwidget.h>
#include <histogramseries.h>

#include <QCoreApplication>
#include <QVector>

#include <random>

namespace demo {

static QString tr(const char *text)
{
    return QCoreApplication::translate("DemoTabs", text);
}

namespace {

HistogramSeries *distribution(const QString &name, int colour, int count, double mean, double spread,
                              unsigned seed)
{
    auto *series = new HistogramSeries;
    series->setName(name);
    series->setNormalization(HistogramSeries::Densities);
    // One width for both, so their bars line up.
    series->setBinWidth(2.5);
    QColor fill = palette(colour);
    series->setColor(fill.darker(130));
    fill.setAlpha(110);
    series->setFillColor(fill);
    std::mt19937 rng(seed);
    std::lognormal_distribution<double> times(mean, spread);
    QVector<double> values(count);
    for (double &v : values)
        v = times(rng);
    series->addValues(values);
    return series;
}

} // namespace

ChartWidget *histogramChart()
{
    auto *chart = newChart(tr("Response times: 20,000 before the cache, 5,000 after, as densities"), tr("Response time (ms)"),
                           tr("Density (1/ms)"));
    chart->setDrawingLock(true);
    chart->addSeries(distribution(tr("Before"), 0, 20000, 4.0, 0.35, 11));
    chart->addSeries(distribution(tr("After"), 1, 5000, 3.4, 0.3, 12));
    chart->setDrawingLock(false);
    return chart;
}

} // namespace demo
