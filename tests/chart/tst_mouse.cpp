// Zoom, pan and tooltips through mouse and help events.
#include "fixtures.h"
#include "testmain.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QToolTip>

using namespace tavrintest;

namespace {

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

Ranges rawRanges(ChartWidget &w)
{
    const Axis *b = w.axes()->bottom(), *l = w.axes()->left();
    return {b->d->rawMin, b->d->rawMax, l->d->rawMin, l->d->rawMax};
}

} // namespace

class TestMouse : public QObject
{
    Q_OBJECT
private slots:
    void zoomBand_data();
    void zoomBand();
    void selectionFrameRepaintsOutlineOnly();
    void pan_data();
    void pan();
    void degenerateAxesStayAutomatic_data();
    void degenerateAxesStayAutomatic();
    void tooltip_data();
    void tooltip();
};

void TestMouse::zoomBand_data()
{
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QRect>("band"); // the normalized band, for zooms
    QTest::addColumn<QPointF>("yRange"); // of the hand-set view
    const QRect none;
    const QPointF y(-10, 30);
    QTest::newRow("4 x 10") << QPoint(103, 109) << "nothing" << none << y;
    QTest::newRow("10 x 4") << QPoint(109, 103) << "nothing" << none << y;
    QTest::newRow("left only") << QPoint(60, 100) << "nothing" << none << y;
    QTest::newRow("5 x 5") << QPoint(104, 104) << "zoom" << QRect(QPoint(100, 100), QPoint(104, 104)) << y;
    QTest::newRow("down left") << QPoint(60, 160) << "zoom" << QRect(QPoint(60, 100), QPoint(100, 160)) << y;
    QTest::newRow("up right") << QPoint(160, 40) << "zoom" << QRect(QPoint(100, 40), QPoint(160, 100)) << y;
    QTest::newRow("up left") << QPoint(60, 40) << "reset" << none << y;
    QTest::newRow("up left by one") << QPoint(99, 99) << "reset" << none << y;
    // Band edges the doubles cannot tell apart keep the view.
    QTest::newRow("y too narrow to resolve") << QPoint(160, 130) << "kept" << none
                                             << QPointF(1e15, std::nextafter(1e15, Inf));
}

void TestMouse::zoomBand()
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

void TestMouse::selectionFrameRepaintsOutlineOnly()
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
    for (const QPoint &p : {QPoint(150, 120), QPoint(125, 140), QPoint(100, 130), QPoint(200, 130), QPoint(150, 100),
                            QPoint(150, 160)})
        QVERIFY2(spy.painted.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    for (const QPoint &p : {QPoint(125, 120), QPoint(175, 150), QPoint(101, 101)})
        QVERIFY2(!spy.painted.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    // Mid-drag the band is outlined on the widget.
    const QImage band = grabImage(&w);
    QCOMPARE(band.pixel(100, 130) & 0xffffff, 0u);
    QCOMPARE(band.pixel(200, 130) & 0xffffff, 0u);
    // A band too small to zoom renders nothing, yet its outline must go.
    mouse(&w, QEvent::MouseMove, Qt::LeftButton, QPoint(103, 109));
    QApplication::processEvents();
    spy.painted = QRegion();
    mouse(&w, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(103, 109));
    QTRY_VERIFY(spy.painted.contains(QPoint(100, 105)) && spy.painted.contains(QPoint(103, 105)));
}

void TestMouse::pan_data()
{
    QTest::addColumn<QPoint>("step");
    QTest::newRow("right") << QPoint(40, 0);
    QTest::newRow("down") << QPoint(0, 30);
    QTest::newRow("up left") << QPoint(-25, -15);
}

// The view follows the pointer; the pan ends at the first move outside the
// plot and does not resume when the pointer comes back.
void TestMouse::pan()
{
    QFETCH(QPoint, step);
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
    QVERIFY(movedBy(after.x0 - before.x0, -step.x() * perPixelX));
    QVERIFY(movedBy(after.x1 - before.x1, -step.x() * perPixelX));
    QVERIFY(movedBy(after.y0 - before.y0, step.y() * perPixelY));
    QVERIFY(movedBy(after.y1 - before.y1, step.y() * perPixelY));

    const QPoint outside(w.d->plotRect.right() + 2, from.y());
    QVERIFY(!filterMouse(w, QEvent::MouseMove, outside, Qt::NoButton, Qt::MiddleButton));
    QVERIFY(!w.d->panning);
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(filterMouse(w, QEvent::MouseMove, from - QPoint(30, 30), Qt::NoButton, Qt::MiddleButton));
    QVERIFY(rawRanges(w) == after);
    QVERIFY(filterMouse(w, QEvent::MouseButtonRelease, from, Qt::MiddleButton, Qt::NoButton));
}

void TestMouse::degenerateAxesStayAutomatic_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("pan over empty axes") << int(Qt::MiddleButton);
    QTest::newRow("zoom after the axes were emptied") << int(Qt::LeftButton);
}

// A drag over axes with no range must not switch automatic scaling off, or
// data added afterwards would never be scaled into view.
void TestMouse::degenerateAxesStayAutomatic()
{
    QFETCH(int, button);
    const auto b = Qt::MouseButton(button);
    ChartWidget w;
    w.addSeries(lineOf({{0, 0}, {10, 10}}));
    showChart(w);
    mouse(&w, QEvent::MouseButtonPress, b, QPoint(150, 100));
    QVERIFY(w.d->zooming || w.d->panning);
    w.clear();
    mouse(&w, QEvent::MouseMove, b, QPoint(250, 200));
    mouse(&w, QEvent::MouseButtonRelease, b, QPoint(250, 200));
    QVERIFY(w.autoScale());
    QVERIFY(!w.axes()->isValid());
    w.addSeries(lineOf({{5, 1}, {6, 2}}));
    QVERIFY(w.axes()->bottom()->min() <= 5 && w.axes()->bottom()->max() >= 6);
}

void TestMouse::tooltip_data()
{
    QTest::addColumn<bool>("widgetSwitch");
    QTest::addColumn<int>("mode1"); // -1: left as registered, else enableTooltip(mode)
    QTest::addColumn<int>("mode2");
    QTest::addColumn<QString>("text1");
    QTest::addColumn<bool>("visible1");
    QTest::addColumn<QString>("shown"); // "earlier": the earlier tooltip stays
    QTest::newRow("lower id wins") << true << -1 << -1 << "one" << true << "one";
    QTest::newRow("lower id wins, forced") << false << 1 << 1 << "one" << true << "one";
    QTest::newRow("forced with switch off") << false << -1 << 1 << "one" << true << "two";
    QTest::newRow("switch off") << false << -1 << -1 << "one" << true << "earlier";
    QTest::newRow("mode 0 never") << true << 0 << -1 << "one" << true << "two";
    QTest::newRow("mode 0 both") << true << 0 << 0 << "one" << true << "earlier";
    QTest::newRow("empty text passes") << true << -1 << -1 << "" << true << "two";
    QTest::newRow("hidden passes") << true << 1 << 1 << "one" << false << "two";
}

void TestMouse::tooltip()
{
    QFETCH(bool, widgetSwitch);
    QFETCH(int, mode1);
    QFETCH(int, mode2);
    QFETCH(QString, text1);
    QFETCH(bool, visible1);
    QFETCH(QString, shown);
    ChartWidget w;
    w.enableTooltip(widgetSwitch); // before registration: modes stay -1
    auto *s1 = new TipSeries(text1);
    auto *s2 = new TipSeries(QStringLiteral("two"));
    w.addSeries(s2, 2);
    w.addSeries(s1, 1);
    if (mode1 >= 0)
        s1->enableTooltip(mode1);
    if (mode2 >= 0)
        s2->enableTooltip(mode2);
    s1->setVisible(visible1);
    showChart(w);
    const QPoint pos(150, 120);
    QToolTip::showText(w.mapToGlobal(QPoint(10, 10)), QStringLiteral("earlier"));
    QHelpEvent event(QEvent::ToolTip, pos, w.mapToGlobal(pos));
    QVERIFY(w.d->eventFilter(&w, &event));
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), shown);
    if (shown == text1)
        QCOMPARE(s1->askedAt, pos - w.d->plotRect.topLeft());
    // Outside the plot the widget's own tooltip handling takes over.
    QHelpEvent outside(QEvent::ToolTip, QPoint(1, 1), w.mapToGlobal(QPoint(1, 1)));
    QVERIFY(!w.d->eventFilter(&w, &outside));
    QToolTip::hideText();
}

TAVRIN_TEST(TestMouse)
#include "tst_mouse.moc"
