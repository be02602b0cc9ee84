// A strip chart fed at 1 kHz from a worker thread, run faster than real
// time: the worker queues one block per simulated 50 ms into a line series
// that keeps the last ten minutes, on a date-time axis. Prints the resident
// set once per simulated minute, so constant memory shows as a flat column.
//
//   strip_chart [simulated minutes] [speed-up]     (default 30 and 20)

#include <axes.h>
#include <axis.h>
#include <chartwidget.h>
#include <lineseries.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QPointF>
#include <QThread>
#include <QVector>

#include <atomic>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kRate = 1000;          // samples per simulated second
constexpr int kBlockMs = 50;         // simulated time per block
constexpr int kWindowS = 600;        // what the series keeps

long residentKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

class Feeder : public QThread
{
public:
    Feeder(LineSeries *series, qint64 startMs, int blocks, int speedUp)
        : m_series(series), m_startMs(startMs), m_blocks(blocks), m_speedUp(speedUp)
    {
    }
    std::atomic<int> sent{0};

protected:
    void run() override
    {
        QElapsedTimer clock;
        clock.start();
        QVector<QPointF> block;
        const int perBlock = kRate * kBlockMs / 1000;
        for (int b = 0; b < m_blocks; ++b) {
            block.resize(0);
            for (int k = 0; k < perBlock; ++k) {
                const qint64 ms = m_startMs + qint64(b) * kBlockMs + k;
                block << QPointF(ms / 1000.0, std::sin(ms * 0.002) * 10 + (k % 7) * 0.1);
            }
            QMetaObject::invokeMethod(m_series, "addPoints", Qt::QueuedConnection,
                                      Q_ARG(QVector<QPointF>, block));
            ++sent;
            // Keep to the accelerated clock.
            const qint64 due = qint64(b + 1) * kBlockMs / m_speedUp;
            const qint64 ahead = due - clock.elapsed();
            if (ahead > 0)
                msleep(ulong(ahead));
        }
    }

private:
    LineSeries *m_series;
    qint64 m_startMs;
    int m_blocks;
    int m_speedUp;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int minutes = argc > 1 ? QByteArray(argv[1]).toInt() : 30;
    const int speedUp = argc > 2 ? QByteArray(argv[2]).toInt() : 20;

    ChartWidget chart;
    chart.resize(1000, 600);
    chart.axes()->bottom()->setDatetime(true);
    chart.axes()->bottom()->setDatetimeFormat(QStringLiteral("hh:mm:ss.zzz"));
    chart.setRefreshTimeout(50);
    auto *series = new LineSeries;
    series->setMaximumPoints(kWindowS * kRate);
    chart.addSeries(series);
    chart.show();
    QApplication::processEvents();

    const qint64 start = QDateTime(QDate(2026, 1, 1), QTime(0, 0)).toMSecsSinceEpoch();
    const int blocksPerMinute = 60 * 1000 / kBlockMs;
    Feeder feeder(series, start, minutes * blocksPerMinute, speedUp);
    std::printf("minute  points  rss_kb  x_span_s  last_x_fraction  axis_min_label\n");
    int reported = 0;
    QObject::connect(series, &ChartSeries::pointsAdded, [&] {
        const int minute = int((series->maxX() * 1000 - start) / 60000);
        if (minute <= reported)
            return;
        reported = minute;
        const double span = series->maxX() - series->minX();
        std::printf("%6d  %6d  %6ld  %8.3f  %15.3f  %s\n", minute, series->pointsCount(), residentKb(),
                    span, series->maxX() - std::floor(series->maxX()),
                    qPrintable(chart.axes()->bottom()->labelString(chart.axes()->bottom()->min())));
        std::fflush(stdout);
    });
    feeder.start();
    while (feeder.isRunning())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    feeder.wait();
    // What the worker queued last.
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    std::printf("blocks %d, points kept %d, rss %ld kB\n", feeder.sent.load(), series->pointsCount(),
                residentKb());
    return 0;
}
