#include "chartfixtures.h"
#include "testmain.h"
#include "testutil.h"

#include <axes.h>
#include <axis.h>
#include <axis_p.h>
#include <vline.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <cmath>

class TestAutoScale : public QObject
{
    Q_OBJECT
private slots:
    void burstRendersAtFirstWideningAndExpiry();
    void negativeTimeoutFlushes();
    void zoomedRangesOnlyWiden();
    void lowestIdWithoutPointsWidensNothing();
    void visibleSeriesOnly();
    void markerLineWidensBottomOnly();
    void switchingOffKeepsRanges();
    void resizeDefersRescale();
    void clearedSeriesDisappears_data();
    void clearedSeriesDisappears();
    void pointInsideBoundsRendersNothing();
};

void TestAutoScale::burstRendersAtFirstWideningAndExpiry()
{
    ChartWidget w;
    showChart(w);
    auto *s = new CountingSeries;
    s->addXY(0, 0);
    w.addSeries(s);
    w.setRefreshTimeout(200);
    QCOMPARE(w.refreshTimeout(), 200);
    QApplication::processEvents();
    const int before = s->draws;
    QElapsedTimer t;
    t.start();
    for (int i = 1; i <= 1000; ++i)
        s->addXY(i, i % 7);
    QVERIFY(t.elapsed() < 150);
    QCOMPARE(s->draws, before + 1);
    QVERIFY(w.d->refreshTimer.isActive());
    // At expiry: one rendering with the old ranges, then the queued rescale.
    QTRY_VERIFY_WITH_TIMEOUT(!w.d->refreshTimer.isActive(), 2000);
    QApplication::processEvents();
    QVERIFY(s->draws >= before + 2 && s->draws <= before + 3);
    QVERIFY(w.autoScale());
    QVERIFY(w.axes()->bottom()->max() >= 1000);
}

void TestAutoScale::negativeTimeoutFlushes()
{
    ChartWidget w;
    showChart(w);
    auto *s = new CountingSeries;
    s->addXY(0, 0);
    s->addXY(1, 1);
    w.addSeries(s);
    w.setAutoScale(false);
    w.setRefreshTimeout(10000);
    s->addXY(50, 50); // widens: rendered at once, starts the timer
    s->addXY(20, 20);
    QVERIFY(w.d->refreshTimer.isActive());
    const int before = s->draws;
    w.setRefreshTimeout(-1);
    QVERIFY(!w.d->refreshTimer.isActive());
    QCOMPARE(s->draws, before + 1);
    QVERIFY(w.axes()->bottom()->max() >= 50);
    // Already negative: nothing happens.
    w.setRefreshTimeout(-1);
    QCOMPARE(s->draws, before + 1);
}

void TestAutoScale::zoomedRangesOnlyWiden()
{
    ChartWidget w;
    showChart(w);
    auto *a = lineOf({{0, 0}, {10, 10}});
    auto *hidden = lineOf({{-30, -5}, {0, 0}});
    w.addSeries(a);
    w.addSeries(hidden);
    hidden->setVisible(false);
    w.setAutoScale(false);
    w.axes()->bottom()->setRange(2, 4);
    w.axes()->left()->setRange(2, 4);
    w.setRefreshTimeout(20);
    a->addXY(12, 12);
    QTRY_VERIFY(!w.d->refreshTimer.isActive());
    // All data, the hidden series' too, lies inside the ranges now.
    QVERIFY(w.axes()->bottom()->min() <= -30);
    QVERIFY(w.axes()->bottom()->max() >= 12);
    QVERIFY(w.axes()->left()->min() <= -5);
    QVERIFY(!w.autoScale());
}

void TestAutoScale::lowestIdWithoutPointsWidensNothing()
{
    ChartWidget w;
    showChart(w);
    w.addSeries(new LineSeries);
    auto *b = lineOf({{0, 0}, {10, 10}});
    w.addSeries(b);
    w.setAutoScale(false);
    w.axes()->bottom()->setRange(2, 4);
    w.setRefreshTimeout(20);
    b->addXY(100, 100);
    QTRY_VERIFY(!w.d->refreshTimer.isActive());
    QCOMPARE(w.axes()->bottom()->max(), 4 + w.axes()->bottom()->d->margin);
}

void TestAutoScale::visibleSeriesOnly()
{
    ChartWidget w;
    showChart(w);
    auto *near = lineOf({{0, 0}, {10, 10}});
    auto *far = lineOf({{0, 0}, {1000, 1000}});
    w.addSeries(near);
    w.addSeries(far);
    QVERIFY(w.axes()->bottom()->max() >= 1000);
    far->setVisible(false);
    QVERIFY(w.autoScale());
    QVERIFY(w.axes()->bottom()->max() < 20);
    QVERIFY(w.axes()->left()->max() < 20);
    far->setVisible(true);
    QVERIFY(w.axes()->left()->max() >= 1000);
}

void TestAutoScale::markerLineWidensBottomOnly()
{
    ChartWidget w;
    showChart(w);
    w.addSeries(lineOf({{0, 0}, {10, 10}}));
    const double leftMax = w.axes()->left()->max();
    w.addVLine(new VLine(100.0, Qt::red, 1));
    w.setAutoScale(false);
    w.setAutoScale(true);
    QVERIFY(w.axes()->bottom()->max() >= 100);
    QCOMPARE(w.axes()->left()->max(), leftMax);
}

void TestAutoScale::switchingOffKeepsRanges()
{
    ChartWidget w;
    showChart(w);
    auto *s = lineOf({{0, 0}, {10, 10}});
    w.addSeries(s);
    const double min = w.axes()->bottom()->min(), max = w.axes()->bottom()->max();
    w.setAutoScale(false);
    QCOMPARE(w.axes()->bottom()->min(), min);
    QCOMPARE(w.axes()->bottom()->max(), max);
    s->addXY(-50, 3);
    // With the default refresh timeout an off switch still widens nothing.
    QCOMPARE(w.axes()->bottom()->min(), min);
    w.setAutoScale(true);
    QVERIFY(w.axes()->bottom()->min() <= -50);
}

void TestAutoScale::resizeDefersRescale()
{
    ChartWidget w;
    showChart(w);
    w.addSeries(lineOf({{0, 0}, {10, 10}}));
    w.resize(500, 300);
    QVERIFY(!w.autoScale());
    QApplication::processEvents();
    QVERIFY(w.autoScale());
}

void TestAutoScale::clearedSeriesDisappears_data()
{
    QTest::addColumn<bool>("autoScale");
    QTest::newRow("autoscale on") << true;
    QTest::newRow("autoscale off") << false;
}

void TestAutoScale::clearedSeriesDisappears()
{
    QFETCH(bool, autoScale);
    ChartWidget w;
    showChart(w);
    auto *keep = lineOf({{0, 5}, {10, 5}});
    keep->setColor(Qt::red);
    auto *s = lineOf({{0, 0}, {10, 10}});
    s->setColor(Qt::blue);
    w.addSeries(keep);
    w.addSeries(s);
    w.setAutoScale(autoScale);
    QVERIFY(tavrintest::countColor(w.d->pixmap.toImage(), qRgb(0, 0, 255)) > 0);
    s->clear();
    QApplication::processEvents();
    QCOMPARE(tavrintest::countColor(w.d->pixmap.toImage(), qRgb(0, 0, 255)), 0);
    QVERIFY(tavrintest::countColor(w.d->pixmap.toImage(), qRgb(255, 0, 0)) > 0);
}

void TestAutoScale::pointInsideBoundsRendersNothing()
{
    ChartWidget w;
    showChart(w);
    auto *s = new CountingSeries;
    s->addXY(0, 0);
    s->addXY(10, 10);
    w.addSeries(s);
    QApplication::processEvents();
    const int before = s->draws;
    s->addXY(5, 5);
    QCOMPARE(s->draws, before);
    s->addXY(11, 5);
    QCOMPARE(s->draws, before + 1);
}

TAVRIN_TEST(TestAutoScale)
#include "tst_autoscale.moc"
