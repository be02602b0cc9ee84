#include "chartfixtures.h"
#include "testmain.h"
#include "testutil.h"

#include <axes.h>
#include <axis.h>
#include <axis_p.h>

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QToolTip>
#include <cmath>

namespace {

// A line series that answers every tooltip request with a fixed text and
// remembers where it was asked.
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

// The chart's own verdict on a mouse event: true when it consumed it.
bool filterMouse(ChartWidget &w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                 Qt::MouseButtons held)
{
    QMouseEvent event(type, pos, w.mapToGlobal(pos), button, held, Qt::NoModifier);
    return w.d->eventFilter(&w, &event);
}

// Offscreen QTest::mouseMove carries no buttons, so moves are sent by hand.
void moveTo(ChartWidget &w, QPoint pos, Qt::MouseButtons held)
{
    QMouseEvent event(QEvent::MouseMove, pos, w.mapToGlobal(pos), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

// A whole drag; returns whether the chart consumed the release.
bool drag(ChartWidget &w, Qt::MouseButton button, QPoint from, QPoint to)
{
    QTest::mousePress(&w, button, Qt::NoModifier, from);
    moveTo(w, to, button);
    return filterMouse(w, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

struct Ranges {
    double bottomMin, bottomMax, leftMin, leftMax;
};

Ranges rawRanges(ChartWidget &w)
{
    const Axis *b = w.axes()->bottom();
    const Axis *l = w.axes()->left();
    return {b->d->rawMin, b->d->rawMax, l->d->rawMin, l->d->rawMax};
}

// Five-digit labels keep the left axis' width, and so the plot size, the
// same across a zoom: a change of plot size renders regardless of the lock.
CountingSeries *fiveDigitLine()
{
    auto *s = new CountingSeries;
    for (int i = 0; i <= 100; ++i)
        s->addXY(i, 10000 + 100 * i);
    return s;
}

} // namespace

class TestMouse : public QObject
{
    Q_OBJECT
private slots:
    void press_data();
    void press();
    void zoomBand_data();
    void zoomBand();
    void zoomHonoursDrawingLock();
    void selectionFrameRepaintsOutlineOnly();
    void panFollowsPointer_data();
    void panFollowsPointer();
    void panEndsOutsidePlot();
    void degenerateAxesStayAutomatic_data();
    void degenerateAxesStayAutomatic();
    void tooltip_data();
    void tooltip();
    void lookAtIt();
};

void TestMouse::press_data()
{
    QTest::addColumn<bool>("withData");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("consumed");
    QTest::addColumn<bool>("zooming");
    QTest::addColumn<bool>("panning");
    QTest::addColumn<int>("cursor");

    const QPoint in(200, 150), out(2, 2);
    const int arrow = Qt::ArrowCursor;
    QTest::newRow("left outside") << true << out << int(Qt::LeftButton) << false << false << false << arrow;
    QTest::newRow("middle outside") << true << out << int(Qt::MiddleButton) << false << false << false << arrow;
    QTest::newRow("right outside") << true << out << int(Qt::RightButton) << false << false << false << arrow;
    QTest::newRow("right inside") << true << in << int(Qt::RightButton) << true << false << false << arrow;
    QTest::newRow("left inside") << true << in << int(Qt::LeftButton) << true << true << false
                                 << int(Qt::CrossCursor);
    QTest::newRow("middle inside") << true << in << int(Qt::MiddleButton) << true << false << true
                                   << int(Qt::ClosedHandCursor);
    QTest::newRow("left, invalid axes") << false << in << int(Qt::LeftButton) << true << false << false << arrow;
}

void TestMouse::press()
{
    QFETCH(bool, withData);
    QFETCH(QPoint, pos);
    QFETCH(int, button);
    QFETCH(bool, consumed);
    QFETCH(bool, zooming);
    QFETCH(bool, panning);
    QFETCH(int, cursor);

    ChartWidget w;
    if (withData)
        w.addSeries(lineOf({{0, 0}, {10, 10}}));
    showChart(w);
    QCOMPARE(w.d->plotRect.contains(pos), pos == QPoint(200, 150));

    const auto b = Qt::MouseButton(button);
    QCOMPARE(filterMouse(w, QEvent::MouseButtonPress, pos, b, b), consumed);
    QCOMPARE(w.d->zooming, zooming);
    QCOMPARE(w.d->panning, panning);
    QCOMPARE(int(w.cursor().shape()), cursor);

    filterMouse(w, QEvent::MouseButtonRelease, pos, b, Qt::NoButton);
    QVERIFY(!w.d->zooming && !w.d->panning);
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
}

void TestMouse::zoomBand_data()
{
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QRect>("band"); // the normalized band, for zooms

    const QRect none;
    QTest::newRow("4 x 10") << QPoint(103, 109) << "nothing" << none;
    QTest::newRow("10 x 4") << QPoint(109, 103) << "nothing" << none;
    QTest::newRow("left only") << QPoint(60, 100) << "nothing" << none;
    QTest::newRow("5 x 5") << QPoint(104, 104) << "zoom" << QRect(QPoint(100, 100), QPoint(104, 104));
    QTest::newRow("down left") << QPoint(60, 160) << "zoom" << QRect(QPoint(60, 100), QPoint(100, 160));
    QTest::newRow("up right") << QPoint(160, 40) << "zoom" << QRect(QPoint(100, 40), QPoint(160, 100));
    QTest::newRow("up left") << QPoint(60, 40) << "reset" << none;
    QTest::newRow("up left by one") << QPoint(99, 99) << "reset" << none;
}

void TestMouse::zoomBand()
{
    QFETCH(QPoint, to);
    QFETCH(QString, outcome);
    QFETCH(QRect, band);

    ChartWidget w;
    w.addSeries(lineOf({{0, 0}, {100, 50}}));
    showChart(w);
    const Ranges automatic = rawRanges(w);
    // Start from a hand-set view so that a reset shows.
    w.setAutoScale(false);
    w.axes()->bottom()->setRange(20, 70);
    w.axes()->left()->setRange(-10, 30);
    w.axes()->updateTransformData();
    const Ranges before = rawRanges(w);

    const Axis *b = w.axes()->bottom();
    const Axis *l = w.axes()->left();
    const QRect plot = w.d->plotRect;
    const double kx = b->span() / plot.width();
    const double ky = l->span() / plot.height();
    const double x1 = b->min() + (band.left() - plot.left()) * kx;
    const double x2 = b->min() + (band.right() - plot.left()) * kx;
    const double y1 = l->max() - (band.bottom() - plot.top()) * ky;
    const double y2 = l->max() - (band.top() - plot.top()) * ky;

    const bool consumed = drag(w, Qt::LeftButton, QPoint(100, 100), to);
    QVERIFY(!w.d->zooming);
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    const Ranges after = rawRanges(w);

    if (outcome == QLatin1String("zoom")) {
        QVERIFY(consumed);
        QVERIFY(!w.autoScale());
        QCOMPARE(after.bottomMin, x1);
        QCOMPARE(after.bottomMax, x2);
        QCOMPARE(after.leftMin, y1);
        QCOMPARE(after.leftMax, y2);
    } else if (outcome == QLatin1String("reset")) {
        QVERIFY(!consumed);
        QVERIFY(w.autoScale());
        QCOMPARE(after.bottomMin, automatic.bottomMin);
        QCOMPARE(after.bottomMax, automatic.bottomMax);
        QCOMPARE(after.leftMin, automatic.leftMin);
        QCOMPARE(after.leftMax, automatic.leftMax);
    } else {
        QVERIFY(!consumed);
        QVERIFY(!w.autoScale());
        QCOMPARE(after.bottomMin, before.bottomMin);
        QCOMPARE(after.bottomMax, before.bottomMax);
        QCOMPARE(after.leftMin, before.leftMin);
        QCOMPARE(after.leftMax, before.leftMax);
    }
}

void TestMouse::zoomHonoursDrawingLock()
{
    ChartWidget w;
    CountingSeries *s = fiveDigitLine();
    w.addSeries(s);
    showChart(w);
    const QRect plot = w.d->plotRect;
    const double oldMax = w.axes()->bottom()->max();

    w.setDrawingLock(true);
    const int draws = s->draws;
    QVERIFY(drag(w, Qt::LeftButton, QPoint(100, 100), QPoint(200, 160)));
    QVERIFY(!w.autoScale());
    QVERIFY(w.axes()->bottom()->max() < oldMax);
    QCOMPARE(w.d->plotRect, plot); // else the new image would render anyway
    QCOMPARE(s->draws, draws);

    w.setDrawingLock(false);
    QCOMPARE(s->draws, draws + 1);
    QVERIFY(!w.autoScale());
}

void TestMouse::selectionFrameRepaintsOutlineOnly()
{
    ChartWidget w;
    w.addSeries(lineOf({{0, 0}, {10, 10}}));
    showChart(w);
    PaintSpy spy;
    w.installEventFilter(&spy); // runs before the chart's own filter

    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    moveTo(w, QPoint(150, 140), Qt::LeftButton);
    QApplication::processEvents();
    spy.painted = QRegion();
    moveTo(w, QPoint(200, 160), Qt::LeftButton);
    QTRY_VERIFY(!spy.painted.isEmpty());

    // Old and new outlines, nothing inside them.
    for (const QPoint &p : {QPoint(150, 120), QPoint(125, 140), QPoint(100, 130), QPoint(200, 130),
                            QPoint(150, 100), QPoint(150, 160)})
        QVERIFY2(spy.painted.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    for (const QPoint &p : {QPoint(125, 120), QPoint(175, 150), QPoint(101, 101)})
        QVERIFY2(!spy.painted.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));

    // A band too small to zoom renders nothing, yet its outline must go.
    moveTo(w, QPoint(103, 109), Qt::LeftButton);
    QApplication::processEvents();
    spy.painted = QRegion();
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, QPoint(103, 109));
    QTRY_VERIFY(spy.painted.contains(QPoint(100, 105)) && spy.painted.contains(QPoint(103, 105)));
}

void TestMouse::panFollowsPointer_data()
{
    QTest::addColumn<QPoint>("step");
    QTest::newRow("right") << QPoint(40, 0);
    QTest::newRow("down") << QPoint(0, 30);
    QTest::newRow("up left") << QPoint(-25, -15);
}

void TestMouse::panFollowsPointer()
{
    QFETCH(QPoint, step);
    ChartWidget w;
    w.addSeries(lineOf({{0, 0}, {100, 50}}));
    showChart(w);
    const Ranges before = rawRanges(w);
    const double perPixelX = w.axes()->bottom()->pixelDeltaToPoint(1);
    const double perPixelY = w.axes()->left()->pixelDeltaToPoint(1);
    QVERIFY(perPixelX > 0 && perPixelY > 0);

    const QPoint from(200, 150);
    QTest::mousePress(&w, Qt::MiddleButton, Qt::NoModifier, from);
    QCOMPARE(int(w.cursor().shape()), int(Qt::ClosedHandCursor));
    // Two half steps add up to one whole one.
    moveTo(w, from + step / 2, Qt::MiddleButton);
    moveTo(w, from + step, Qt::MiddleButton);
    QTest::mouseRelease(&w, Qt::MiddleButton, Qt::NoModifier, from + step);
    QVERIFY(!w.d->panning);
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!w.autoScale());

    // Dragging right shows smaller x; dragging down shows greater y. Each
    // step recomputes the transform, which lets the scale settle a little,
    // so the distance is only close to the one at the starting scale.
    const Ranges after = rawRanges(w);
    const auto movedBy = [](double actual, double expected) {
        return expected == 0 ? actual == 0 : qAbs(actual - expected) <= 0.05 * qAbs(expected);
    };
    QVERIFY(movedBy(after.bottomMin - before.bottomMin, -step.x() * perPixelX));
    QVERIFY(movedBy(after.bottomMax - before.bottomMax, -step.x() * perPixelX));
    QVERIFY(movedBy(after.leftMin - before.leftMin, step.y() * perPixelY));
    QVERIFY(movedBy(after.leftMax - before.leftMax, step.y() * perPixelY));
}

void TestMouse::panEndsOutsidePlot()
{
    ChartWidget w;
    w.addSeries(lineOf({{0, 0}, {100, 50}}));
    showChart(w);
    const QRect plot = w.d->plotRect;
    const QPoint start = plot.center();

    QVERIFY(filterMouse(w, QEvent::MouseButtonPress, start, Qt::MiddleButton, Qt::MiddleButton));
    QVERIFY(filterMouse(w, QEvent::MouseMove, start + QPoint(10, 0), Qt::NoButton, Qt::MiddleButton));
    const Ranges panned = rawRanges(w);

    const QPoint outside(plot.right() + 2, start.y());
    QVERIFY(!filterMouse(w, QEvent::MouseMove, outside, Qt::NoButton, Qt::MiddleButton));
    QVERIFY(!w.d->panning);
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(rawRanges(w).bottomMin, panned.bottomMin);

    // Coming back in with the button still held does not resume the pan.
    QVERIFY(filterMouse(w, QEvent::MouseMove, start - QPoint(30, 30), Qt::NoButton, Qt::MiddleButton));
    QVERIFY(!w.d->panning);
    const Ranges after = rawRanges(w);
    QCOMPARE(after.bottomMin, panned.bottomMin);
    QCOMPARE(after.leftMin, panned.leftMin);
    QVERIFY(filterMouse(w, QEvent::MouseButtonRelease, start, Qt::MiddleButton, Qt::NoButton));
}

void TestMouse::degenerateAxesStayAutomatic_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("pan over empty axes") << int(Qt::MiddleButton);
    QTest::newRow("zoom after the axes were emptied") << int(Qt::LeftButton);
}

// A drag over axes with no range must not switch automatic scaling off, or
// the data added afterwards would never be scaled into view.
void TestMouse::degenerateAxesStayAutomatic()
{
    QFETCH(int, button);
    const auto b = Qt::MouseButton(button);
    ChartWidget w;
    w.addSeries(lineOf({{0, 0}, {10, 10}}));
    showChart(w);

    const QPoint from(150, 100), to(250, 200);
    QTest::mousePress(&w, b, Qt::NoModifier, from);
    QVERIFY(w.d->zooming || w.d->panning);
    w.clear();
    QVERIFY(!w.axes()->isValid());
    moveTo(w, to, b);
    QTest::mouseRelease(&w, b, Qt::NoModifier, to);

    QVERIFY(w.autoScale());
    QVERIFY(!w.axes()->isValid());
    w.addSeries(lineOf({{5, 1}, {6, 2}}));
    QVERIFY(w.axes()->isValid());
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
    QVERIFY(QToolTip::isVisible());

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

// Zooms and pans a chart with mouse events and writes what it shows before
// and after to PNG files.
void TestMouse::lookAtIt()
{
    ChartWidget w;
    w.setTitle(QStringLiteral("Zoom and pan"));
    auto *s = new LineSeries;
    for (int i = 0; i <= 400; ++i)
        s->addXY(i * 0.05, 100 * std::sin(i * 0.05));
    w.addSeries(s);
    showChart(w, 640, 420);
    const QString dir = tavrintest::outputDir();
    const QImage before = tavrintest::grabImage(&w);
    QVERIFY(before.save(dir + QStringLiteral("/mouse-before.png")));
    const double stepBefore = w.axes()->bottom()->d->tickStep;

    // Mid-drag the band is outlined on the widget.
    const QRect plot = w.d->plotRect;
    const QPoint from = plot.topLeft() + QPoint(plot.width() / 4, plot.height() / 4);
    const QPoint to = plot.center();
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, from);
    moveTo(w, to, Qt::LeftButton);
    const QImage band = tavrintest::grabImage(&w);
    QVERIFY(band.save(dir + QStringLiteral("/mouse-band.png")));
    QCOMPARE(band.pixel(from.x(), (from.y() + to.y()) / 2) & 0xffffff, 0u);
    QCOMPARE(band.pixel(to.x(), (from.y() + to.y()) / 2) & 0xffffff, 0u);
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, to);

    const QImage zoomed = tavrintest::grabImage(&w);
    QVERIFY(zoomed.save(dir + QStringLiteral("/mouse-zoomed.png")));
    // The window itself, once its queued paints are done, keeps no trace of
    // the band: the strips invalidated on release were repainted.
    QApplication::processEvents();
    const QImage screen = w.screen()->grabWindow(w.winId()).toImage();
    QVERIFY(screen.save(dir + QStringLiteral("/mouse-zoomed-screen.png")));
    QCOMPARE(screen.convertToFormat(QImage::Format_RGB32), zoomed.convertToFormat(QImage::Format_RGB32));
    QVERIFY(zoomed != before);
    QVERIFY(w.axes()->bottom()->d->tickStep < stepBefore);

    QTest::mousePress(&w, Qt::MiddleButton, Qt::NoModifier, plot.center());
    moveTo(w, plot.center() + QPoint(80, 40), Qt::MiddleButton);
    QTest::mouseRelease(&w, Qt::MiddleButton, Qt::NoModifier, plot.center() + QPoint(80, 40));
    const QImage panned = tavrintest::grabImage(&w);
    QVERIFY(panned.save(dir + QStringLiteral("/mouse-panned.png")));
    QVERIFY(panned != zoomed);

    QVERIFY(!drag(w, Qt::LeftButton, plot.center(), plot.center() - QPoint(50, 50)));
    QVERIFY(w.autoScale());
    QVERIFY(tavrintest::grabImage(&w).save(dir + QStringLiteral("/mouse-reset.png")));
}

TAVRIN_TEST(TestMouse)

#include "tst_mouse.moc"
