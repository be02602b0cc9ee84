// Workers feeding every kind of series while the GUI thread draws; also run
// alone under ThreadSanitizer (the "threads" label).
#include "testmain.h"
#include "fixtures.h"
#include "../../fuzz/chartops.h"

#include <histogramseries.h>

#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <memory>

using namespace tavrintest;

class TestThreads : public QObject
{
    Q_OBJECT
private slots:
    void workersFeedEveryKind();
    void workersFillAHistogram();
};

// One worker per kind queues single points and blocks, in the order a host
// would, into a series the GUI thread keeps drawing; every point arrives.
void TestThreads::workersFeedEveryKind()
{
    const int kinds = 7, points = 600, blocks = 30, perBlock = 20;
    ChartWidget w;
    showChart(w);
    w.setRefreshTimeout(10);
    std::vector<ChartSeries *> series;
    for (int k = 0; k < kinds; ++k) {
        series.push_back(chartops::makeSeries(k));
        w.addSeries(series.back());
    }
    std::atomic<int> done{0};
    std::vector<std::unique_ptr<QThread>> threads;
    for (int k = 0; k < kinds; ++k) {
        threads.emplace_back(QThread::create([&, k] {
            ChartSeries *s = series[size_t(k)];
            for (int i = 0; i < points; ++i) {
                QMetaObject::invokeMethod(s, "addXY", Qt::QueuedConnection, Q_ARG(double, i), Q_ARG(double, k + i % 5));
                if (i % (points / blocks))
                    continue;
                QVector<double> x(perBlock), y(perBlock);
                for (int j = 0; j < perBlock; ++j) {
                    x[j] = i + j / double(perBlock);
                    y[j] = k - j % 3;
                }
                QMetaObject::invokeMethod(s, "addPoints", Qt::QueuedConnection, Q_ARG(QVector<double>, x),
                                          Q_ARG(QVector<double>, y));
            }
            ++done;
        }));
        threads.back()->start();
    }
    QElapsedTimer clock;
    clock.start();
    while (done < kinds && clock.elapsed() < 60000) {
        w.grab();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    for (auto &t : threads)
        QVERIFY(t->wait(60000));
    QCoreApplication::processEvents();
    for (ChartSeries *s : series)
        QCOMPARE(s->pointsCount(), points + blocks * perBlock);
    QVERIFY(!w.grab().isNull());
}

// Workers queue blocks of values into one histogram, which the GUI thread
// keeps drawing with its bins at a given width; every value is binned once.
void TestThreads::workersFillAHistogram()
{
    const int workers = 3, blocks = 40, perBlock = 250;
    ChartWidget w;
    showChart(w);
    auto *h = new HistogramSeries;
    h->setBinWidth(0.5);
    w.addSeries(h);
    std::atomic<int> done{0};
    std::vector<std::unique_ptr<QThread>> threads;
    for (int k = 0; k < workers; ++k) {
        threads.emplace_back(QThread::create([&, k] {
            for (int b = 0; b < blocks; ++b) {
                QVector<double> block(perBlock);
                for (int j = 0; j < perBlock; ++j)
                    block[j] = (j % 2 ? NaN : k + (j % 20) * 0.25);
                QMetaObject::invokeMethod(h, "addValues", Qt::QueuedConnection, Q_ARG(QVector<double>, block));
            }
            ++done;
        }));
        threads.back()->start();
    }
    QElapsedTimer clock;
    clock.start();
    while (done < workers && clock.elapsed() < 60000) {
        w.grab();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    for (auto &t : threads)
        QVERIFY(t->wait(60000));
    QCoreApplication::processEvents();
    const qint64 each = qint64(workers) * blocks * perBlock / 2;
    qint64 binned = 0;
    for (const HistogramSeries::Bin &b : h->bins())
        binned += b.count;
    QCOMPARE(binned, each);
    QCOMPARE(h->nonFiniteCount(), each);
    QCOMPARE(h->minX(), 0.0);
    QCOMPARE(h->maxX(), 7.0);
}

TAVRIN_TEST(TestThreads)
#include "tst_threads.moc"
