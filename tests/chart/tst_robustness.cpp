// Values and inputs no sensible host would send, fuzz findings, and
// producers in worker threads: the chart must stay usable through all.
#include "fixtures.h"
#include "testmain.h"

#include "../../fuzz/chartops.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <vector>

using namespace tavrintest;

class TestRobustness : public QObject
{
    Q_OBJECT
private slots:
    void extremeValues_data();
    void extremeValues();
    void hostileRanges_data();
    void hostileRanges();
    void fuzzRegressions_data();
    void fuzzRegressions();
    void workersFeedBusyChart();

private:
    QTemporaryDir dir;
};

void TestRobustness::extremeValues_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    const struct { const char *name; double x, y; } values[] = {
        {"NaN", NaN, NaN}, {"+inf", Inf, Inf}, {"-inf", -Inf, -Inf}, {"1e308", 1e308, -1e308},
        {"-0.0", -0.0, -0.0}, {"NaN y", 1, NaN}, {"inf x", Inf, 2},
    };
    for (int k = 0; k < kKinds; ++k)
        for (const auto &v : values)
            QTest::addRow("%s %s", kindName(k), v.name) << k << v.x << v.y;
}

// Every entry point with one hostile item among ordinary ones.
void TestRobustness::extremeValues()
{
    QFETCH(int, kind);
    QFETCH(double, x);
    QFETCH(double, y);
    ChartWidget w;
    w.legend()->setVisible(true);
    showChart(w, 300, 200);
    ChartSeries *s = makeSeries(kind);
    addItem(s, 0, 1, NaN); // the extra values of the wider kinds are NaN
    addItem(s, x, y, NaN);
    addItem(s, 2, 3, NaN);
    w.addSeries(s);
    w.addVLine(new VLine(x, Qt::red, 1));
    QCoreApplication::processEvents();
    QVERIFY(!w.grab().isNull());
    const QRect plot = w.d->plotRect;
    drag(w, Qt::LeftButton, plot.topLeft() + QPoint(5, 5), plot.center());
    drag(w, Qt::MiddleButton, plot.center(), plot.center() + QPoint(30, 20));
    QHelpEvent tip(QEvent::ToolTip, plot.center(), w.mapToGlobal(plot.center()));
    QCoreApplication::sendEvent(&w, &tip);
    for (const QSize &size : {QSize(0, 0), QSize(1, 1), QSize(300, 200)}) {
        w.resize(size);
        QCoreApplication::processEvents();
        w.grab();
    }
    QVERIFY(w.exportCsv(dir.filePath("x.csv")) && w.exportXml(dir.filePath("x.xml")) && w.exportSvg(dir.filePath("x.svg")));
    QVERIFY(w.save(ChartWidget::dfBinary, dir.filePath("x.tn")) && w.load(ChartWidget::dfBinary, dir.filePath("x.tn")));
    QCOMPARE(s->pointsCount(), 3);
}

void TestRobustness::hostileRanges_data()
{
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("hi");
    QTest::newRow("reversed") << 10.0 << -10.0;
    QTest::newRow("empty") << 5.0 << 5.0;
    QTest::newRow("NaN") << NaN << 1.0;
    QTest::newRow("infinite") << -Inf << Inf;
    QTest::newRow("beyond double") << -1e308 << 1e308;
    QTest::newRow("denormal span") << 0.0 << std::numeric_limits<double>::denorm_min();
    QTest::newRow("huge, tiny span") << 1e300 << 1e300 * (1 + 1e-15);
    QTest::newRow("signed zeros") << -0.0 << 0.0;
}

// Ranges the tick loops and transforms have to live with, with and without
// date-time labels; each renders in bounded time.
void TestRobustness::hostileRanges()
{
    QFETCH(double, lo);
    QFETCH(double, hi);
    for (bool datetime : {false, true}) {
        ChartWidget w;
        showChart(w, 300, 200);
        w.addSeries(lineOf({{0, 0}, {1, 1}, {2, 4}}));
        w.setAutoScale(false);
        w.axes()->bottom()->setDatetime(datetime);
        w.axes()->bottom()->setRange(lo, hi);
        w.axes()->left()->setRange(lo, hi);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!w.grab().isNull());
        const QRect plot = w.d->plotRect;
        drag(w, Qt::LeftButton, plot.topLeft() + QPoint(5, 5), plot.center());
        drag(w, Qt::MiddleButton, plot.center(), plot.center() + QPoint(-40, 10));
        w.grab();
        QVERIFY2(clock.elapsed() < 5000, "rendering hung on the range");
        QVERIFY(w.exportSvg(dir.filePath("r.svg")));
    }
}

void TestRobustness::fuzzRegressions_data()
{
    QTest::addColumn<QByteArray>("input");
    // Each row is an input of the operations fuzzer that once failed.
    QTest::newRow("empty") << QByteArray();
    // A bar a few million pixels tall took seconds per rendering.
    QTest::newRow("tall bar") << QByteArray::fromBase64(
        "AAADBYAAfwCC/////////////////////////////////wB+AIMAfQCEAHwACAcAigB1dGY4AQABDBV1dGY4DAEBAwwSARcM");
    // Points inside the visible range whose pixels overflowed int, because
    // the transform was out of step with the range at that moment.
    QTest::newRow("stale transform") << QByteArray::fromBase64(
        "AAYBgQCBAIV9AIQAfAAABwCKAHYADAcBAAABANAHgwAFAAYACkEUBRMeEQEDAwQDFtXV1dXV1dXV1dXV1dXV1dU0CDQIDAMADA==");
}

void TestRobustness::fuzzRegressions()
{
    QFETCH(QByteArray, input);
    QElapsedTimer clock;
    clock.start();
    chartops::run(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()), dir.path());
    QVERIFY2(clock.elapsed() < 10000, "operations took too long");
}

// Workers register through a blocking queued call, then queue points
// through the invokable addXY while the GUI thread zooms, pans, hides and
// renders.
void TestRobustness::workersFeedBusyChart()
{
    const int workers = 8, points = 5000;
    ChartWidget w;
    w.legend()->setVisible(true);
    showChart(w);
    w.setRefreshTimeout(50);
    std::atomic<int> done{0};
    std::vector<int> ids(workers, 0);
    std::vector<ChartSeries *> series(workers, nullptr);
    QThread *gui = QThread::currentThread();
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < workers; ++t) {
        threads.emplace_back(QThread::create([&, t] {
            auto *s = new LineSeries;
            s->moveToThread(gui); // queued points are delivered in the series' thread
            int id = 0;
            QMetaObject::invokeMethod(&w, "addSeries", Qt::BlockingQueuedConnection, Q_RETURN_ARG(int, id),
                                      Q_ARG(ChartSeries *, s));
            ids[t] = id;
            series[t] = s;
            for (int i = 0; i < points; ++i)
                QMetaObject::invokeMethod(s, "addXY", Qt::QueuedConnection, Q_ARG(double, i),
                                          Q_ARG(double, t * 10 + (i % 7)));
            ++done;
        }));
        threads.back()->start();
    }
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; done < workers && clock.elapsed() < 60000; ++round) {
        const QRect plot = w.d->plotRect;
        switch (round % 4) {
        case 0: drag(w, Qt::LeftButton, plot.topLeft() + QPoint(20, 20), plot.center()); break;
        case 1: drag(w, Qt::MiddleButton, plot.center(), plot.center() + QPoint(15, -10)); break;
        case 2:
            for (ChartSeries *s : w.seriesList())
                s->setVisible(!s->isVisible());
            break;
        default: w.grab(); w.setAutoScale(true); break;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    for (auto &t : threads)
        QVERIFY(t->wait(60000));
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(w.seriesList().size(), workers);
    for (int t = 0; t < workers; ++t) {
        QCOMPARE(w.series(ids[t]), series[t]);
        QCOMPARE(series[t]->pointsCount(), points);
        QCOMPARE(series[t]->point(points - 1).value(1).toDouble(), double(t * 10 + (points - 1) % 7));
    }
    QCOMPARE(w.legend()->findChildren<QCheckBox *>().size(), workers);
}

TAVRIN_TEST(TestRobustness)
#include "tst_robustness.moc"
