// The chart as a host and a user see it: registry, layout and rendering,
// automatic scaling and the refresh timer, zoom, pan and tooltips, hostile
// values, fuzz findings and producers in worker threads.
#include "fixtures.h"
#include "testmain.h"

#include "../../fuzz/chartops.h"

#include <chartseries_p.h>
#include <histogramseries.h>
#include <pieseries.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QThread>
#include <QToolTip>
#include <atomic>

using namespace tavrintest;

namespace {
int boxes(ChartWidget &w) { return w.legend()->findChildren<QCheckBox *>().size(); }
int colored(ChartWidget &w, QRgb c) { return countColor(plotImage(w), c); }
const QRgb blue = qRgb(0, 0, 255), red = qRgb(255, 0, 0);

// Answers every tooltip request with a fixed text and remembers where.
class TipSeries : public LineSeries
{
public:
    explicit TipSeries(const QString &t) : text(t) { addPoint({0, 0}); addPoint({10, 10}); }
    QString text;
    QPoint askedAt{-1, -1};
    QString tooltip(const QPoint &pos) override
    {
        askedAt = pos;
        return text;
    }
};

// Records the region of every paint event the chart receives.
class PaintSpy : public QObject
{
public:
    QRegion painted;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

struct Ranges {
    double x0, x1, y0, y1;
    bool operator==(const Ranges &o) const { return x0 == o.x0 && x1 == o.x1 && y0 == o.y0 && y1 == o.y1; }
};

// A band zoom and a pan about the plot's centre.
void zoomAndPan(ChartWidget &w)
{
    const QPoint c = w.d->plotRect.center();
    drag(w, Qt::LeftButton, c - QPoint(50, 50), c);
    drag(w, Qt::MiddleButton, c, c + QPoint(30, 20));
}

// A series on the chart that counts its renderings, from (0, 0) to (x, x).
CountingSeries *countedRamp(ChartWidget &w, double x)
{
    auto *s = new CountingSeries;
    s->addXY(0, 0);
    s->addXY(x, x);
    w.addSeries(s);
    return s;
}

Ranges rawRanges(ChartWidget &w)
{
    const Axis *b = w.axes()->bottom(), *l = w.axes()->left();
    return {b->d->rawMin, b->d->rawMax, l->d->rawMin, l->d->rawMax};
}

} // namespace

class TestChart : public QObject
{
    Q_OBJECT
private slots:
    void ids();
    void clearDetachesAndKeepsSettings();
    void seriesLeavesScreen_data();
    void seriesLeavesScreen();
    void renderingOnlyWhenNeeded();
    void refreshTimer();
    void refreshTimeout_data();
    void refreshTimeout();
    void autoscale();
    void barLayouts();
    void zoomBand_data();
    void zoomBand();
    void selectionFrameRepaintsOutlineOnly();
    void pan();
    void tooltip();
    void hostileValues_data();
    void hostileValues();
    void fuzzRegressions_data();
    void fuzzRegressions();
    void workersFeedBusyChart();
    void colorMaps();
    void histograms();
    void pictures_data();
    void pictures();

private:
    QTemporaryDir dir;
};

// Ids are the smallest free ones, an explicit id in use is ignored, ids
// below 1 sort first; names and colours come from the id and the palette.
void TestChart::ids()
{
    ChartWidget w;
    QCOMPARE(w.addSeries(nullptr) + w.addVLine(nullptr), 0);
    auto *a = lineOf({}, QStringLiteral("Pressure")), *b = new LineSeries;
    a->setColor(QColor(1, 2, 3));
    QCOMPARE(w.addSeries(a) + w.addSeries(b) + w.addSeries(b) + w.addSeries(new LineSeries), 1 + 2 + 2 + 3);
    QPointer<LineSeries> gone = b;
    w.removeSeries(2);
    QVERIFY(gone.isNull() && !w.series(2));
    QCOMPARE(w.addSeries(new LineSeries), 2);
    LineSeries mine;
    w.addSeries(&mine, 3);
    auto *neg = new LineSeries;
    w.addSeries(neg, -3);
    QCOMPARE(w.seriesList(), (QList<ChartSeries *>{neg, a, w.series(2), w.series(3)}));
    QCOMPARE(a->color(), QColor(1, 2, 3)); // an own colour is kept, and the palette goes on
    QCOMPARE(w.series(3)->color(), QColor(Qt::darkGreen));
    w.enableTooltip(true); // reaches registered series only
    QCOMPARE(a->forceTooltip(), 1);
    QVERIFY(!w.createObject("int") && !w.createObject("ChartSeries*"));
}

// Cleared series live until the event loop runs but no longer reach the
// chart, not even once it is gone; the chart keeps its own settings and
// starts the ids again (seriesColors checks the colours start again).
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
        w.addSeries(lineOf({{0, 0}, {10, 10}}));
        w.addSeries(s);
        w.addVLine(line);
        w.setAutoScale(false);
        QVERIFY(colored(w, red) > 0);
        w.clear();
        QVERIFY(inked(plotImage(w)).isNull()); // gone from the screen at once
        QVERIFY(s && s->ChartSeries::d->owner == nullptr);
        s->addXY(100, 200);
        QVERIFY(w.seriesList().isEmpty() && w.d->vlineMap.isEmpty() && boxes(w) == 0);
        QCOMPARE(w.title() + QString::number(w.refreshTimeout()), QStringLiteral("T100"));
        QVERIFY(!w.autoScale() && w.tooltipEnabled());
        QCOMPARE(w.addSeries(new LineSeries), 1);
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

// A removed or cleared series disappears at once, whatever the scaling.
void TestChart::seriesLeavesScreen()
{
    QFETCH(bool, autoScale);
    QFETCH(bool, remove);
    QFETCH(bool, last);
    ChartWidget w;
    showChart(w);
    if (!last)
        w.addSeries(lineOf({{0, 5}, {10, 5}})); // red, the palette's first colour
    LineSeries *s = lineOf({{0, 0}, {10, 10}});
    s->setColor(Qt::blue);
    const int id = w.addSeries(s);
    w.setAutoScale(autoScale);
    QVERIFY(colored(w, blue) > 0);
    remove ? w.removeSeries(id) : s->clear();
    QApplication::processEvents();
    QCOMPARE(colored(w, blue), 0);
    QCOMPARE(colored(w, red) > 0, !last);
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
    for (int i = 0; i < 200000; ++i) // paint events never draw these again
        s->addXY(i, i % 1000);
    w.addSeries(s);
    showChart(w);
    PaintSpy spy;
    w.installEventFilter(&spy);
    w.repaint(); // a rendering reaches the screen
    QTRY_VERIFY(!spy.painted.isEmpty());
    const qint64 key = w.d->pixmap.cacheKey();
    const int draws = s->draws;
    w.d->margins = QMargins(10, 5, 0, 5);
    w.d->updatePlotArea();
    QCOMPARE(w.d->plotRect.left(), 10 + w.axes()->left()->size());
    QCOMPARE(w.d->pixmap.cacheKey(), key);
    QCOMPARE(s->draws, draws);
    w.setAutoScale(false); // keep the queued rescale out of the count
    w.resize(w.width() + 3, w.height());
    QVERIFY(w.d->pixmap.cacheKey() != key);
    QCOMPARE(s->draws, draws + 1);
    w.resize(30, 20); // too small for a plot: no image, nothing drawn
    w.repaint();
    QVERIFY(w.d->pixmap.isNull() && s->draws == draws + 1);
    w.resize(400, 300);
    QVERIFY(!w.d->pixmap.isNull() && s->draws == draws + 2);

    // With the view fixed, points the picture cannot show render nothing: a
    // line continuing beyond the right edge, a marker far below; the first
    // line point back in view, or a segment crossing it, renders.
    w.axes()->bottom()->setRange(0, 1000);
    auto *marks = new PointSeries(PointSeries::psCircle);
    marks->addXY(500, 500);
    w.addSeries(marks);
    const int before = s->draws;
    s->addXY(300000, 5);
    s->addXY(300001, -5000);
    marks->addXY(500, -1e6);
    QCOMPARE(s->draws, before);
    s->addXY(-1, 2000);
    QCOMPARE(s->draws, before + 1);
    marks->addXY(500, 1e6);
    QCOMPARE(s->draws, before + 1);
    marks->addXY(1e6, 500);
    marks->addXY(-10, -1e7);
    QCOMPARE(s->draws, before + 1);
}

// A burst renders at its first widening point and once the timeout
// expires.
void TestChart::refreshTimer()
{
    ChartWidget w;
    showChart(w);
    CountingSeries *s = countedRamp(w, 10);
    QApplication::processEvents();
    const int before = s->draws;
    w.setRefreshTimeout(200);
    for (int i = 11; i <= 1000; ++i)
        s->addXY(i, i % 7);
    QCOMPARE(s->draws, before + 1);
    QTRY_VERIFY_WITH_TIMEOUT(!w.d->refreshTimer.isActive(), 2000);
    QApplication::processEvents();
    QVERIFY(s->draws >= before + 2 && s->draws <= before + 3);
    QVERIFY(w.axes()->bottom()->max() >= 1000);
}

void TestChart::refreshTimeout_data()
{
    QTest::addColumn<int>("timeout"); // set while points wait; 10000: the expiry runs instead
    QTest::addColumn<int>("choice");  // made after the expiry: 1 scaling off, 2 a wheel step
    QTest::newRow("-1 flushes") << -1 << 0;
    QTest::newRow("0 waits") << 0 << 0;
    QTest::newRow("shorter waits") << 50 << 0;
    QTest::newRow("expiry, nothing: rescaled") << 10000 << 0;
    QTest::newRow("expiry, host switches scaling off") << 10000 << 1;
    QTest::newRow("expiry, wheel step") << 10000 << 2;
}

// A negative timeout renders what is pending and stops the timer at once.
// The expiry's rescale waits for the event loop; what the host or the user
// decides in the meantime stands.
void TestChart::refreshTimeout()
{
    QFETCH(int, timeout);
    QFETCH(int, choice);
    const bool expiry = timeout == 10000, flushes = timeout < 0;
    ChartWidget w;
    showChart(w);
    w.setWheelZoom(true);
    CountingSeries *s = countedRamp(w, 10);
    w.addSeries(new LineSeries); // no bounds, between two that have them
    w.addSeries(lineOf({{-30, -5}, {0, 0}}));
    w.series(3)->setVisible(false);
    w.setAutoScale(expiry); // off, only the flush widens the view, over hidden series too
    w.setRefreshTimeout(10000);
    s->addXY(100, 50); // widens: rendered at once, starts the timer
    s->addXY(20, 20);
    QVERIFY(w.d->refreshTimer.isActive());
    const int before = s->draws;
    for (int i = 0; i < 2 && !expiry; ++i) { // the same again does nothing
        w.setRefreshTimeout(timeout);
        QCOMPARE(w.refreshTimeout(), timeout);
        QCOMPARE(w.d->refreshTimer.isActive(), !flushes);
        QCOMPARE(s->draws, before + (flushes ? 1 : 0));
    }
    if (!expiry) {
        QCOMPARE(w.axes()->bottom()->max() >= 100, flushes);
        QCOMPARE(w.axes()->bottom()->min() <= -30 && w.axes()->left()->min() <= -5, flushes);
        return;
    }
    QVERIFY(QMetaObject::invokeMethod(w.d, "on_refresh_timer_timeout", Qt::DirectConnection));
    QVERIFY(w.autoScale());
    if (choice == 1)
        w.setAutoScale(false);
    if (choice == 2)
        QVERIFY(wheel(w, w.d->plotRect.center()));
    const double xMax = w.axes()->bottom()->max();
    QApplication::processEvents();
    QCOMPARE(w.autoScale(), choice == 0);
    QCOMPARE(w.zoomHistorySize(), choice == 2 ? 1 : 0);
    if (choice)
        QCOMPARE(w.axes()->bottom()->max(), xMax);
    else
        QVERIFY(w.axes()->bottom()->max() >= 100 && w.axes()->bottom()->max() < 110);
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
    QCOMPARE(w.axes()->bottom()->min(), min); // switched off, the ranges stay
    w.setAutoScale(true);
    QVERIFY(w.axes()->bottom()->min() <= -50);
    w.resize(500, 300);
    QVERIFY(!w.autoScale());
    QApplication::processEvents();
    QVERIFY(w.autoScale());
}

// In a chart the axes take in whole edge bars and the stacked totals, and
// the other way round for sideways bars; rings sit at the bars' ends and
// value labels go to SVG as text.
void TestChart::barLayouts()
{
    ChartWidget w;
    showChart(w);
    auto *low = new BarSeries, *high = new BarSeries;
    for (BarSeries *b : {low, high}) {
        b->setBarWidthUnit(BarSeries::DataUnits);
        b->setBarWidth(0.5);
    }
    low->addXY(1, 2);
    low->addXY(3, -1);
    high->addXY(1, 4.25);
    high->addXY(3, -2.25);
    w.addSeries(low);
    const int id = w.addSeries(high);
    QVERIFY(high->setStackedOn(low));
    QApplication::processEvents();
    // The axes keep their ranges a hair wider than the data.
    const auto near = [&w](Ranges want) {
        const Ranges r = rawRanges(w);
        return qAbs(r.x0 - want.x0) < 1e-6 && qAbs(r.x1 - want.x1) < 1e-6 && qAbs(r.y0 - want.y0) < 1e-6 && qAbs(r.y1 - want.y1) < 1e-6;
    };
    QVERIFY(near({0.75, 3.25, -3.25, 6.25}));
    for (BarSeries *b : {low, high})
        b->setOrientation(Qt::Horizontal);
    QApplication::processEvents();
    QVERIFY(near({-3.25, 6.25, 0.75, 3.25}));
    // The ring goes round the left end of the lower bar.
    const QPoint end = w.d->plotRect.topLeft()
        + QPointF(w.axes()->bottom()->pointToPixel(-3.25), w.axes()->left()->pointToPixel(3)).toPoint();
    const auto dark = [end](const QImage &img) {
        int n = 0;
        for (int y = -10; y <= 10; ++y)
            for (int x = -10; x <= 10; ++x)
                n += qGray(img.pixel(end + QPoint(x, y))) < 60;
        return n;
    };
    const int before = dark(grabImage(&w));
    w.setSelectedPoints(id, {1});
    QVERIFY(dark(grabImage(&w)) > before + 20);
    ChartWidget other;
    auto *elsewhere = new BarSeries;
    other.addSeries(elsewhere);
    QTest::ignoreMessage(QtWarningMsg, "BarSeries::setStackedOn: refused, the series belong to different charts");
    QVERIFY(!high->setStackedOn(elsewhere));
    QCOMPARE(high->stackedOn(), low);
    high->setValueLabelsVisible(true);
    const QString file = dir.filePath(QStringLiteral("labels.svg"));
    QVERIFY(w.exportSvg(file));
    QFile svg(file);
    QVERIFY(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    QVERIFY(text.contains(">4.25<") && text.contains(">-2.25<"));
}

void TestChart::zoomBand_data()
{
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QRect>("band"); // the normalized band, for zooms
    QTest::addColumn<QPointF>("yRange"); // of the hand-set view
    const QRect none;
    const QPointF y(-10, 30);
    QTest::newRow("4 x 10") << QPoint(103, 109) << "nothing" << none << y;
    QTest::newRow("5 x 5") << QPoint(104, 104) << "zoom" << QRect(QPoint(100, 100), QPoint(104, 104)) << y;
    QTest::newRow("down left") << QPoint(60, 160) << "zoom" << QRect(QPoint(60, 100), QPoint(100, 160)) << y;
    QTest::newRow("up right") << QPoint(160, 40) << "zoom" << QRect(QPoint(100, 40), QPoint(160, 100)) << y;
    QTest::newRow("up left") << QPoint(60, 40) << "reset" << none << y;
    // Band edges the doubles cannot tell apart keep the view.
    QTest::newRow("y too narrow to resolve") << QPoint(160, 130) << "kept" << none
                                             << QPointF(1e15, std::nextafter(1e15, Inf));
}

void TestChart::zoomBand()
{
    QFETCH(QPoint, to);
    QFETCH(QString, outcome);
    QFETCH(QRect, band);
    QFETCH(QPointF, yRange);
    ChartWidget w;
    w.addSeries(lineOf({{0, 0}, {100, 50}}));
    showChart(w);
    const Ranges automatic = rawRanges(w);
    // Start from a hand-set view so that a reset shows.
    w.setAutoScale(false);
    w.axes()->bottom()->setRange(20, 70);
    w.axes()->left()->setRange(yRange.x(), yRange.y());
    for (int i = 0; i < 5; ++i)
        w.axes()->updateTransformData();
    const Ranges before = rawRanges(w);
    const Axis *b = w.axes()->bottom(), *l = w.axes()->left();
    const QRect plot = w.d->plotRect;
    const double kx = b->span() / plot.width(), ky = l->span() / plot.height();
    const Ranges zoomed{b->min() + (band.left() - plot.left()) * kx, b->min() + (band.right() - plot.left()) * kx,
                        l->max() - (band.bottom() - plot.top()) * ky, l->max() - (band.top() - plot.top()) * ky};

    QVERIFY(!filterMouse(w, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton)); // outside
    QVERIFY(filterMouse(w, QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton, Qt::LeftButton));
    QCOMPARE(w.cursor().shape(), Qt::CrossCursor);
    const bool consumed = drag(w, Qt::LeftButton, QPoint(100, 100), to);
    QVERIFY(!w.d->zooming);
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(consumed, outcome == QLatin1String("zoom") || outcome == QLatin1String("kept"));
    QCOMPARE(w.autoScale(), outcome == QLatin1String("reset"));
    if (outcome == QLatin1String("zoom"))
        QVERIFY(rawRanges(w) == zoomed);
    else
        QVERIFY(rawRanges(w) == (outcome == QLatin1String("reset") ? automatic : before));
}

void TestChart::selectionFrameRepaintsOutlineOnly()
{
    ChartWidget w;
    w.addSeries(lineOf({{0, 0}, {10, 10}}));
    showChart(w);
    PaintSpy spy;
    w.installEventFilter(&spy); // runs before the chart's own filter
    mouse(&w, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(100, 100));
    mouse(&w, QEvent::MouseMove, Qt::LeftButton, QPoint(150, 140));
    QApplication::processEvents();
    spy.painted = QRegion();
    mouse(&w, QEvent::MouseMove, Qt::LeftButton, QPoint(200, 160));
    QTRY_VERIFY(!spy.painted.isEmpty());
    // Old and new outlines, nothing inside them.
    for (const QPoint &p : {QPoint(150, 120), QPoint(125, 140), QPoint(100, 130), QPoint(200, 130), QPoint(150, 160)})
        QVERIFY(spy.painted.contains(p));
    QVERIFY(!spy.painted.contains(QPoint(125, 120)) && !spy.painted.contains(QPoint(101, 101)));
    // A band too small to zoom renders nothing, yet its outline must go.
    mouse(&w, QEvent::MouseMove, Qt::LeftButton, QPoint(103, 109));
    QApplication::processEvents();
    spy.painted = QRegion();
    mouse(&w, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(103, 109));
    QTRY_VERIFY(spy.painted.contains(QPoint(100, 105)) && spy.painted.contains(QPoint(103, 105)));
}

// The view follows the pointer; the pan ends at the first move outside the
// plot and does not resume when the pointer comes back.
void TestChart::pan()
{
    for (const QPoint step : {QPoint(40, 0), QPoint(-25, -30)}) {
        ChartWidget w;
        w.addSeries(lineOf({{0, 0}, {100, 50}}));
        showChart(w);
        const Ranges before = rawRanges(w);
        const double perPixelX = w.axes()->bottom()->pixelDeltaToPoint(1);
        const double perPixelY = w.axes()->left()->pixelDeltaToPoint(1);
        const QPoint from(200, 150);
        QVERIFY(filterMouse(w, QEvent::MouseButtonPress, from, Qt::RightButton, Qt::RightButton));
        QVERIFY(!w.d->panning && !w.d->zooming);
        QVERIFY(filterMouse(w, QEvent::MouseButtonPress, from, Qt::MiddleButton, Qt::MiddleButton));
        QCOMPARE(w.cursor().shape(), Qt::ClosedHandCursor);
        // Two half steps add up to one whole one.
        QVERIFY(filterMouse(w, QEvent::MouseMove, from + step / 2, Qt::NoButton, Qt::MiddleButton));
        QVERIFY(filterMouse(w, QEvent::MouseMove, from + step, Qt::NoButton, Qt::MiddleButton));
        QVERIFY(!w.autoScale());
        // Dragging right shows smaller x, dragging down greater y. Each step lets
        // the scale settle a little, so the distance is only close.
        const Ranges after = rawRanges(w);
        const auto movedBy = [](double actual, double expected) {
            return expected == 0 ? actual == 0 : qAbs(actual - expected) <= 0.05 * qAbs(expected);
        };
        QVERIFY(movedBy(after.x0 - before.x0, -step.x() * perPixelX) && movedBy(after.x1 - before.x1, -step.x() * perPixelX));
        QVERIFY(movedBy(after.y0 - before.y0, step.y() * perPixelY) && movedBy(after.y1 - before.y1, step.y() * perPixelY));

        const QPoint outside(w.d->plotRect.right() + 2, from.y());
        QVERIFY(!filterMouse(w, QEvent::MouseMove, outside, Qt::NoButton, Qt::MiddleButton));
        QVERIFY(!w.d->panning && w.cursor().shape() == Qt::ArrowCursor);
        QVERIFY(filterMouse(w, QEvent::MouseMove, from - QPoint(30, 30), Qt::NoButton, Qt::MiddleButton));
        QVERIFY(rawRanges(w) == after);
        QVERIFY(filterMouse(w, QEvent::MouseButtonRelease, from, Qt::MiddleButton, Qt::NoButton));
        drag(w, Qt::MiddleButton, from, from + step); // ended by the release
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    }
}

// The lowest id with a text wins while the chart's switch is on, asked at
// the plot's coordinates; outside the plot the widget's own tooltip
// handling takes over.
void TestChart::tooltip()
{
    for (bool on : {true, false}) {
        ChartWidget w;
        w.enableTooltip(on); // before registration: the series' modes stay -1
        auto *s1 = new TipSeries(QStringLiteral("one"));
        w.addSeries(new TipSeries(QStringLiteral("two")), 2);
        w.addSeries(s1, 1);
        showChart(w);
        const QPoint pos(150, 120);
        QToolTip::showText(w.mapToGlobal(QPoint(10, 10)), QStringLiteral("earlier"));
        QHelpEvent event(QEvent::ToolTip, pos, w.mapToGlobal(pos)), outside(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
        QVERIFY(w.d->eventFilter(&w, &event) && !w.d->eventFilter(&w, &outside));
        QCOMPARE(QToolTip::text(), QLatin1String(on ? "one" : "earlier"));
        QVERIFY(!on || s1->askedAt == pos - w.d->plotRect.topLeft());
    }
}

void TestChart::hostileValues_data()
{
    QTest::addColumn<int>("kind"); // kKinds: one series of each kind in a hand-set view
    QTest::addColumn<double>("x"); // for a view, its ends on both axes
    QTest::addColumn<double>("y");
    struct Row { const char *name; double x, y; };
    const Row values[] = {
        {"NaN", NaN, NaN}, {"+inf", Inf, Inf}, {"-inf", -Inf, -Inf}, {"1e308", 1e308, -1e308},
        {"-0.0", -0.0, -0.0}, {"NaN y", 1, NaN}, {"inf x", Inf, 2},
    };
    for (int k = 0; k < kKinds; ++k)
        for (const auto &v : values)
            QTest::addRow("%s %s", kindName(k), v.name) << k << v.x << v.y;
    const Row views[] = {
        {"span overflows", -1e308, 1e308}, {"denormal span", 0.0, 1e-310}, {"below precision", 1e300, 1e300 * (1 + 1e-15)},
        {"one value", 5.0, 5.0}, {"reversed", 10.0, -10.0}, {"huge negatives", -1e308, -1e307},
    };
    for (const auto &v : views)
        QTest::addRow("view: %s", v.name) << int(kKinds) << v.x << v.y;
}

// Every entry point with one hostile item among ordinary ones, or in a
// view a host may set; the chart recovers when given a sane view again.
void TestChart::hostileValues()
{
    QFETCH(int, kind);
    QFETCH(double, x);
    QFETCH(double, y);
    const bool view = kind == kKinds;
    ChartWidget w;
    w.legend()->setVisible(true);
    w.setWheelZoom(true);
    w.setCrosshair(true);
    showChart(w, 300, 200);
    chartops::Reader none(nullptr, 0); // the extra values of the wider kinds are NaN
    for (int k = 0; k < kKinds; ++k) {
        if (!view && k != kind)
            continue;
        ChartSeries *s = makeSeries(k);
        if (view)
            s->addXY(k, k);
        else
            for (const QPointF &p : {QPointF(0, 1), QPointF(x, y), QPointF(2, 3)})
                chartops::addPoint(s, p.x(), p.y(), none);
        w.addSeries(s);
    }
    if (view) {
        w.setAutoScale(false);
        w.axes()->bottom()->setRange(x, y);
        w.axes()->left()->setRange(x, y);
    } else {
        w.addVLine(new VLine(x, Qt::red, 1));
    }
    QCoreApplication::processEvents();
    QVERIFY(!w.grab().isNull());
    zoomAndPan(w);
    const QPoint c = w.d->plotRect.center();
    wheel(w, c);
    mouse(&w, QEvent::MouseMove, Qt::NoButton, c);
    QHelpEvent tip(QEvent::ToolTip, c, w.mapToGlobal(c));
    QCoreApplication::sendEvent(&w, &tip);
    QVERIFY(!w.grab().isNull() && !w.toImage().isNull());
    QVERIFY(w.exportCsv(dir.filePath("x.csv")) && w.exportXml(dir.filePath("x.xml")) && w.exportSvg(dir.filePath("x.svg")));
    if (!view)
        return;
    w.setAutoScale(true);
    QCoreApplication::processEvents();
    for (const Axis *a : {w.axes()->bottom(), w.axes()->left()})
        QVERIFY2(a->min() <= 0 && a->max() >= kKinds - 1 && a->span() < 2 * kKinds, qPrintable(QString::number(a->span())));
    QVERIFY(!inked(plotImage(w)).isNull());
}

void TestChart::fuzzRegressions_data()
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
    // A colour map, then its rows, columns, limits, cells, ranges and
    // gradients among zooms, pans and pictures (the fuzz corpus' seed).
    QTest::newRow("colour map") << QByteArray::fromBase64(
        "4SAIBgEAAAkBEgCDACQALQE2AD8BSABRAYEAYwFsAHUBfgCHAZAAiACiAKsBtAC9AcYABwECgACGAIAAhAAJDu5/GlA5vvB+wjR/"
        "BgSPXcdRJEfjQEMAAmtuVFUJZWhdZMSYC7jUVEqHIZoBrSGetZz2oV728SGDC7cM1rsM5xchPH3ssLWA7DcKEt0uaq65S66NL58K"
        "WihMnvdSGCnPEHkK6ddKHBD8q2pCQwxW3r5MHgxI6Fbo+aL1jJXwziHBW/+tXCGLuCC2EZy6j/iHlq5bBfKApgmTtrKMsNGzWOa6"
        "q0hVZbn0CdVX15oJZFEecFwV8XNUGyGiXPdjEgyzwiRoeb8As8+O0Tq/EpowCa2WtELW0b3vSFDD9GVELrMAwzcKSKbA291z/JX1"
        "wsRRhZr+gNQKowmSSfQMPuN9lhRFyAb1jHzyEgSJT5KW/PM8CECZkKyXDe2zuCEBgekhYQfb2vbF88hkl+4hmwHdkvGfSSH+qU7Z"
        "GCN1iCsgDarbI8/5GSFwOESV4CFe01IibRY3DI8dPMwh3S4K+rS/HEaWTZRwhiB4gpFEeL4eW0MJrisSLj/oesfs9aUhD8QbTdty"
        "Oyr7bEfAtXiUqrLFDLeX3bkSbiEgMRIQX2dkFPr2sgDa8Aml7uwzYk9RJL/F8E2COI4heBD2ELC8oR4L6fEhppXoelM=");
    // A histogram over the whole double range widened the x axis to
    // infinity; a filled line's columns then started at NaN.
    QTest::newRow("fill beside an infinite axis") << QByteArray::fromBase64(
        "+AAABYAAgACBAIMAggCCAH3/ev97/3QAAQEAhIAAggCBAIEAggCEAIMAgwCEAIYAAQADBIAAhACBAH4AggCGAIMAgQABAAMEgACC"
        "AIEAgwCCAH8AgwCCAAEABQSAAIUIgQCBAIYAgQCCAIQAgQCDAIcAgQABKgAACIEAggCCgIMAgwCDgIQAiQCCgCokAAgBAIIAgoCD"
        "AIMAg4CEAIkAFIMAKlgAAwCBAAGAgH8AiACCACoVAoBmAwIDKgUDgGYAAQMqBgALKgIEiQAqPwCAAAEqxwF/AAAqDwQ=");
}

void TestChart::fuzzRegressions()
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
void TestChart::workersFeedBusyChart()
{
    const int workers = 8, points = 5000;
    ChartWidget w;
    w.legend()->setVisible(true);
    showChart(w);
    w.setRefreshTimeout(50);
    std::atomic<int> done{0};
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < workers; ++t) {
        threads.emplace_back(QThread::create([&, t] {
            auto *s = lineOf({}, QString::number(t));
            s->moveToThread(w.thread()); // queued points are delivered in the series' thread
            QMetaObject::invokeMethod(&w, "addSeries", Qt::BlockingQueuedConnection, Q_ARG(ChartSeries *, s));
            for (int i = 0; i < points; ++i)
                QMetaObject::invokeMethod(s, "addXY", Qt::QueuedConnection, Q_ARG(double, i), Q_ARG(double, t + i % 7));
            ++done;
        }));
        threads.back()->start();
    }
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; done < workers && clock.elapsed() < 60000; ++round) {
        const QRect plot = w.d->plotRect;
        drag(w, round % 2 ? Qt::MiddleButton : Qt::LeftButton, plot.topLeft() + QPoint(20, 20), plot.center());
        for (ChartSeries *s : w.seriesList())
            s->setVisible(round % 3);
        w.grab();
        w.setAutoScale(true);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    for (auto &t : threads)
        QVERIFY(t->wait(60000));
    QCoreApplication::processEvents();
    QCOMPARE(w.seriesList().size(), workers);
    for (ChartSeries *s : w.seriesList()) {
        QCOMPARE(s->pointsCount(), points);
        QCOMPARE(s->point(points - 1).value(1).toDouble(), s->name().toInt() + (points - 1) % 7);
    }
    QCOMPARE(boxes(w), workers);
}

namespace {
// Scenes of whole charts whose pictures the Qt 5 build drew and we looked at.
enum Scene { scMarks, scBands, scZoomed, scTime, scFlat, scDark, scLogRight, scTicks, scHidden, scLight,
             scPie, scDonut, scPulled, scPieDark, scHeatMap, scWaterfall, scTop, scTopDark, scScenes };
const char *const sceneNames[] = {"marks", "bands", "zoomed", "time", "flat", "dark", "logright", "ticks", "hidden", "light",
                                  "pie", "donut", "pulled", "piedark", "heatmap", "waterfall", "top", "topdark"};

// Parts of a whole with the awkward cases in it: a negative and a NaN
// value (neither drawn nor counted), an empty and a very long label.
PieSeries *addPie(ChartWidget &w)
{
    auto *pie = new PieSeries;
    pie->addSlices({QStringLiteral("user"), QStringLiteral("system"), QString(), QStringLiteral("lost"),
                    QStringLiteral("wait"), QStringLiteral("a label far too long to fit anywhere near its slice"),
                    QStringLiteral("unknown")},
                   {42, 18, 12, -5, 9, 7, NaN});
    w.addSeries(pie);
    return pie;
}

// A field of 24 x 16 cells over [-6, 6] x [0, 8] with a hole of NaN cells.
ColorMapSeries *fieldMap()
{
    auto *map = new ColorMapSeries;
    QVector<double> v;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 24; ++c)
            v << ((c > 15 && c < 20 && r > 3 && r < 8) ? NaN : std::exp((c - 12) / 4.0) + r * r / 4.0);
    map->setData(v, 24, 16, -6, 6, 0, 8);
    map->setName(QStringLiteral("field"));
    return map;
}

void addMarks(ChartWidget &w)
{
    auto *line = new LineSeries;
    auto *circles = new PointSeries(PointSeries::psCircle);
    auto *squares = new PointSeries(PointSeries::psSquare);
    auto *ranges = new MinMaxPointSeries(MinMaxPointSeries::psSquare);
    auto *bars = new BarSeries;
    for (int i = 0; i < 60; ++i) {
        line->addXY(i / 6.0, i == 30 ? NaN : 5 + 4 * std::sin(i / 7.0));
        if (i % 5 == 0) {
            circles->addXY(i / 6.0 + 0.3, 8 - i / 12.0);
            squares->addXY(i / 6.0 + 0.6, 1 + i / 15.0);
            ranges->addPoint(i / 6.0 + 0.9, 6 - i / 20.0, 5 - i / 12.0, 7.5 - i / 30.0);
            bars->addXY(i / 6.0, (i % 3 - 1) * 1.5);
        }
    }
    for (ChartSeries *s : std::initializer_list<ChartSeries *>{bars, line, circles, squares, ranges})
        w.addSeries(s);
    // A marker line at NaN draws nothing.
    for (double x : {4.2, NaN})
        w.addVLine(new VLine(x, Qt::darkMagenta, 2));
}

void addBands(ChartWidget &w)
{
    auto *boxes = new BoxAndWhiskersSeries;
    auto *band = new HighLowSeries;
    auto *gantt = new GanttSeries;
    for (int i = 0; i < 6; ++i)
        boxes->addCandle(i * 2 + 1, 5 + i % 3, 1 + i % 2, 9 - i % 3, 3.5, 6.5 + i % 2);
    for (int i = 0; i <= 24; ++i)
        band->addPoint(i * 0.5, 2 + std::sin(i / 3.0), 4 + std::cos(i / 4.0));
    gantt->addBar(0.5, 4, 10, Qt::darkGreen, QStringLiteral("build"));
    gantt->addBar(3, 11.5, 11.5, Qt::darkCyan, QStringLiteral("test"));
    for (ChartSeries *s : std::initializer_list<ChartSeries *>{band, boxes, gantt})
        w.addSeries(s);
}

void buildScene(ChartWidget &w, int scene)
{
    showChart(w, 420, 280);
    w.legend()->setVisible(true);
    if (scene != scFlat) { // the bare layout: no title, no axis titles
        w.setTitle(QString::fromLatin1(sceneNames[scene]));
        w.axes()->bottom()->setTitle(QStringLiteral("x"));
        w.axes()->left()->setTitle(QStringLiteral("y"));
    }
    switch (scene) {
    case scMarks: addMarks(w); break;
    case scBands:
        w.setAntialiasing(true);
        w.legend()->setPlacement(Legend::plBottomInverted);
        addBands(w);
        break;
    case scZoomed:
        addMarks(w);
        addBands(w);
        w.legend()->setPlacement(Legend::plLeft);
        QCoreApplication::processEvents();
        drag(w, Qt::LeftButton, w.d->plotRect.center() - QPoint(70, 50), w.d->plotRect.center() + QPoint(40, 30));
        drag(w, Qt::MiddleButton, w.d->plotRect.center(), w.d->plotRect.center() + QPoint(25, -15));
        break;
    case scTime: {
        Axis *x = w.axes()->bottom();
        x->setDatetime(true);
        x->setDatetimeFormat(QStringLiteral("mm:ss"));
        w.axes()->left()->setCustomLabel(0, QStringLiteral("off"));
        w.axes()->left()->setCustomLabel(1, QStringLiteral("on"));
        const QDateTime t0 = QDateTime::fromSecsSinceEpoch(1700000000);
        auto *s = new LineSeries;
        for (int i = 0; i < 40; ++i)
            s->addXY(t0.addSecs(i * 15), i / 3 % 2);
        w.addSeries(s);
        w.addVLine(new VLine(t0.addSecs(200), Qt::red, 1));
        w.legend()->setPlacement(Legend::plTop);
        break;
    }
    case scFlat:
        w.addSeries(lineOf({QPointF(-3, 7), QPointF(5, 7), QPointF(9, 7)}));
        w.addSeries(lineOf({QPointF(2, 7)}));
        break;
    case scLogRight: {
        // Log x and y on the left with a line broken at a zero and bars
        // rising from the lower end (there is no zero line), a linear
        // quantity on the right axis.
        w.axes()->bottom()->setLogarithmic(true);
        w.axes()->left()->setLogarithmic(true);
        w.axes()->right()->setTitle(QStringLiteral("right"));
        auto *line = new LineSeries;
        auto *marks = new PointSeries(PointSeries::psCircle);
        auto *bars = new BarSeries;
        auto *right = new LineSeries;
        for (int i = 0; i <= 40; ++i) {
            const double f = std::pow(10.0, i / 10.0);
            line->addXY(f, i == 22 ? 0 : 1000 / (1 + f / 30));
            if (i % 4 == 0)
                marks->addXY(f, 800 / (1 + f / 50));
            if (i % 10 == 5)
                bars->addXY(f, i == 25 ? -1 : 5 + i);
            right->addXY(f, -20 + i * 0.5);
        }
        right->setAxis(w.axes()->bottom(), w.axes()->right());
        for (ChartSeries *s : std::initializer_list<ChartSeries *>{bars, line, marks, right})
            w.addSeries(s);
        break;
    }
    case scTicks: {
        // Fixed and preferred steps, minor ticks with a dotted sub-grid under
        // a solid grid, no pad on x, and every frame edge in its axis' colour.
        Axis *x = w.axes()->bottom(), *y = w.axes()->left();
        x->setTickStep(2.5);
        x->setMinorTickCount(4);
        x->setMinorGrid(true);
        x->setMinorGridColor(QColor(225, 225, 225));
        x->setGridStyle(Qt::SolidLine);
        x->setPadding(0);
        x->setFrameColor(Qt::blue);
        y->setPreferredTickCount(4);
        y->setMinorTickCount(1);
        y->setMinorGrid(true);
        y->setFrameColor(Qt::red);
        w.addSeries(lineOf({QPointF(0, 0), QPointF(5, 30), QPointF(10, 12), QPointF(20, 40)}));
        break;
    }
    case scLight:
        w.setTheme(ChartWidget::thLight);
        w.axes()->bottom()->setMinorTickCount(1);
        addMarks(w);
        break;
    case scHidden:
        // The left axis places the series but draws no band, ticks or labels.
        w.axes()->left()->setVisible(false);
        w.axes()->left()->setTitle(QStringLiteral("hidden"));
        addMarks(w);
        break;
    case scPie:
        // Labels inside, in a wide widget: round and centred, no axes.
        addPie(w);
        break;
    case scDonut: {
        PieSeries *pie = addPie(w);
        pie->setHoleSize(0.55);
        pie->setStartAngle(90);
        pie->setClockwise(false);
        pie->setLabelContent(PieSeries::lcPercentage);
        break;
    }
    case scPulled: {
        w.setAntialiasing(true);
        PieSeries *pie = addPie(w);
        pie->setExploded(1, true);
        pie->setLabelPosition(PieSeries::lpOutside);
        pie->setLabelContent(PieSeries::lcLabel | PieSeries::lcValue);
        pie->setSliceVisible(4, false);
        break;
    }
    case scPieDark: {
        w.setTheme(ChartWidget::thDark);
        w.setAntialiasing(true);
        PieSeries *pie = addPie(w);
        pie->setHoleSize(0.4);
        pie->setExploded(0, true);
        pie->setLabelPosition(PieSeries::lpOutside);
        break;
    }
    case scHeatMap: {
        // Logarithmic colours with a titled bar between the plot and a
        // right-hand legend, a line over the map.
        ColorMapSeries *map = fieldMap();
        map->setLogarithmicColors(true);
        map->colorScaleAxis()->setTitle(QStringLiteral("level"));
        w.addSeries(map);
        w.addSeries(lineOf({QPointF(-6, 1), QPointF(6, 7)}, QStringLiteral("line")));
        break;
    }
    case scWaterfall: {
        // Dark theme, a scrolled waterfall in magma with the right axis in
        // use, the crosshair reading a cell.
        w.setTheme(ChartWidget::thDark);
        w.legend()->setVisible(false);
        auto *map = new ColorMapSeries;
        map->setPreset(ColorMapSeries::Magma);
        map->setMaximumRows(12);
        for (int r = 0; r < 20; ++r) {
            QVector<double> row;
            for (int c = 0; c < 32; ++c)
                row << std::exp(-(c - 16 - 8 * std::sin(r / 4.0)) * (c - 16 - 8 * std::sin(r / 4.0)) / 8.0);
            map->addRow(row);
        }
        w.addSeries(map);
        LineSeries *right = lineOf({QPointF(0, 100), QPointF(32, 300)});
        right->setAxis(w.axes()->bottom(), w.axes()->right());
        w.addSeries(right);
        w.setCrosshair(true);
        QCoreApplication::processEvents();
        mouse(&w, QEvent::MouseMove, Qt::NoButton, w.d->plotRect.center());
        break;
    }
    case scTopDark:
    case scTop: {
        // Marks on the bottom axis, a time line on a titled date-time top
        // axis with minor ticks (a logarithmic one in the dark), a series on
        // the right axis, and a top legend between the title and the band.
        Axis *top = w.axes()->top();
        top->setTitle(QStringLiteral("top"));
        auto *when = new LineSeries;
        if (scene == scTopDark) {
            w.setTheme(ChartWidget::thDark);
            top->setLogarithmic(true);
            for (int i = 0; i <= 30; ++i)
                when->addXY(std::pow(10.0, i / 10.0), 2 + i / 5.0);
        } else {
            top->setDatetime(true);
            top->setDatetimeFormat(QStringLiteral("mm:ss"));
            top->setMinorTickCount(1);
            for (int i = 0; i <= 30; ++i)
                when->addXY(1700000000 + i * 20, 2 + (i % 7) / 2.0);
            w.legend()->setPlacement(Legend::plTop);
        }
        when->setAxis(top, w.axes()->left());
        addMarks(w);
        w.addSeries(when);
        LineSeries *right = lineOf({QPointF(0, 100), QPointF(10, 300)}, QStringLiteral("right"));
        right->setAxis(w.axes()->bottom(), w.axes()->right());
        w.addSeries(right);
        break;
    }
    case scDark:
        w.setTheme(ChartWidget::thDark);
        w.setSeriesColors({Qt::yellow, Qt::cyan, QColor(255, 128, 0), Qt::green, Qt::magenta});
        w.setCrosshair(true);
        w.setTitleFont(QFont(QStringLiteral("Liberation Serif"), 14, QFont::Bold));
        w.setAxisLabelFont(QFont(QStringLiteral("Arial"), 9));
        w.setAxisTitleFont(QFont(QStringLiteral("Arial"), 11, -1, true));
        w.setLegendFont(QFont(QStringLiteral("Arial"), 10));
        addMarks(w);
        QCoreApplication::processEvents();
        mouse(&w, QEvent::MouseMove, Qt::NoButton, w.d->plotRect.center() + QPoint(20, 10));
        break;
    }
    QCoreApplication::processEvents();
}
} // namespace

// A colour map fits the axes to its extent (its smallest positive cell edge
// on a logarithmic axis), takes a band for its colour scale only while the
// bar shows, renders its data calls once per event-loop pass or at the
// refresh timer's expiry, and scrolls the axes with a waterfall.
void TestChart::colorMaps()
{
    ChartWidget plain, w;
    showChart(plain, 500, 300);
    showChart(w, 500, 300);
    plain.addSeries(lineOf({QPointF(-6, 0), QPointF(6, 8)}));
    ColorMapSeries *map = fieldMap();
    w.addSeries(map);
    QCOMPARE(rawRanges(w), rawRanges(plain)); // a line over the same extent
    const int full = plain.d->plotRect.width();
    QVERIFY(w.d->plotRect.width() < full - 40);
    QCOMPARE(w.d->plotRect.height(), plain.d->plotRect.height());
    map->setColorScaleVisible(false);
    QCoreApplication::processEvents();
    QCOMPARE(w.d->plotRect, plain.d->plotRect);
    map->setColorScaleVisible(true);
    QCoreApplication::processEvents();
    QVERIFY(w.d->plotRect.width() < full - 40);
    w.setAutoScale(false);
    map->setVisible(false);
    QCOMPARE(w.d->plotRect, plain.d->plotRect);
    map->setVisible(true);
    w.setAutoScale(true);

    CountingSeries *counted = countedRamp(w, 1);
    map->setMaximumRows(16);
    // Labels of two digits from here on, so that the layout stays.
    for (int i = 0; i < 4; ++i)
        map->addRow(QVector<double>(24, 1.0));
    QCoreApplication::processEvents();
    const int before = counted->draws;
    for (int i = 0; i < 10; ++i)
        QVERIFY(map->addRow(QVector<double>(24, i)));
    QCOMPARE(counted->draws, before); // the axes follow at once, the picture at the next pass
    QCOMPARE(w.axes()->left()->d->rawMax, 15.0);
    QCoreApplication::processEvents();
    QCOMPARE(counted->draws, before + 1);
    QCOMPARE(map->cell(0, 15), 9.0);
    w.setRefreshTimeout(30);
    map->setCell(0, 0, 1e6);
    map->addRow(QVector<double>(24, 1.0));
    QCoreApplication::processEvents();
    QCOMPARE(counted->draws, before + 1);
    QTRY_VERIFY(counted->draws > before + 1);
    QCOMPARE(w.axes()->left()->d->rawMax, 15.5);
    w.setRefreshTimeout(-1);

    w.removeSeries(2);
    w.axes()->bottom()->setLogarithmic(true);
    QCoreApplication::processEvents();
    QVERIFY(qAbs(w.axes()->bottom()->d->rawMin - 0.5) < 1e-6);
    // The bar's band goes with the series.
    const int narrow = w.d->plotRect.width();
    w.removeSeries(1);
    QCoreApplication::processEvents();
    QVERIFY(w.d->plotRect.width() > narrow + 40);
}

// The axes follow the bins: at once for a block, from the event loop for
// single values; a logarithmic y axis starts at the lowest bin above 0.
void TestChart::histograms()
{
    // The same extents as a line over the bins' corners.
    const auto plainRanges = [](const QList<QPointF> &corners) {
        ChartWidget plain;
        showChart(plain, 500, 300);
        plain.addSeries(lineOf(corners));
        return rawRanges(plain);
    };
    ChartWidget w;
    showChart(w, 500, 300);
    auto *h = new HistogramSeries;
    h->setBinWidth(1);
    w.addSeries(h);
    h->addValues({0.5, 1.5, 1.7, NaN});
    const Ranges two = plainRanges({QPointF(0, 0), QPointF(2, 2)});
    QCOMPARE(rawRanges(w), two);
    h->addValue(5.5);
    QCOMPARE(rawRanges(w), two);
    QCoreApplication::processEvents();
    QCOMPARE(rawRanges(w), plainRanges({QPointF(0, 0), QPointF(6, 2)}));
    const QPoint inBin = QPoint(qRound(w.axes()->bottom()->pointToPixel(1.5)), qRound(w.axes()->left()->pointToPixel(1)))
        + w.d->plotRect.topLeft();
    QCOMPARE(w.pointAt(inBin).index, 1);
    h->setNormalization(HistogramSeries::CumulativeCounts);
    QCOMPARE(rawRanges(w), plainRanges({QPointF(0, 0), QPointF(6, 4)}));
    w.axes()->left()->setLogarithmic(true);
    h->setNormalization(HistogramSeries::Counts);
    QCoreApplication::processEvents();
    QVERIFY(w.axes()->left()->d->rawMin > 0 && w.axes()->left()->d->rawMin <= 1);
    h->clear();
    QCoreApplication::processEvents();
    QCOMPARE(h->pointsCount(), 0);
    QVERIFY(!w.grab().isNull());
}

void TestChart::pictures_data()
{
    QTest::addColumn<int>("scene");
    for (int s = 0; s < scScenes; ++s)
        QTest::newRow(sceneNames[s]) << s;
}

// The catch-all for a misplaced pixel anywhere in layout, axes, legend or a
// kind. TAVRIN_UPDATE_PICTURES=1 rewrites the references (look at them).
void TestChart::pictures()
{
    QFETCH(int, scene);
    ChartWidget w;
    const QFont title = w.titleFont(), labels = w.axisLabelFont(), legend = w.legendFont();
    buildScene(w, scene);
    checkPicture(grabImage(&w), QFINDTESTDATA("data"), QStringLiteral("picture-%1.png").arg(QString::fromLatin1(sceneNames[scene])),
                 {title, labels, legend});
}

TAVRIN_TEST(TestChart)
#include "tst_chart.moc"
