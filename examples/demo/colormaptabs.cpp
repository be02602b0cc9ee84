#include "colormaptabs.h"
#include "demotabs.h"

#include <axes.h>
#include <axis.h>
#include <chartwidget.h>
#include <colormapseries.h>
#include <legend.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QVector>

#include <cmath>
#include <random>

namespace demo {

static QString tr(const char *text)
{
    return QCoreApplication::translate("DemoTabs", text);
}

SpectrumFeeder::SpectrumFeeder(ColorMapSeries *map, int rows, QObject *parent)
    : QThread(parent), m_map(map), m_rows(rows)
{
}

SpectrumFeeder::~SpectrumFeeder()
{
    stop();
    wait();
}

void SpectrumFeeder::run()
{
    std::mt19937 rng(26);
    std::exponential_distribution<double> noise(1.0);
    // The noise floor drifts slowly in time and frequency.
    QVector<double> floor(kBins, 1.0);
    QElapsedTimer clock;
    clock.start();
    for (int row = 0; (m_rows < 0 || row < m_rows) && !m_stop; ++row) {
        double along = 1.0;
        for (int b = 0; b < kBins; ++b) {
            along = 0.8 * along + 0.2 * noise(rng);
            floor[b] = 0.85 * floor[b] + 0.15 * along;
        }
        // The tone wanders and warbles; its second harmonic is weaker.
        const double t = row * kRowSeconds;
        const double tone = 2200 + 1200 * std::sin(t / 3.0) + 150 * std::sin(t * 5.0);
        QVector<double> spectrum(kBins);
        for (int b = 0; b < kBins; ++b) {
            const double hz = (b + 0.5) * kTopHz / kBins;
            const double d1 = (hz - tone) / 60, d2 = (hz - 2 * tone) / 90;
            const double power = 1e-4 * floor[b] + std::exp(-d1 * d1) + 0.1 * std::exp(-d2 * d2);
            spectrum[b] = 10 * std::log10(power); // dB
        }
        QMetaObject::invokeMethod(m_map, "addRow", Qt::QueuedConnection, Q_ARG(QVector<double>, spectrum));
        if (m_rows < 0) {
            const qint64 due = qint64((row + 1) * kRowSeconds * 1000);
            const qint64 wait = due - clock.elapsed();
            if (wait > 0)
                msleep(static_cast<unsigned long>(wait));
        }
    }
}

SpectrogramChart spectrogramChart(bool gallery)
{
    auto *chart = newChart(tr("Spectrogram: a drifting tone, 50 spectra a second"), tr("Frequency (Hz)"),
                           tr("Time (s)"));
    chart->legend()->setVisible(false);
    // Rows arrive from a worker; one rendering per 40 ms at most.
    chart->setRefreshTimeout(40);
    auto *map = new ColorMapSeries;
    map->setName(tr("Power"));
    map->setPreset(ColorMapSeries::Inferno);
    map->setDataRange(-50, 0);
    map->colorScaleAxis()->setTitle(tr("Power (dB)"));
    // The first, silent row sets the extent every later row extends.
    map->setData(QVector<double>(SpectrumFeeder::kBins, -50), SpectrumFeeder::kBins, 1, 0, SpectrumFeeder::kTopHz,
                 0, SpectrumFeeder::kRowSeconds);
    map->setMaximumRows(SpectrumFeeder::kRowsShown);
    chart->addSeries(map);
    return {chart, new SpectrumFeeder(map, gallery ? SpectrumFeeder::kRowsShown + 100 : -1)};
}

ChartWidget *heatMapChart()
{
    auto *chart = newChart(tr("Heat map: field strength around two sources, logarithmic colours"),
                           tr("x (m)"), tr("y (m)"));
    auto *map = new ColorMapSeries;
    map->setName(tr("Field"));
    map->setLogarithmicColors(true);
    map->colorScaleAxis()->setTitle(tr("Field strength (V/m)"));
    const int columns = 160, rows = 100;
    QVector<double> values(columns * rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const double x = -8 + 16.0 * (c + 0.5) / columns, y = -5 + 10.0 * (r + 0.5) / rows;
            const double d1 = std::hypot(x + 3, y - 1), d2 = std::hypot(x - 4, y + 1.5);
            double v = 50 / (0.05 + d1 * d1) + 12 / (0.05 + d2 * d2);
            // No readings inside the two buildings, nor on the river.
            if ((x > -1 && x < 1.5 && y > 1 && y < 3.5) || (x > 2 && x < 5 && y > 2.5 && y < 4))
                v = std::nan("");
            if (std::fabs(y + 0.4 * x + 3.8) < 0.25)
                v = std::nan("");
            values[r * columns + c] = v;
        }
    }
    map->setData(values, columns, rows, -8, 8, -5, 5);
    chart->addSeries(map);
    return chart;
}

} // namespace demo
