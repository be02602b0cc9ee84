#ifndef DEMO_COLORMAPTABS_H
#define DEMO_COLORMAPTABS_H

#include <QThread>
#include <atomic>

class ChartWidget;
class ColorMapSeries;

namespace demo {

// Stands in for an FFT thread: a tone drifting over a noise floor, one
// spectrum of kBins values per row, queued by value into the colour map.
class SpectrumFeeder : public QThread
{
public:
    static constexpr int kBins = 512;
    static constexpr int kRowsShown = 400;
    static constexpr double kRowSeconds = 0.02; // 50 spectra a second
    static constexpr double kTopHz = 8000;

    // rows < 0 runs until stop(), a row every kRowSeconds; otherwise that
    // many rows as fast as possible, for a reproducible picture.
    SpectrumFeeder(ColorMapSeries *map, int rows, QObject *parent = nullptr);
    ~SpectrumFeeder() override;
    void stop() { m_stop = true; }

protected:
    void run() override;

private:
    ColorMapSeries *m_map;
    int m_rows;
    std::atomic<bool> m_stop{false};
};

struct SpectrogramChart {
    ChartWidget *chart;
    SpectrumFeeder *feeder;
};
// A live waterfall of the feeder's spectra with its colour scale; the
// feeder is not started.
SpectrogramChart spectrogramChart(bool gallery);
// A static field with holes, on logarithmic colours.
ChartWidget *heatMapChart();

} // namespace demo

#endif // DEMO_COLORMAPTABS_H
