// Hit tests and the click and hover signals, driven by real mouse events.

#include "testmain.h"
#include "fixtures.h"

#include <colormapseries.h>
#include <hittest_p.h>
#include <pieseries.h>
#include <pointseries_p.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QElapsedTimer>
#include <QPainterPathStroker>
#include <QSignalSpy>

#include <cmath>
#include <memory>

using namespace tavrintest;

namespace {

enum { kPie = kKinds, kColorMap };

// A shown chart with hand-set ranges 0..100 by 0..50 on the bottom axis and
// the series' vertical axis.
struct TouchScene {
    ChartWidget w;
    ChartSeries *series = nullptr;
    int id = -1;
    bool right;
    explicit TouchScene(ChartSeries *s, bool onRight = false) : series(s), right(onRight)
    {
        if (s && right)
            s->setAxis(w.axes()->bottom(), w.axes()->right());
        if (s)
            id = w.addSeries(s);
        showChart(w);
        w.setAutoScale(false);
        x()->setRange(0, 100);
        y()->setRange(0, 50);
        if (right)
            w.axes()->right()->setRange(0, 50);
        for (int i = 0; i < 5; ++i)
            w.axes()->updateTransformData();
        w.repaint();
        QApplication::processEvents();
    }
    Axis *x() const { return w.axes()->bottom(); }
    Axis *y() const { return right ? w.axes()->right() : w.axes()->left(); }
    QPoint at(double vx, double vy) const
    {
        return w.d->plotRect.topLeft()
            + QPoint(int(std::lround(x()->pointToPixel(vx))), int(std::lround(y()->pointToPixel(vy))));
    }
};

// Three items of each kind, the middle one at x = 50.
ChartSeries *threeOf(int kind)
{
    switch (kind) {
    case kBar: {
        auto *s = new BarSeries;
        s->addXY(20, 30);
        s->addXY(50, 10);
        s->addXY(80, 20);
        return s;
    }
    case kBox: {
        auto *s = new BoxAndWhiskersSeries;
        for (double x : {20.0, 50.0, 80.0})
            s->addCandle(x, 25, 10, 40, 20, 30);
        return s;
    }
    case kHighLow: {
        auto *s = new HighLowSeries;
        for (double x : {10.0, 50.0, 90.0})
            s->addPoint(x, 10, 40);
        return s;
    }
    case kGantt: {
        auto *s = new GanttSeries;
        s->addBar(5, 30, 10, QColor(), QString());
        s->addBar(40, 60, 30, QColor(), QString());
        s->addBar(70, 95, 10, QColor(), QString());
        return s;
    }
    case kMinMax: {
        auto *s = new MinMaxPointSeries;
        for (double x : {20.0, 50.0, 80.0})
            s->addPoint(x, x / 2, x / 2 - 5, x / 2 + 5);
        return s;
    }
    case kPie: {
        auto *s = new PieSeries;
        for (double v : {1.0, 2.0, 3.0})
            s->addSlice(QStringLiteral("s%1").arg(v), v);
        return s;
    }
    case kColorMap: {
        // Three columns of 30 by two rows of 20 from (0, 0); the top right cell is NaN.
        auto *s = new ColorMapSeries;
        s->setData({1, 2, 3, 4, 5, qQNaN()}, 3, 2, 0, 90, 0, 40);
        return s;
    }
    default: {
        ChartSeries *s = makeSeries(kind);
        for (double x : {20.0, 50.0, 80.0})
            s->addXY(x, x / 2);
        return s;
    }
    }
}

// What an assistive technology would hear: focus moves and value changes.
struct Heard {
    QAccessible::Event type;
    QString name;
};
QList<Heard> heard;

void listen(QAccessibleEvent *event)
{
    if (event->type() != QAccessible::Focus && event->type() != QAccessible::ValueChanged)
        return;
    QAccessibleInterface *iface = event->accessibleInterface();
    QString name = iface ? iface->text(QAccessible::Name) : QString();
    if (event->type() == QAccessible::ValueChanged)
        name = static_cast<QAccessibleValueChangeEvent *>(event)->value().toString();
    heard.append({event->type(), name});
}

QStringList focusesHeard()
{
    QStringList names;
    for (const Heard &h : qAsConst(heard))
        if (h.type == QAccessible::Focus)
            names.append(h.name);
    return names;
}

} // namespace

class TestTouch : public QObject
{
    Q_OBJECT
private slots:
    void hitPerKind_data();
    void hitPerKind();
    void pieSlices();
    void clickOrGesture_data();
    void clickOrGesture();
    void doubleClickAndLegend();
    void hover();
    void hostileHits();
    void receiverRemovesSeries();
    void millionPointsAreNotScanned();
    void summariesAfterRendering_data();
    void summariesAfterRendering();
    void selectByClicks_data();
    void selectByClicks();
    void selectByBand();
    void selectionFollowsTheData();
    void selectionRings_data();
    void selectionRings();
    void keys_data();
    void keys();
    void walkAndAccessibility();
    void accessibleChildren_data();
    void accessibleChildren();
    void accessibleChildrenGo();
};

void TestTouch::hitPerKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QPointF>("hit");
    QTest::addColumn<QPointF>("miss");
    // Markers and vertices: a few pixels off still hit; the shapes: inside.
    QTest::newRow("line") << int(kLine) << false << QPointF(50.5, 25.3) << QPointF(50, 35);
    QTest::newRow("line, right axis") << int(kLine) << true << QPointF(50.5, 25.3) << QPointF(50, 35);
    QTest::newRow("point") << int(kPoint) << false << QPointF(49.5, 24.7) << QPointF(35, 17.5);
    QTest::newRow("minmax") << int(kMinMax) << false << QPointF(50, 25) << QPointF(50, 10);
    QTest::newRow("bar") << int(kBar) << false << QPointF(50, 5) << QPointF(50, 15);
    QTest::newRow("box") << int(kBox) << false << QPointF(50, 30) << QPointF(50, 45);
    QTest::newRow("highlow") << int(kHighLow) << false << QPointF(45, 30) << QPointF(45, 45);
    QTest::newRow("gantt") << int(kGantt) << false << QPointF(55, 30) << QPointF(55, 20);
    // Cell (column 1, row 0) is index 1; the NaN cell and past the grid are nothing.
    QTest::newRow("colormap") << int(kColorMap) << false << QPointF(45, 10) << QPointF(75, 30);
    QTest::newRow("colormap, outside") << int(kColorMap) << false << QPointF(31, 19) << QPointF(95, 10);
}

void TestTouch::hitPerKind()
{
    QFETCH(int, kind);
    QFETCH(bool, right);
    QFETCH(QPointF, hit);
    QFETCH(QPointF, miss);
    TouchScene s(threeOf(kind), right);
    const ChartHit h = s.w.pointAt(s.at(hit.x(), hit.y()));
    QCOMPARE(h.seriesId, s.id);
    QCOMPARE(h.index, 1);
    QVERIFY(!s.w.pointAt(s.at(miss.x(), miss.y())).isValid());
    // Hidden series are not hit.
    s.series->setVisible(false);
    QVERIFY(!s.w.pointAt(s.at(hit.x(), hit.y())).isValid());
}

void TestTouch::pieSlices()
{
    auto *pie = new PieSeries;
    pie->addSlice(QStringLiteral("a"), 1);
    pie->addSlice(QStringLiteral("b"), 3);
    TouchScene s(pie);
    const QPoint c = s.w.d->plotRect.center();
    int found = 0;
    for (const QPoint off : {QPoint(40, 0), QPoint(-40, 0), QPoint(0, 40), QPoint(0, -40)}) {
        const int want = pie->sliceAt(QPointF(c + off - s.w.d->plotRect.topLeft()));
        const ChartHit h = s.w.pointAt(c + off);
        QCOMPARE(h.index, want);
        found += want >= 0;
    }
    QVERIFY(found > 0);
}

void TestTouch::clickOrGesture_data()
{
    QTest::addColumn<QPoint>("move");
    QTest::addColumn<int>("buttonValue");
    QTest::addColumn<bool>("click");
    QTest::addColumn<bool>("zoom");
    QTest::newRow("still") << QPoint(0, 0) << int(Qt::LeftButton) << true << false;
    QTest::newRow("slipped") << QPoint(3, -3) << int(Qt::LeftButton) << true << false;
    QTest::newRow("zoom band") << QPoint(4, 4) << int(Qt::LeftButton) << false << true;
    QTest::newRow("wide thin band") << QPoint(60, 3) << int(Qt::LeftButton) << false << false;
    QTest::newRow("middle click") << QPoint(0, 0) << int(Qt::MiddleButton) << true << false;
    QTest::newRow("pan") << QPoint(30, 0) << int(Qt::MiddleButton) << false << true;
}

void TestTouch::clickOrGesture()
{
    QFETCH(QPoint, move);
    QFETCH(int, buttonValue);
    QFETCH(bool, click);
    QFETCH(bool, zoom);
    const auto button = Qt::MouseButton(buttonValue);
    TouchScene s(threeOf(kPoint));
    QList<QVariantList> clicks;
    connect(&s.w, &ChartWidget::pointClicked, &s.w,
            [&](int id, int index, Qt::MouseButtons b, Qt::KeyboardModifiers m) {
                clicks.append({id, index, int(b), int(m)});
            });
    QSignalSpy series(&s.w, &ChartWidget::seriesClicked);
    // QTest's own click, with a modifier, away from any point and on one.
    QTest::mouseClick(&s.w, Qt::LeftButton, Qt::ControlModifier, s.at(35, 5));
    QCOMPARE(clicks.count(), 0);
    QTest::mouseClick(&s.w, Qt::LeftButton, Qt::ControlModifier, s.at(80, 40));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.takeFirst(), (QVariantList{s.id, 2, int(Qt::LeftButton), int(Qt::ControlModifier)}));
    series.clear();

    const QPoint from = s.at(50, 25);
    mouse(&s.w, QEvent::MouseButtonPress, button, from);
    if (!move.isNull())
        mouse(&s.w, QEvent::MouseMove, button, from + move);
    mouse(&s.w, QEvent::MouseButtonRelease, button, from + move);
    QCOMPARE(clicks.count(), click ? 1 : 0);
    QCOMPARE(series.count(), click ? 1 : 0);
    QCOMPARE(s.w.zoomHistorySize(), zoom ? 1 : 0);
    if (click) {
        QCOMPARE(clicks.at(0), (QVariantList{s.id, 1, buttonValue, 0}));
        QCOMPARE(series.at(0).at(0).toInt(), s.id);
    }
}

void TestTouch::doubleClickAndLegend()
{
    TouchScene s(threeOf(kLine));
    QSignalSpy doubles(&s.w, &ChartWidget::pointDoubleClicked);
    QSignalSpy clicks(&s.w, &ChartWidget::pointClicked);
    QTest::mouseDClick(&s.w, Qt::LeftButton, Qt::NoModifier, s.at(20, 10));
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(doubles.at(0).at(1).toInt(), 0);
    // The double click's own release is no second click.
    QVERIFY(clicks.count() <= 1);

    QSignalSpy series(&s.w, &ChartWidget::seriesClicked);
    QAbstractButton *entry = s.w.legend()->findChild<QAbstractButton *>();
    QVERIFY(entry);
    QTest::mouseClick(entry, Qt::LeftButton, Qt::NoModifier, QPoint(entry->width() - 4, entry->height() / 2));
    QCOMPARE(series.count(), 1);
    QCOMPARE(series.at(0).at(0).toInt(), s.id);
}

void TestTouch::hover()
{
    TouchScene s(threeOf(kPoint));
    QVERIFY(!s.w.hasMouseTracking());
    QSignalSpy hovers(&s.w, &ChartWidget::pointHovered);
    QVERIFY(s.w.hasMouseTracking());
    QTest::mouseMove(&s.w, s.at(20, 10));
    QTest::mouseMove(&s.w, s.at(20.5, 10)); // still the same point: no signal
    QTest::mouseMove(&s.w, s.at(50, 25));
    QTest::mouseMove(&s.w, s.at(35, 5));
    QCOMPARE(hovers.count(), 3);
    QCOMPARE(hovers.at(0), (QList<QVariant>{s.id, 0}));
    QCOMPARE(hovers.at(1), (QList<QVariant>{s.id, 1}));
    QCOMPARE(hovers.at(2), (QList<QVariant>{s.id, -1}));
    // Leaving the widget over a point reports the leave.
    QTest::mouseMove(&s.w, s.at(80, 40));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&s.w, &leave);
    QCOMPARE(hovers.count(), 5);
    QCOMPARE(hovers.last(), (QList<QVariant>{s.id, -1}));
}

void TestTouch::hostileHits()
{
    {
        TouchScene empty(nullptr);
        QVERIFY(!empty.w.pointAt(QPoint(300, 200)).isValid());
    }
    auto *line = new LineSeries;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    line->addXY(20, 10);
    line->addXY(nan, 25);
    line->addXY(50, nan);
    line->addXY(80, 40);
    TouchScene s(line);
    for (const QPoint p : {QPoint(-5, -5), QPoint(100000, 100000), QPoint(INT_MIN / 2, 0)})
        QVERIFY(!s.w.pointAt(p).isValid());
    QVERIFY(!s.w.pointAt(s.at(50, 25)).isValid());
    QCOMPARE(s.w.pointAt(s.at(80, 40)).index, 3);
    QCOMPARE(line->indexAt(QPointF(nan, 0), 5), -1);
    QCOMPARE(line->indexAt(QPointF(0, 0), nan), -1);
    // During a zoom band and after a refresh the answer stays current.
    mouse(&s.w, QEvent::MouseButtonPress, Qt::LeftButton, s.at(10, 45));
    mouse(&s.w, QEvent::MouseMove, Qt::LeftButton, s.at(60, 30));
    QCOMPARE(s.w.pointAt(s.at(20, 10)).index, 0);
    mouse(&s.w, QEvent::MouseMove, Qt::LeftButton, s.at(10, 45));
    mouse(&s.w, QEvent::MouseButtonRelease, Qt::LeftButton, s.at(10, 45));
    QCOMPARE(s.w.zoomHistorySize(), 0);
    line->addXY(85, 45);
    s.w.repaint();
    QCOMPARE(s.w.pointAt(s.at(85, 45)).index, 4);
    // Points handed out by reference are looked at one by one.
    line->points()[0] = QPointF(30, 30);
    QCOMPARE(s.w.pointAt(s.at(30, 30)).index, 0);
    line->clear();
    QVERIFY(!s.w.pointAt(s.at(85, 45)).isValid());
}

void TestTouch::receiverRemovesSeries()
{
    TouchScene s(threeOf(kPoint));
    QSignalSpy series(&s.w, &ChartWidget::seriesClicked);
    connect(&s.w, &ChartWidget::pointClicked, &s.w,
            [&](int id, int) { s.w.removeSeries(id); });
    QTest::mouseClick(&s.w, Qt::LeftButton, Qt::NoModifier, s.at(50, 25));
    QCOMPARE(series.count(), 1);
    QCOMPARE(series.at(0).at(0).toInt(), s.id);
    QVERIFY(!s.w.pointAt(s.at(50, 25)).isValid());
    QTest::mouseClick(&s.w, Qt::LeftButton, Qt::NoModifier, s.at(50, 25));
    QCOMPARE(series.count(), 1);
}

// Sorted points: a hit looks at the summaries, not at every point; a loose
// bound that still catches a scan of all of them.
void TestTouch::millionPointsAreNotScanned()
{
    auto *line = new LineSeries;
    QVector<double> xs(1000000), ys(1000000);
    for (int i = 0; i < xs.size(); ++i) {
        xs[i] = i * 1e-4;
        ys[i] = 25 + 20 * std::sin(i * 1e-4);
    }
    line->addPoints(xs, ys);
    TouchScene s(line);
    const QPoint p = s.at(50, 25 + 20 * std::sin(50.0));
    QVERIFY(s.w.pointAt(p).isValid());
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 20; ++i)
        QVERIFY(s.w.pointAt(p + QPoint(i % 3, 0)).isValid());
    QVERIFY2(t.elapsed() < 400, qPrintable(QString::number(t.elapsed())));
}

void TestTouch::summariesAfterRendering_data()
{
    QTest::addColumn<int>("use");
    QTest::addColumn<bool>("built");
    QTest::newRow("nothing on") << 0 << false;
    QTest::newRow("hover") << 1 << true;
    QTest::newRow("selection") << 2 << true;
}

// A chart that hit-tests pays for the summaries as it renders, not at the
// first hover; one that does not pays nothing.
void TestTouch::summariesAfterRendering()
{
    QFETCH(int, use);
    QFETCH(bool, built);
    auto *points = static_cast<PointSeries *>(threeOf(kPoint));
    TouchScene s(points);
    if (use == 1)
        connect(&s.w, &ChartWidget::pointHovered, this, [] {});
    if (use == 2)
        s.w.setSelectionMode(ChartWidget::smSinglePoint);
    points->addXY(60, 30);
    s.w.repaint();
    QCOMPARE(points->d->summaries.isValid(), built);
}

void TestTouch::selectByClicks_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("afterToggle");
    QTest::addColumn<int>("changes"); // after the second Ctrl+click
    // Ctrl+click replaces the item in the single mode, so the second one changes nothing.
    QTest::newRow("single") << int(ChartWidget::smSinglePoint) << QList<int>{2} << 2;
    QTest::newRow("multiple") << int(ChartWidget::smMultiplePoints) << QList<int>{1, 2} << 3;
    QTest::newRow("rectangle") << int(ChartWidget::smRectangle) << QList<int>{1, 2} << 3;
}

void TestTouch::selectByClicks()
{
    QFETCH(int, mode);
    QFETCH(QList<int>, afterToggle);
    QFETCH(int, changes);
    TouchScene s(threeOf(kPoint));
    QCOMPARE(s.w.focusPolicy(), Qt::NoFocus);
    QSignalSpy changed(&s.w, &ChartWidget::selectionChanged);
    // Nothing selects before a mode is set.
    QTest::mouseClick(&s.w, Qt::LeftButton, Qt::NoModifier, s.at(50, 25));
    QVERIFY(s.w.selectedPoints(s.id).isEmpty());
    s.w.setSelectionMode(ChartWidget::SelectionMode(mode));
    QTest::mouseClick(&s.w, Qt::LeftButton, Qt::NoModifier, s.at(50, 25));
    QCOMPARE(s.w.selectedPoints(s.id), QList<int>{1});
    QTest::mouseClick(&s.w, Qt::LeftButton, Qt::NoModifier, s.at(50, 25)); // no change
    QTest::mouseClick(&s.w, Qt::LeftButton, Qt::ControlModifier, s.at(80, 40));
    QCOMPARE(s.w.selectedPoints(s.id), afterToggle);
    QTest::mouseClick(&s.w, Qt::LeftButton, Qt::ControlModifier, s.at(80, 40));
    QCOMPARE(changed.count(), changes);
    // Escape clears, with the focus the click gave.
    QVERIFY(s.w.hasFocus() || (s.w.setFocus(), true));
    s.w.setSelectedPoints(s.id, {0, 2, 7, -1, 2});
    QCOMPARE(s.w.selectedPoints(s.id), (QList<int>{0, 2}));
    QTest::keyClick(&s.w, Qt::Key_Escape);
    QVERIFY(s.w.selectedPoints(s.id).isEmpty());
    QCOMPARE(changed.count(), changes + 2);
    // A click on no item clears.
    s.w.setSelectedPoints(s.id, {0});
    QTest::mouseClick(&s.w, Qt::LeftButton, Qt::NoModifier, s.at(35, 5));
    QVERIFY(s.w.selectedPoints(s.id).isEmpty());
}

void TestTouch::selectByBand()
{
    TouchScene s(threeOf(kPoint));
    s.w.setSelectionMode(ChartWidget::smRectangle);
    auto shiftDrag = [&](QPoint from, QPoint to, Qt::KeyboardModifiers mods) {
        QMouseEvent press(QEvent::MouseButtonPress, from, s.w.mapToGlobal(from), Qt::LeftButton, Qt::LeftButton, mods);
        QCoreApplication::sendEvent(&s.w, &press);
        QMouseEvent move(QEvent::MouseMove, to, s.w.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, mods);
        QCoreApplication::sendEvent(&s.w, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, to, s.w.mapToGlobal(to), Qt::LeftButton, Qt::NoButton, mods);
        QCoreApplication::sendEvent(&s.w, &release);
    };
    shiftDrag(s.at(10, 45), s.at(60, 5), Qt::ShiftModifier);
    QCOMPARE(s.w.selectedPoints(s.id), (QList<int>{0, 1}));
    QCOMPARE(s.w.zoomHistorySize(), 0);
    // Without Shift the band zooms, and the selection survives it.
    shiftDrag(s.at(10, 45), s.at(60, 5), Qt::NoModifier);
    QCOMPARE(s.w.zoomHistorySize(), 1);
    QCOMPARE(s.w.selectedPoints(s.id), (QList<int>{0, 1}));
}

void TestTouch::selectionFollowsTheData()
{
    auto *line = new LineSeries;
    for (int i = 0; i < 10; ++i)
        line->addXY(i * 10, 20);
    TouchScene s(line);
    s.w.setSelectedPoints(s.id, {1, 4, 9});
    QCOMPARE(line->removeBefore(25), 3);
    QCOMPARE(s.w.selectedPoints(s.id), (QList<int>{1, 6}));
    line->setMaximumPoints(3); // drops the 4 oldest of 7
    QCOMPARE(s.w.selectedPoints(s.id), QList<int>{2});
    line->clear();
    QVERIFY(s.w.selectedPoints(s.id).isEmpty());
    line->addXY(1, 1);
    s.w.setSelectedPoints(s.id, {0});
    s.w.removeSeries(s.id);
    QVERIFY(s.w.selectedPoints(s.id).isEmpty());
    // A new series under the old id starts with nothing selected.
    auto *other = new LineSeries;
    other->addXY(1, 1);
    s.w.addSeries(other, s.id);
    QVERIFY(s.w.selectedPoints(s.id).isEmpty());
    s.w.grab();
}

void TestTouch::selectionRings_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("theme");
    QTest::addColumn<qreal>("ratio");
    const int dark = ChartWidget::thDark;
    QTest::newRow("line") << int(kLine) << int(ChartWidget::thDefault) << 1.0;
    QTest::newRow("line, dark") << int(kLine) << dark << 1.0;
    QTest::newRow("line, dark, 2x") << int(kLine) << dark << 2.0;
    QTest::newRow("gantt") << int(kGantt) << int(ChartWidget::thDefault) << 1.0;
    QTest::newRow("gantt, dark, 2x") << int(kGantt) << dark << 2.0;
    QTest::newRow("highlow, dark") << int(kHighLow) << dark << 1.0;
    QTest::newRow("highlow, 2x") << int(kHighLow) << int(ChartWidget::thDefault) << 2.0;
    QTest::newRow("pie") << int(kPie) << int(ChartWidget::thDefault) << 1.0;
    QTest::newRow("pie, dark, 2x") << int(kPie) << dark << 2.0;
    QTest::newRow("colormap, 2x") << int(kColorMap) << int(ChartWidget::thDefault) << 2.0;
}

// The ring is drawn over the cached series image: no rendering, and on any
// theme and screen density a dark and a light line follow the item's
// outline and nothing else changes.
void TestTouch::selectionRings()
{
    QFETCH(int, kind);
    QFETCH(int, theme);
    QFETCH(qreal, ratio);
    auto *counted = new CountingSeries;
    TouchScene s(counted);
    ChartSeries *item = kind == kLine ? counted : threeOf(kind);
    if (kind == kLine)
        for (double x : {20.0, 50.0, 80.0})
            counted->addXY(x, x / 2);
    const int id = kind == kLine ? s.id : s.w.addSeries(item);
    s.w.setTheme(ChartWidget::Theme(theme));
    auto picture = [&] {
        QImage img(s.w.size() * ratio, QImage::Format_ARGB32);
        img.setDevicePixelRatio(ratio);
        img.fill(Qt::transparent);
        s.w.render(&img);
        return img;
    };
    const QImage before = picture();
    const int draws = counted->draws;
    s.w.setSelectedPoints(id, {1});
    const QImage after = picture();
    QCOMPARE(counted->draws, draws);
    QPainterPath outline = tavrin::itemOutline(item, 1);
    if (kind == kLine)
        outline.addEllipse(QPointF(s.at(50, 25) - s.w.d->plotRect.topLeft()), 6, 6);
    QVERIFY(!outline.isEmpty());
    outline.translate(s.w.d->plotRect.topLeft());
    // Along the outline, within two pixels, a pixel that stands out from
    // what was there; and both rings show somewhere.
    int ringed = 0;
    bool dark = false, light = false;
    const int probes = 60, reach = qRound(2 * ratio);
    for (int k = 0; k < probes; ++k) {
        const QPoint c = (outline.pointAtPercent(k / double(probes)) * ratio).toPoint();
        bool seen = false;
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                const QPoint p = c + QPoint(dx, dy);
                if (!after.rect().contains(p))
                    continue;
                const int now = qGray(after.pixel(p)), was = qGray(before.pixel(p));
                seen |= qAbs(now - was) > 100;
                dark |= now < 60 && now != was;
                light |= now > 200 && now != was;
            }
        }
        ringed += seen;
    }
    // Where the outline runs along a pie slice's own light edge it shows less.
    QVERIFY2(ringed >= probes * 3 / 4 && dark && light,
             qPrintable(QStringLiteral("%1 %2 %3").arg(ringed).arg(dark).arg(light)));
    // Aligned: no pixel changed further than the pens reach from the outline.
    QPainterPathStroker band;
    band.setWidth(kind == kLine ? 12 : 8);
    const QPainterPath near = band.createStroke(outline) + (kind == kLine ? outline : QPainterPath());
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (after.pixel(x, y) != before.pixel(x, y))
                QVERIFY2(near.contains(QPointF(x + 0.5, y + 0.5) / ratio), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    s.w.clearSelection();
    QCOMPARE(picture(), before);
    QCOMPARE(counted->draws, draws);
}

void TestTouch::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("mods");
    // Signs of the change of the x range's centre and width, and of y's.
    QTest::addColumn<QVector<int>>("change");
    QTest::newRow("left") << int(Qt::Key_Left) << 0 << QVector<int>{-1, 0, 0, 0};
    QTest::newRow("right") << int(Qt::Key_Right) << 0 << QVector<int>{1, 0, 0, 0};
    QTest::newRow("up") << int(Qt::Key_Up) << 0 << QVector<int>{0, 0, 1, 0};
    QTest::newRow("down") << int(Qt::Key_Down) << 0 << QVector<int>{0, 0, -1, 0};
    QTest::newRow("plus") << int(Qt::Key_Plus) << int(Qt::ShiftModifier) << QVector<int>{0, -1, 0, -1};
    QTest::newRow("minus") << int(Qt::Key_Minus) << 0 << QVector<int>{0, 1, 0, 1};
    QTest::newRow("ctrl minus: x only") << int(Qt::Key_Minus) << int(Qt::ControlModifier) << QVector<int>{0, 1, 0, 0};
    QTest::newRow("shift minus: y only") << int(Qt::Key_Minus) << int(Qt::ShiftModifier) << QVector<int>{0, 0, 0, 1};
}

void TestTouch::keys()
{
    QFETCH(int, key);
    QFETCH(int, mods);
    QFETCH(QVector<int>, change);
    TouchScene s(threeOf(kLine));
    auto view = [&] {
        return QVector<double>{(s.x()->min() + s.x()->max()) / 2, s.x()->max() - s.x()->min(),
                               (s.y()->min() + s.y()->max()) / 2, s.y()->max() - s.y()->min()};
    };
    const QVector<double> before = view();
    // Off by default: keys do nothing and the chart takes no focus.
    QCOMPARE(s.w.focusPolicy(), Qt::NoFocus);
    QTest::keyClick(&s.w, Qt::Key(key), Qt::KeyboardModifiers(mods));
    QCOMPARE(view(), before);
    QSignalSpy toggled(&s.w, &ChartWidget::keyboardNavigationChanged);
    s.w.setKeyboardNavigation(true);
    s.w.setKeyboardNavigation(true);
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(s.w.focusPolicy(), Qt::StrongFocus);
    QTest::keyClick(&s.w, Qt::Key(key), Qt::KeyboardModifiers(mods));
    const QVector<double> after = view();
    for (int i = 0; i < 4; ++i) {
        const double d = after[i] - before[i];
        // Pixel rounding and the axes' margins move a fixed range a little.
        const int sign = std::fabs(d) < 2e-3 * before[i < 2 ? 1 : 3] ? 0 : (d > 0 ? 1 : -1);
        QVERIFY2(sign == change[i], qPrintable(QStringLiteral("component %1 moved by %2").arg(i).arg(d)));
    }
    // A tenth of the view, as the issue asks of the arrows.
    if (key == Qt::Key_Right)
        QVERIFY(qAbs(after[0] - before[0] - before[1] / 10) < before[1] / 100);
    QCOMPARE(s.w.zoomHistorySize(), 1);
    QTest::keyClick(&s.w, Qt::Key_Backspace);
    const QVector<double> back = view();
    for (int i = 0; i < 4; ++i)
        QVERIFY(std::fabs(back[i] - before[i]) < 2e-3 * before[i < 2 ? 1 : 3]);
    QTest::keyClick(&s.w, Qt::Key(key), Qt::KeyboardModifiers(mods));
    QTest::keyClick(&s.w, Qt::Key_Home);
    QVERIFY(s.w.autoScale());
    s.w.setKeyboardNavigation(false);
    QCOMPARE(s.w.focusPolicy(), Qt::NoFocus);
}

void TestTouch::walkAndAccessibility()
{
    auto *first = threeOf(kLine);
    first->setName(QStringLiteral("temperature"));
    TouchScene s(first);
    auto *second = threeOf(kPoint);
    const int secondId = s.w.addSeries(second);
    s.w.setTitle(QStringLiteral("Lab"));
    QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(&s.w);
    QVERIFY(chart);
    QCOMPARE(chart->role(), QAccessible::Chart);
    QCOMPARE(chart->text(QAccessible::Name), QStringLiteral("Lab"));
    const QString summary = chart->text(QAccessible::Description);
    QVERIFY2(summary.startsWith(QStringLiteral("Line chart, 2 series, x from ")), qPrintable(summary));
    QVERIFY(summary.contains(s.x()->labelString(s.x()->min())));

    s.w.setKeyboardNavigation(true);
    QApplication::setActiveWindow(&s.w);
    s.w.setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&s.w));
    // Through Qt where a bridge is active (under AT-SPI), else at the source.
    if (QAccessible::isActive())
        QAccessible::installUpdateHandler(listen);
    else
        s.w.d->accessibilityUpdate = listen;
    heard.clear();
    QSignalSpy walked(&s.w, &ChartWidget::currentPointChanged);
    QTest::keyClick(&s.w, Qt::Key_Tab);
    QCOMPARE(s.w.currentSeries(), s.id);
    QCOMPARE(focusesHeard(), QStringList{QStringLiteral("temperature")});
    QCOMPARE(chart->focusChild(), chart->child(0));
    // Steps faster than a reader can speak are held back; the one the walk
    // stops on is announced, once.
    QTest::keyClick(&s.w, Qt::Key_Right, Qt::AltModifier);
    QTest::keyClick(&s.w, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(s.w.currentPoint(), 1);
    const QString stop = s.x()->labelString(50) + QStringLiteral(", ") + s.y()->labelString(25);
    QTRY_COMPARE(focusesHeard().size(), 2);
    QCOMPARE(focusesHeard().last(), stop);
    QCOMPARE(heard.last().name, QStringLiteral("temperature: ") + stop);
    QTest::qWait(250);
    QCOMPARE(focusesHeard().size(), 2);
    QCOMPARE(chart->focusChild(), chart->child(0)->child(1));
    QVERIFY(chart->child(0)->child(1)->state().focused);
    QVERIFY(!chart->child(0)->state().focused);
    QCOMPARE(s.w.zoomHistorySize(), 0); // Alt+arrow walks, it does not pan
    QCOMPARE(chart->text(QAccessible::Value),
             QStringLiteral("temperature: %1, %2").arg(s.x()->labelString(50), s.y()->labelString(25)));
    QTest::keyClick(&s.w, Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(&s.w, Qt::Key_Left, Qt::AltModifier); // stays on the first
    QCOMPARE(s.w.currentPoint(), 0);
    QTest::keyClick(&s.w, Qt::Key_Tab);
    QCOMPARE(s.w.currentSeries(), secondId);
    QCOMPARE(s.w.currentPoint(), -1);
    QCOMPARE(walked.count(), 6);
    QCOMPARE(walked.last(), (QList<QVariant>{secondId, -1}));
    // The walked series goes: nothing is current, nothing stale is read.
    QTest::keyClick(&s.w, Qt::Key_Right, Qt::AltModifier);
    s.w.removeSeries(secondId);
    QCOMPARE(s.w.currentSeries(), -1);
    QCOMPARE(s.w.currentPoint(), -1);
    QVERIFY(chart->text(QAccessible::Value).isEmpty());
    s.w.grab();
    QAccessible::installUpdateHandler(nullptr);
}

void TestTouch::accessibleChildren_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<QString>("text");
    QTest::newRow("line") << int(kLine) << QPointF(50, 25) << QStringLiteral("50, 25");
    // A point's own label comes first.
    QTest::newRow("labelled points") << int(kPoint) << QPointF(50, 25) << QStringLiteral("Rome, 50, 25");
    QTest::newRow("bar") << int(kBar) << QPointF(50, 5) << QStringLiteral("50, 10");
    // Text labels at 20 and 80 only: the bar between them is read by its number.
    QTest::newRow("bar, text labels") << int(kBar) << QPointF(50, 5) << QStringLiteral("50, 10");
    QTest::newRow("highlow") << int(kHighLow) << QPointF(45, 30) << QStringLiteral("50, 10, 40");
    QTest::newRow("gantt") << int(kGantt) << QPointF(55, 30) << QStringLiteral("40 to 60, 30");
    QTest::newRow("pie") << int(kPie) << QPointF(-1, -1) << QStringLiteral("s2, 2, 33.3 %");
    QTest::newRow("colormap") << int(kColorMap) << QPointF(45, 10) << QStringLiteral("45, 10, 2");
}

void TestTouch::accessibleChildren()
{
    QFETCH(int, kind);
    QFETCH(QPointF, at);
    QFETCH(QString, text);
    ChartSeries *made = threeOf(kind);
    if (QByteArray(QTest::currentDataTag()).startsWith("labelled")) {
        made->clear();
        auto *points = static_cast<PointSeries *>(made);
        points->addXY(20, 10, QStringLiteral("Oslo"));
        points->addXY(50, 25, QStringLiteral("Rome"));
        points->addXY(80, 40, QString());
    }
    TouchScene s(made);
    if (QByteArray(QTest::currentDataTag()).endsWith("text labels")) {
        s.x()->setCustomLabel(20, QStringLiteral("Jan"));
        s.x()->setCustomLabel(80, QStringLiteral("Feb"));
        const QString first = QAccessible::queryAccessibleInterface(&s.w)->child(0)->child(0)->text(QAccessible::Name);
        QCOMPARE(first, QStringLiteral("Jan, 30"));
    }
    s.series->setName(QStringLiteral("lab"));
    s.w.setSelectedPoints(s.id, {1});
    QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(&s.w);
    // The series come before the widgets inside the chart.
    const int widgets = chart->childCount() - 1;
    QAccessibleInterface *series = chart->child(0);
    QVERIFY(series && series->isValid());
    QCOMPARE(series->role(), QAccessible::List);
    QCOMPARE(series->text(QAccessible::Name), QStringLiteral("lab"));
    const int cells = kind == kColorMap ? 6 : 3;
    QVERIFY(series->text(QAccessible::Description).contains(QString::number(cells)));
    QCOMPARE(series->parent(), chart);
    QCOMPARE(chart->indexOfChild(series), 0);
    QCOMPARE(series->childCount(), cells);
    QAccessibleInterface *point = series->child(1);
    QVERIFY(point);
    QCOMPARE(point->role(), QAccessible::ListItem);
    QCOMPARE(point->text(QAccessible::Name), text);
    QCOMPARE(point->parent(), series);
    QCOMPARE(series->indexOfChild(point), 1);
    QVERIFY(point->state().selected);
    QVERIFY(!series->child(0)->state().selected);
    QVERIFY(!series->child(cells) && !series->child(-1) && !chart->child(-1));
    s.w.setSelectionMode(ChartWidget::smSinglePoint);
    QVERIFY(point->state().selectable && !point->state().multiSelectable);
    s.w.setSelectionMode(ChartWidget::smMultiplePoints);
    QVERIFY(point->state().multiSelectable);
    s.w.setSelectionMode(ChartWidget::smNone);
    QVERIFY(!point->state().selectable && !point->state().multiSelectable);
    // Readers keep children by id: asking again gives the same one.
    QCOMPARE(QAccessible::uniqueId(series->child(1)), QAccessible::uniqueId(point));
    // Where it is drawn, on the screen; the pie's slice from its hit test.
    QPoint inside = at.x() < 0 ? QPoint() : s.w.mapToGlobal(s.at(at.x(), at.y()));
    if (at.x() < 0) {
        for (int dx = -60; dx <= 60 && inside.isNull(); dx += 5)
            if (s.w.pointAt(s.w.d->plotRect.center() + QPoint(dx, 20)).index == 1)
                inside = s.w.mapToGlobal(s.w.d->plotRect.center() + QPoint(dx, 20));
    }
    QVERIFY(point->rect().contains(inside));
    QCOMPARE(chart->childAt(inside.x(), inside.y()), series);
    QCOMPARE(series->childAt(inside.x(), inside.y()), point);
    s.w.hide();
    QVERIFY(point->state().invisible && series->state().invisible);
    s.w.show();
    QVERIFY(!point->state().invisible);
    // A hidden series leaves the tree, and what a reader kept says so.
    s.series->setVisible(false);
    QCOMPARE(chart->childCount(), widgets);
    QVERIFY(!widgets || chart->child(0)->role() != QAccessible::List);
    QVERIFY(!point->isValid());
    QVERIFY(point->text(QAccessible::Name).isEmpty());
    QVERIFY(point->state().invalid);
}

// Children are made one by one as they are asked for, and go with their
// rows, their series and their chart.
void TestTouch::accessibleChildrenGo()
{
    auto *big = new LineSeries;
    QVector<double> x(1000000), y(1000000);
    for (int i = 0; i < x.size(); ++i) {
        x[i] = i * 1e-4;
        y[i] = 25;
    }
    big->addPoints(x, y);
    auto chart = std::make_unique<ChartWidget>();
    const int id = chart->addSeries(big);
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(chart.get());
    QAccessibleInterface *series = root->child(0);
    QCOMPARE(series->childCount(), 1000000);
    const QAccessible::Id seriesId = QAccessible::uniqueId(series);
    QAccessible::Id last = QAccessible::uniqueId(series->child(999999));
    QCOMPARE(chart->d->accessiblePoints.value(big).size(), 1);
    // Rows that shift take their children along.
    QCOMPARE(big->removeBefore(0.00005), 1);
    QVERIFY(!QAccessible::accessibleInterface(last));
    QCOMPARE(QAccessible::accessibleInterface(seriesId), series);
    QVERIFY(!series->child(999999));
    last = QAccessible::uniqueId(series->child(5));
    big->clear();
    QVERIFY(!QAccessible::accessibleInterface(last));
    QCOMPARE(series->childCount(), 0);
    const int before = root->childCount();
    chart->removeSeries(id);
    QVERIFY(!QAccessible::accessibleInterface(seriesId));
    QCOMPARE(root->childCount(), before - 1);
    // A new series under the old id is a new child; the chart takes its children along.
    chart->addSeries(threeOf(kLine), id);
    last = QAccessible::uniqueId(root->child(0)->child(2));
    QVERIFY(last != seriesId);
    chart.reset();
    QVERIFY(!QAccessible::accessibleInterface(last));
}

TAVRIN_TEST(TestTouch)
#include "tst_touch.moc"
