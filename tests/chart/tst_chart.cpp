// The chart as a host sees it: registry, layout and rendering, automatic
// scaling and the refresh timer.
#include "fixtures.h"
#include "testmain.h"

#include <chartseries_p.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QPointer>

using namespace tavrintest;

namespace {

int boxes(ChartWidget &w) { return w.legend()->findChildren<QCheckBox *>().size(); }
int blue(ChartWidget &w) { return countColor(plotImage(w), qRgb(0, 0, 255)); }
int red(ChartWidget &w) { return countColor(plotImage(w), qRgb(255, 0, 0)); }

// Pixels darker than mid-grey in a part of the widget.
int dark(const QImage &img, const QRect &area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += qGray(img.pixel(x, y)) < 128;
    return n;
}

} // namespace

class TestChart : public QObject
{
    Q_OBJECT
private slots:
    void ids();
    void namesAndColours();
    void clearKeepsSettings();
    void detachedAfterClear();
    void seriesLeavesScreen_data();
    void seriesLeavesScreen();
    void tooltipSwitchAndCreateObject();
    void layout_data();
    void layout();
    void renderingOnlyWhenNeeded();
    void drawingLock();
    void tooSmallForPlot();
    void burstRendersAtFirstWideningAndExpiry();
    void refreshTimeoutChange_data();
    void refreshTimeoutChange();
    void timerOnlyWidens();
    void autoscaleTakesVisibleSeries();
};

void TestChart::ids()
{
    ChartWidget w;
    QCOMPARE(w.addSeries(nullptr), 0);
    QCOMPARE(w.addVLine(nullptr), 0);
    auto *a = new LineSeries, *b = new LineSeries;
    QCOMPARE(w.addSeries(a), 1);
    QCOMPARE(w.addSeries(b), 2);
    QCOMPARE(w.addSeries(b), 2); // re-adding gives the existing id
    QCOMPARE(w.addSeries(new LineSeries), 3);
    QPointer<LineSeries> gone = b;
    w.removeSeries(2); // deleted at once
    QVERIFY(gone.isNull());
    QVERIFY(w.series(2) == nullptr);
    w.removeSeries(42);
    QCOMPARE(w.addSeries(new LineSeries), 2); // the smallest free id
    QCOMPARE(w.addSeries(new LineSeries), 4);
    QCOMPARE(boxes(w), 4);

    // An explicit id in use is ignored and the series left untouched;
    // explicit ids may be below 1 and sort first.
    LineSeries mine;
    mine.setName(QStringLiteral("mine"));
    w.addSeries(&mine, 3);
    QVERIFY(w.series(3) != &mine);
    QCOMPARE(mine.color(), QColor(Qt::black));
    QVERIFY(mine.xAxis() == nullptr);
    auto *neg = new LineSeries;
    w.addSeries(neg, -3);
    QCOMPARE(w.seriesList().first(), neg);
    QCOMPARE(w.seriesList().size(), 5);
    QCOMPARE(w.seriesList().at(1), a);

    // Marker lines count on their own and get the chart's axes.
    auto *line = new VLine(1.0, Qt::red, 1);
    QCOMPARE(w.addVLine(line), 1);
    QCOMPARE(w.addVLine(new VLine(2.0, Qt::red, 1)), 2);
    QCOMPARE(line->xAxis(), w.axes()->bottom());
    QCOMPARE(line->yAxis(), w.axes()->left());
}

void TestChart::namesAndColours()
{
    ChartWidget w;
    const QList<Qt::GlobalColor> cycle = {Qt::red, Qt::darkGreen, Qt::blue, Qt::cyan, Qt::magenta, Qt::yellow,
                                          Qt::darkRed, Qt::darkGreen, Qt::darkBlue, Qt::darkCyan, Qt::darkMagenta,
                                          Qt::darkYellow, Qt::black, Qt::white, Qt::darkGray, Qt::gray,
                                          Qt::lightGray, Qt::red};
    auto *own = new LineSeries;
    own->setColor(QColor(1, 2, 3));
    own->setName(QStringLiteral("Pressure"));
    w.addSeries(own, 40);
    QCOMPARE(own->color(), QColor(1, 2, 3)); // an own colour keeps the cycle
    QCOMPARE(own->fillColor(), QColor(Qt::red));
    for (int i = 0; i < cycle.size(); ++i) {
        auto *s = new LineSeries;
        w.addSeries(s);
        QCOMPARE(s->color(), QColor(cycle[i]));
        QCOMPARE(s->fillColor(), QColor(cycle[i]));
        QCOMPARE(s->name(), QStringLiteral("Series %1").arg(i + 1));
    }
    QCOMPARE(own->name(), QStringLiteral("Pressure"));
    QStringList texts;
    for (QCheckBox *box : w.legend()->findChildren<QCheckBox *>())
        texts << box->text();
    QVERIFY(texts.contains(QStringLiteral("Pressure")) && texts.contains(QStringLiteral("Series 18")));
}

void TestChart::clearKeepsSettings()
{
    ChartWidget w;
    w.setTitle(QStringLiteral("T"));
    w.setAutoScale(false);
    w.setRefreshTimeout(100);
    w.enableTooltip(true);
    w.addSeries(new LineSeries);
    w.addSeries(new LineSeries);
    w.addVLine(new VLine(1.0, Qt::blue, 1));
    w.clear();
    QVERIFY(w.seriesList().isEmpty());
    QVERIFY(w.d->vlineMap.isEmpty());
    QCOMPARE(boxes(w), 0);
    QCOMPARE(w.title(), QStringLiteral("T"));
    QVERIFY(!w.autoScale());
    QCOMPARE(w.refreshTimeout(), 100);
    QVERIFY(w.tooltipEnabled());
    auto *s = new LineSeries;
    QCOMPARE(w.addSeries(s), 1);
    QCOMPARE(s->color(), QColor(Qt::red)); // the cycle starts again
}

// Cleared series live until the event loop runs, but no longer reach the
// chart, not even once the chart is gone.
void TestChart::detachedAfterClear()
{
    QPointer<LineSeries> s;
    QPointer<VLine> line;
    {
        ChartWidget w;
        showChart(w);
        s = new LineSeries;
        line = new VLine(3.0, Qt::blue, 1);
        w.addSeries(s);
        w.addVLine(line);
        w.clear();
        QVERIFY(!s.isNull());
        QVERIFY(s->ChartSeries::d->owner == nullptr);
        s->addXY(1, 2);
        s->addXY(100, 200);
        s->clear();
        QVERIFY(w.seriesList().isEmpty());
    }
    if (s)
        s->addXY(5, 5);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(s.isNull());
    QVERIFY(line.isNull());
}

void TestChart::seriesLeavesScreen_data()
{
    QTest::addColumn<bool>("autoScale");
    QTest::addColumn<bool>("remove"); // else clear the series
    QTest::addColumn<bool>("last");   // the only series
    QTest::newRow("remove the last") << true << true << true;
    QTest::newRow("remove, autoscale off") << false << true << false;
    QTest::newRow("clear, autoscale on") << true << false << false;
    QTest::newRow("clear, autoscale off") << false << false << false;
}

// A removed or cleared series disappears at once, whatever the scaling.
void TestChart::seriesLeavesScreen()
{
    QFETCH(bool, autoScale);
    QFETCH(bool, remove);
    QFETCH(bool, last);
    ChartWidget w;
    showChart(w);
    auto *keep = lineOf({{0, 5}, {10, 5}});
    keep->setColor(Qt::red);
    if (!last)
        w.addSeries(keep);
    auto *s = lineOf({{0, 0}, {10, 10}});
    s->setColor(Qt::blue);
    const int id = w.addSeries(s);
    w.setAutoScale(autoScale);
    QVERIFY(blue(w) > 0);
    if (remove)
        w.removeSeries(id);
    else
        s->clear();
    QApplication::processEvents();
    QCOMPARE(blue(w), 0);
    QCOMPARE(red(w) > 0, !last);
    if (last)
        delete keep;

    // A host's drawing lock still holds.
    w.setDrawingLock(true);
    const QImage before = plotImage(w);
    w.removeSeries(w.addSeries(lineOf({{0, 0}, {10, 10}})));
    QApplication::processEvents();
    QCOMPARE(plotImage(w), before);
}

void TestChart::tooltipSwitchAndCreateObject()
{
    ChartWidget w;
    auto *before = new LineSeries;
    w.addSeries(before);
    w.enableTooltip(true);
    auto *after = new LineSeries;
    w.addSeries(after);
    QCOMPARE(before->forceTooltip(), 1);
    QCOMPARE(after->forceTooltip(), -1);
    w.enableTooltip(false);
    QCOMPARE(before->forceTooltip(), 0);
    QCOMPARE(after->forceTooltip(), 0);

    QCOMPARE(ChartWidget::chartVersion, QStringLiteral("tn 1.0"));
    for (const char *refused : {"NoSuchTypeAnywhere", "int", "QString", "ChartSeries*"})
        QVERIFY2(w.createObject(refused) == nullptr, refused);
    QVERIFY(w.createObject(nullptr) == nullptr);
    qRegisterMetaType<LineSeries>("LineSeries");
    std::unique_ptr<QObject> o(w.createObject("LineSeries"));
    QVERIFY(qobject_cast<LineSeries *>(o.get()));
}

void TestChart::layout_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("leftTitle");
    QTest::addColumn<QString>("bottomTitle");
    QTest::newRow("bare") << QString() << QString() << QString();
    QTest::newRow("title") << QStringLiteral("Chart title") << QString() << QString();
    QTest::newRow("axis titles") << QString() << QStringLiteral("Volts") << QStringLiteral("Time");
    QTest::newRow("all") << QStringLiteral("Chart title") << QStringLiteral("Volts") << QStringLiteral("Time");
}

// The plot sits 5 pixels in from the edges, below the title and beside the
// label bands; the title is painted centred above it.
void TestChart::layout()
{
    QFETCH(QString, title);
    QFETCH(QString, leftTitle);
    QFETCH(QString, bottomTitle);
    ChartWidget w;
    w.axes()->left()->setTitle(leftTitle);
    w.axes()->bottom()->setTitle(bottomTitle);
    w.setTitle(title);
    w.addSeries(lineOf({{0, 0}, {10, 100}}));
    showChart(w, 600, 400);
    const int titleHeight = title.isEmpty() ? 0 : QFontMetrics(w.titleFont()).height();
    const QRect r = w.d->plotRect;
    QCOMPARE(r, QRect(QPoint(5 + w.axes()->left()->size(), 5 + titleHeight),
                      QPoint(600 - 6, 400 - 6 - w.axes()->bottom()->size())));
    QCOMPARE(w.d->pixmap.size(), r.size());
    QCOMPARE(qAlpha(w.d->pixmap.toImage().pixel(r.width() - 3, 2)), 0); // a transparent image

    const QImage img = grabImage(&w);
    const QRect band(0, 0, 600, r.top() - 2);
    QCOMPARE(dark(img, band) > 20, !title.isEmpty());
    if (!title.isEmpty()) {
        QRect ink;
        for (int y = band.top(); y <= band.bottom(); ++y)
            for (int x = 0; x < 600; ++x)
                if (qGray(img.pixel(x, y)) < 128)
                    ink |= QRect(x, y, 1, 1);
        QVERIFY2(qAbs(ink.center().x() - r.center().x()) <= 2, qPrintable(QString::number(ink.center().x())));
    }
}

// A never-shown chart renders nothing; moving the plot keeps the image;
// resizing makes a new one; paint events never draw the series again.
void TestChart::renderingOnlyWhenNeeded()
{
    ChartWidget w;
    w.repaint();
    QVERIFY(w.d->pixmap.isNull() && w.d->plotRect.isNull());
    auto *s = new CountingSeries;
    for (int i = 0; i < 200000; ++i)
        s->addXY(i, i % 1000);
    w.addSeries(s);
    showChart(w);
    const qint64 key = w.d->pixmap.cacheKey();
    const int draws = s->draws;
    for (int i = 0; i < 3; ++i) {
        w.QWidget::repaint();
        w.grab();
    }
    w.d->margins = QMargins(10, 5, 0, 5);
    w.d->updatePlotArea();
    QCOMPARE(w.d->plotRect.left(), 10 + w.axes()->left()->size());
    QCOMPARE(w.d->pixmap.cacheKey(), key);
    QCOMPARE(s->draws, draws);
    w.setAutoScale(false); // keep the queued rescale out of the count
    w.resize(w.width() + 3, w.height());
    QCOMPARE(w.d->pixmap.size(), w.d->plotRect.size());
    QVERIFY(w.d->pixmap.cacheKey() != key);
    QCOMPARE(s->draws, draws + 1);
}

void TestChart::drawingLock()
{
    ChartWidget w;
    w.addSeries(lineOf({{0, 0}, {10, 10}}));
    showChart(w);
    auto *s = new CountingSeries;
    s->addXY(1, 1);
    s->addXY(9, 9);
    // Changes that keep the plot's size render nothing under the lock.
    w.setDrawingLock(true);
    const qint64 key = w.d->pixmap.cacheKey();
    w.addSeries(s);
    s->addXY(5, 5);
    w.addVLine(new VLine(3.0, Qt::red, 1));
    w.setAutoScale(false);
    w.setAutoScale(true);
    QCOMPARE(w.d->pixmap.cacheKey(), key);
    QCOMPARE(s->draws, 0);
    w.repaint(); // an explicit repaint still renders
    QCOMPARE(s->draws, 1);
    // Releasing renders once; setting it or releasing an unset lock nothing.
    w.setDrawingLock(false);
    QCOMPARE(s->draws, 2);
    w.setDrawingLock(false);
    w.setDrawingLock(true);
    QCOMPARE(s->draws, 2);
    const QRect before = w.d->plotRect;
    w.setTitle(QStringLiteral("Locked")); // not even a layout
    QCOMPARE(w.d->plotRect, before);
}

void TestChart::tooSmallForPlot()
{
    ChartWidget w;
    w.setTitle(QStringLiteral("Tiny"));
    auto *s = new CountingSeries;
    s->addXY(0, 0);
    s->addXY(1, 1);
    w.addSeries(s);
    showChart(w, 30, 20);
    s->draws = 0;
    QVERIFY(!w.d->plotRect.isValid());
    QVERIFY(w.d->pixmap.isNull());
    w.repaint();
    w.grab();
    QCOMPARE(s->draws, 0);
    w.resize(400, 300);
    QApplication::processEvents();
    QVERIFY(!w.d->pixmap.isNull());
    QVERIFY(s->draws > 0);
    for (const QSize &size : {QSize(0, 0), QSize(1, 1)}) {
        w.resize(size);
        w.grab();
    }
}

void TestChart::burstRendersAtFirstWideningAndExpiry()
{
    ChartWidget w;
    showChart(w);
    auto *s = new CountingSeries;
    s->addXY(0, 0);
    s->addXY(10, 10);
    w.addSeries(s);
    QApplication::processEvents();
    int before = s->draws;
    s->addXY(5, 5); // inside the bounds: no rendering
    QCOMPARE(s->draws, before);
    w.setRefreshTimeout(200);
    QCOMPARE(w.refreshTimeout(), 200);
    QElapsedTimer t;
    t.start();
    for (int i = 11; i <= 1000; ++i)
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

void TestChart::refreshTimeoutChange_data()
{
    QTest::addColumn<int>("timeout");
    QTest::addColumn<bool>("flushes");
    QTest::newRow("-1 flushes") << -1 << true;
    QTest::newRow("-5 flushes") << -5 << true;
    QTest::newRow("0 waits") << 0 << false;
    QTest::newRow("shorter waits") << 50 << false;
}

// A negative timeout renders what is pending and stops the timer at once.
void TestChart::refreshTimeoutChange()
{
    QFETCH(int, timeout);
    QFETCH(bool, flushes);
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
    w.setRefreshTimeout(timeout);
    QCOMPARE(w.d->refreshTimer.isActive(), !flushes);
    QCOMPARE(s->draws, before + (flushes ? 1 : 0));
    QCOMPARE(w.axes()->bottom()->max() >= 50, flushes);
    w.setRefreshTimeout(timeout); // the same again: nothing
    QCOMPARE(s->draws, before + (flushes ? 1 : 0));
}

// With automatic scaling off the timer only widens the ranges, over hidden
// series too, and a first series without points widens nothing.
void TestChart::timerOnlyWidens()
{
    for (bool emptyFirst : {false, true}) {
        ChartWidget w;
        showChart(w);
        if (emptyFirst)
            w.addSeries(new LineSeries);
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
        QVERIFY(!w.autoScale());
        if (emptyFirst) {
            QCOMPARE(w.axes()->bottom()->max(), 4 + w.axes()->bottom()->d->margin);
        } else {
            QVERIFY(w.axes()->bottom()->min() <= -30 && w.axes()->bottom()->max() >= 12);
            QVERIFY(w.axes()->left()->min() <= -5);
        }
    }
}

void TestChart::autoscaleTakesVisibleSeries()
{
    ChartWidget w;
    showChart(w);
    auto *near = lineOf({{0, 0}, {10, 10}});
    auto *far = lineOf({{0, 0}, {1000, 1000}});
    w.addSeries(near);
    w.addSeries(far);
    QVERIFY(w.axes()->bottom()->max() >= 1000);
    far->setVisible(false);
    QVERIFY(w.axes()->bottom()->max() < 20 && w.axes()->left()->max() < 20);
    far->setVisible(true);
    QVERIFY(w.axes()->left()->max() >= 1000);
    // A marker line widens the bottom axis only.
    far->setVisible(false);
    const double leftMax = w.axes()->left()->max();
    w.addVLine(new VLine(100.0, Qt::red, 1));
    w.setAutoScale(false);
    w.setAutoScale(true);
    QVERIFY(w.axes()->bottom()->max() >= 100);
    QCOMPARE(w.axes()->left()->max(), leftMax);
    // Switched off, the ranges stay put; a resize defers the rescale.
    const double min = w.axes()->bottom()->min();
    w.setAutoScale(false);
    near->addXY(-50, 3);
    QCOMPARE(w.axes()->bottom()->min(), min);
    w.setAutoScale(true);
    QVERIFY(w.axes()->bottom()->min() <= -50);
    w.resize(500, 300);
    QVERIFY(!w.autoScale());
    QApplication::processEvents();
    QVERIFY(w.autoScale());
}

TAVRIN_TEST(TestChart)
#include "tst_chart.moc"
