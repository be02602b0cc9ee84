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
int colored(ChartWidget &w, QRgb c) { return countColor(plotImage(w), c); }
const QRgb blue = qRgb(0, 0, 255), red = qRgb(255, 0, 0);
} // namespace

class TestChart : public QObject
{
    Q_OBJECT
private slots:
    void ids();
    void clearDetachesAndKeepsSettings();
    void seriesLeavesScreen_data();
    void seriesLeavesScreen();
    void layout_data();
    void layout();
    void renderingOnlyWhenNeeded();
    void drawingLock();
    void refreshTimer();
    void refreshTimeoutChange_data();
    void refreshTimeoutChange();
    void autoscale();
};

// Ids are the smallest free ones, an explicit id in use is ignored, ids
// below 1 sort first; names and colours come from the id and the palette.
void TestChart::ids()
{
    ChartWidget w;
    QCOMPARE(w.addSeries(nullptr) + w.addVLine(nullptr), 0);
    auto *a = lineOf({}, QStringLiteral("Pressure")), *b = new LineSeries;
    a->setColor(QColor(1, 2, 3));
    QCOMPARE(w.addSeries(a), 1);
    QCOMPARE(w.addSeries(b), 2);
    QCOMPARE(w.addSeries(b), 2);
    QCOMPARE(w.addSeries(new LineSeries), 3);
    QPointer<LineSeries> gone = b;
    w.removeSeries(2);
    QVERIFY(gone.isNull() && !w.series(2));
    QCOMPARE(w.addSeries(new LineSeries), 2);
    LineSeries mine;
    w.addSeries(&mine, 3);
    QVERIFY(w.series(3) != &mine && !mine.xAxis());
    auto *neg = new LineSeries;
    w.addSeries(neg, -3);
    QCOMPARE(w.seriesList(), (QList<ChartSeries *>{neg, a, w.series(2), w.series(3)}));
    QCOMPARE(boxes(w), 4);
    QCOMPARE(a->color(), QColor(1, 2, 3)); // an own colour is kept, and the palette goes on
    QCOMPARE(w.series(3)->color(), QColor(Qt::darkGreen));
    QCOMPARE(w.series(2)->name() + a->name(), QStringLiteral("Series 2Pressure"));
    auto *line = new VLine(1.0, Qt::red, 1);
    QCOMPARE(w.addVLine(line), 1); // marker lines count on their own
    QCOMPARE(line->yAxis(), w.axes()->left());
    w.enableTooltip(true); // reaches registered series only
    auto *after = new LineSeries;
    w.addSeries(after);
    QCOMPARE(a->forceTooltip() + after->forceTooltip(), 0);
    for (const char *refused : {"NoSuchType", "int", "ChartSeries*"})
        QVERIFY2(!w.createObject(refused), refused);
    qRegisterMetaType<LineSeries>("LineSeries");
    std::unique_ptr<QObject> o(w.createObject("LineSeries"));
    QVERIFY(qobject_cast<LineSeries *>(o.get()));
}

// Cleared series live until the event loop runs but no longer reach the
// chart, not even once it is gone; the chart keeps its own settings and
// starts the colours again.
void TestChart::clearDetachesAndKeepsSettings()
{
    QPointer<LineSeries> s = new LineSeries;
    QPointer<VLine> line = new VLine(3.0, Qt::blue, 1);
    {
        ChartWidget w;
        showChart(w);
        w.setTitle(QStringLiteral("T"));
        w.setRefreshTimeout(100);
        w.enableTooltip(true);
        w.addSeries(new LineSeries);
        w.addSeries(s);
        w.addVLine(line);
        w.setAutoScale(false);
        w.clear();
        QVERIFY(s && s->ChartSeries::d->owner == nullptr);
        s->addXY(1, 2);
        s->addXY(100, 200);
        s->clear();
        QVERIFY(w.seriesList().isEmpty() && w.d->vlineMap.isEmpty());
        QCOMPARE(boxes(w), 0);
        QCOMPARE(w.title() + QString::number(w.refreshTimeout()), QStringLiteral("T100"));
        QVERIFY(!w.autoScale() && w.tooltipEnabled());
        auto *next = new LineSeries;
        QCOMPARE(w.addSeries(next), 1);
        QCOMPARE(next->color(), QColor(Qt::red));
    }
    if (s)
        s->addXY(5, 5);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(s.isNull() && line.isNull());
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

// A removed or cleared series disappears at once, whatever the scaling,
// unless the host holds the drawing lock.
void TestChart::seriesLeavesScreen()
{
    QFETCH(bool, autoScale);
    QFETCH(bool, remove);
    QFETCH(bool, last);
    ChartWidget w;
    showChart(w);
    LineSeries *keep = lineOf({{0, 5}, {10, 5}});
    keep->setColor(Qt::red);
    if (!last)
        w.addSeries(keep);
    else
        delete keep;
    LineSeries *s = lineOf({{0, 0}, {10, 10}});
    s->setColor(Qt::blue);
    const int id = w.addSeries(s);
    w.setAutoScale(autoScale);
    QVERIFY(colored(w, blue) > 0);
    remove ? w.removeSeries(id) : s->clear();
    QApplication::processEvents();
    QCOMPARE(colored(w, blue), 0);
    QCOMPARE(colored(w, red) > 0, !last);
    w.setDrawingLock(true);
    const QImage before = plotImage(w);
    w.removeSeries(w.addSeries(lineOf({{0, 0}, {10, 10}})));
    QApplication::processEvents();
    QCOMPARE(plotImage(w), before);
}

void TestChart::layout_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("axisTitle");
    QTest::newRow("bare") << QString() << QString();
    QTest::newRow("title") << QStringLiteral("Chart title") << QString();
    QTest::newRow("axis titles") << QString() << QStringLiteral("Volts");
    QTest::newRow("all") << QStringLiteral("Chart title") << QStringLiteral("Volts");
}

// The plot sits 5 pixels in from the edges, below the title and beside the
// label bands; the title is painted centred above it; the image is
// transparent where nothing is drawn.
void TestChart::layout()
{
    QFETCH(QString, title);
    QFETCH(QString, axisTitle);
    ChartWidget w;
    w.axes()->left()->setTitle(axisTitle);
    w.axes()->bottom()->setTitle(axisTitle);
    w.setTitle(title);
    w.addSeries(lineOf({{0, 0}, {10, 100}}));
    showChart(w, 600, 400);
    const int titleHeight = title.isEmpty() ? 0 : QFontMetrics(w.titleFont()).height();
    const QRect r = w.d->plotRect;
    QCOMPARE(r, QRect(QPoint(5 + w.axes()->left()->size(), 5 + titleHeight),
                      QPoint(594, 394 - w.axes()->bottom()->size())));
    QCOMPARE(w.d->pixmap.size(), r.size());
    QCOMPARE(qAlpha(w.d->pixmap.toImage().pixel(r.width() - 3, 2)), 0);
    QRect ink;
    const QImage img = grabImage(&w);
    for (int y = 0; y < r.top() - 1; ++y)
        for (int x = 0; x < 600; ++x)
            if (qGray(img.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    QCOMPARE(ink.width() > 20, !title.isEmpty());
    QVERIFY(ink.isNull() || qAbs(ink.center().x() - r.center().x()) <= 2);
}

// A never-shown chart renders nothing; moving the plot keeps the image;
// resizing makes a new one; paint events never draw the series again; a
// chart too small for a plot has no image and draws nothing until it grows.
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
    w.QWidget::repaint();
    w.d->margins = QMargins(10, 5, 0, 5);
    w.d->updatePlotArea();
    QCOMPARE(w.d->plotRect.left(), 10 + w.axes()->left()->size());
    QCOMPARE(w.d->pixmap.cacheKey(), key);
    QCOMPARE(s->draws, draws);
    w.setAutoScale(false); // keep the queued rescale out of the count
    w.resize(w.width() + 3, w.height());
    QVERIFY(w.d->pixmap.cacheKey() != key);
    QCOMPARE(s->draws, draws + 1);
    for (const QSize &size : {QSize(30, 20), QSize(0, 0), QSize(1, 1)}) {
        w.resize(size);
        w.repaint();
        w.grab();
        QVERIFY(!w.d->plotRect.isValid() && w.d->pixmap.isNull());
    }
    QCOMPARE(s->draws, draws + 1);
    w.resize(400, 300);
    QVERIFY(!w.d->pixmap.isNull() && s->draws == draws + 2);
}

void TestChart::drawingLock()
{
    ChartWidget w;
    w.addSeries(lineOf({{0, 0}, {10, 10}}));
    showChart(w);
    auto *s = new CountingSeries;
    s->addXY(1, 1);
    // Changes that keep the plot's size render nothing under the lock.
    w.setDrawingLock(true);
    const qint64 key = w.d->pixmap.cacheKey();
    w.addSeries(s);
    s->addXY(50, 5);
    w.addVLine(new VLine(3.0, Qt::red, 1));
    w.setAutoScale(false);
    w.setAutoScale(true);
    QCOMPARE(w.d->pixmap.cacheKey(), key);
    QCOMPARE(s->draws, 0);
    w.repaint(); // an explicit repaint still renders
    QCOMPARE(s->draws, 1);
    // Releasing renders once; setting it or releasing an unset lock nothing.
    for (bool lock : {false, false, true})
        w.setDrawingLock(lock);
    QCOMPARE(s->draws, 2);
    const QRect before = w.d->plotRect;
    w.setTitle(QStringLiteral("Locked")); // not even a layout
    QCOMPARE(w.d->plotRect, before);
}

// A burst renders at its first widening point and once the timeout
// expires; with automatic scaling off the timer only widens the ranges,
// over hidden series too, and a first series without points widens nothing.
void TestChart::refreshTimer()
{
    ChartWidget w;
    showChart(w);
    auto *s = new CountingSeries;
    s->addXY(0, 0);
    s->addXY(10, 10);
    w.addSeries(s);
    QApplication::processEvents();
    const int before = s->draws;
    s->addXY(5, 5); // inside the bounds: no rendering
    QCOMPARE(s->draws, before);
    w.setRefreshTimeout(200);
    QElapsedTimer t;
    t.start();
    for (int i = 11; i <= 1000; ++i)
        s->addXY(i, i % 7);
    QVERIFY(t.elapsed() < 150);
    QCOMPARE(s->draws, before + 1);
    QTRY_VERIFY_WITH_TIMEOUT(!w.d->refreshTimer.isActive(), 2000);
    QApplication::processEvents();
    QVERIFY(s->draws >= before + 2 && s->draws <= before + 3);
    QVERIFY(w.axes()->bottom()->max() >= 1000);

    for (bool emptyFirst : {false, true}) {
        ChartWidget w;
        showChart(w);
        if (emptyFirst)
            w.addSeries(new LineSeries);
        auto *a = lineOf({{0, 0}, {10, 10}});
        w.addSeries(a);
        auto *hidden = lineOf({{-30, -5}, {0, 0}});
        w.addSeries(hidden);
        hidden->setVisible(false);
        w.setAutoScale(false);
        w.axes()->bottom()->setRange(2, 4);
        w.axes()->left()->setRange(2, 4);
        w.setRefreshTimeout(20);
        a->addXY(12, 12);
        QTRY_VERIFY(!w.d->refreshTimer.isActive());
        QVERIFY(!w.autoScale());
        if (emptyFirst)
            QCOMPARE(w.axes()->bottom()->max(), 4 + w.axes()->bottom()->d->margin);
        else
            QVERIFY(w.axes()->bottom()->min() <= -30 && w.axes()->bottom()->max() >= 12 && w.axes()->left()->min() <= -5);
    }
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
    for (int i = 0; i < 2; ++i) { // the same again does nothing
        w.setRefreshTimeout(timeout);
        QCOMPARE(w.refreshTimeout(), timeout);
        QCOMPARE(w.d->refreshTimer.isActive(), !flushes);
        QCOMPARE(s->draws, before + (flushes ? 1 : 0));
    }
    QCOMPARE(w.axes()->bottom()->max() >= 50, flushes);
}

// Automatic scaling covers the visible series and the marker lines (on the
// bottom axis only); switched off the ranges stay; a resize defers it.
void TestChart::autoscale()
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
    const double leftMax = w.axes()->left()->max();
    w.addVLine(new VLine(100.0, Qt::red, 1));
    w.setAutoScale(false);
    w.setAutoScale(true);
    QVERIFY(w.axes()->bottom()->max() >= 100);
    QCOMPARE(w.axes()->left()->max(), leftMax);
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
