#include "chartfixtures.h"
#include "testmain.h"

#include <axes.h>
#include <axis.h>
#include <legend.h>
#include <lineseries.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QThread>
#include <atomic>
#include <memory>
#include <vector>

namespace {

constexpr int kWorkers = 8;
constexpr int kPoints = 10000;

void sendMouse(QWidget *w, QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

int legendBoxes(ChartWidget &w)
{
    return w.legend()->findChildren<QCheckBox *>().size();
}

} // namespace

// Producers in worker threads feed a chart that the GUI thread keeps busy.
class TestStress : public QObject
{
    Q_OBJECT
private slots:
    void workersFeedBusyChart();
};

void TestStress::workersFeedBusyChart()
{
    ChartWidget w;
    w.legend()->setVisible(true);
    showChart(w);
    // Points arrive far faster than anyone could watch; render on a timer.
    w.setRefreshTimeout(50);

    std::atomic<int> registered{0};
    std::atomic<int> producersDone{0};
    std::vector<int> ids(kWorkers, 0);
    std::vector<ChartSeries *> series(kWorkers, nullptr);
    QThread *gui = QThread::currentThread();

    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < kWorkers; ++t) {
        threads.emplace_back(QThread::create([&, t] {
            auto *s = new LineSeries;
            s->setName(QStringLiteral("worker %1").arg(t));
            // Queued points are delivered in the series' thread, and this
            // one has no event loop.
            s->moveToThread(gui);
            int id = 0;
            QMetaObject::invokeMethod(&w, "addSeries", Qt::BlockingQueuedConnection,
                                      Q_RETURN_ARG(int, id), Q_ARG(ChartSeries *, s));
            ids[t] = id;
            series[t] = s;
            ++registered;
            for (int i = 0; i < kPoints; ++i)
                QMetaObject::invokeMethod(s, "addXY", Qt::QueuedConnection, Q_ARG(double, i),
                                          Q_ARG(double, t * 10 + (i % 7)));
            ++producersDone;
        }));
        threads.back()->start();
    }

    // Meanwhile the user zooms, pans, hides and the chart renders.
    QElapsedTimer clock;
    clock.start();
    int round = 0;
    while (producersDone < kWorkers && clock.elapsed() < 60000) {
        const QRect plot = w.d->plotRect;
        switch (round++ % 4) {
        case 0:
            sendMouse(&w, QEvent::MouseButtonPress, Qt::LeftButton, plot.topLeft() + QPoint(20, 20));
            sendMouse(&w, QEvent::MouseMove, Qt::LeftButton, plot.center());
            sendMouse(&w, QEvent::MouseButtonRelease, Qt::LeftButton, plot.center());
            break;
        case 1:
            sendMouse(&w, QEvent::MouseButtonPress, Qt::MiddleButton, plot.center());
            sendMouse(&w, QEvent::MouseMove, Qt::MiddleButton, plot.center() + QPoint(15, -10));
            sendMouse(&w, QEvent::MouseButtonRelease, Qt::MiddleButton, plot.center() + QPoint(15, -10));
            break;
        case 2:
            for (ChartSeries *s : w.seriesList())
                s->setVisible(!s->isVisible());
            break;
        default:
            w.grab();
            w.setAutoScale(true);
            break;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    for (auto &t : threads)
        QVERIFY(t->wait(60000));
    // Everything queued before the workers finished is now in the queue.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();

    QCOMPARE(registered.load(), kWorkers);
    QCOMPARE(w.seriesList().size(), kWorkers);
    for (int t = 0; t < kWorkers; ++t) {
        QVERIFY(ids[t] > 0);
        QCOMPARE(w.series(ids[t]), series[t]);
        QCOMPARE(series[t]->pointsCount(), kPoints);
        QCOMPARE(series[t]->point(kPoints - 1).value(1).toDouble(), double(t * 10 + (kPoints - 1) % 7));
    }
    QCOMPARE(legendBoxes(w), kWorkers);
    // The chart is still usable: autoscale covers every series.
    for (ChartSeries *s : w.seriesList())
        s->setVisible(true);
    QCoreApplication::processEvents();
    w.setAutoScale(false);
    w.setAutoScale(true);
    QVERIFY(w.axes()->bottom()->max() >= kPoints - 1);
    QVERIFY(!w.grab().isNull());
}

TAVRIN_TEST(TestStress)

#include "tst_stress.moc"
