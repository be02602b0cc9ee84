// The opt-in mouse interaction, the look and the series image on screens
// of any density, all through real events on shown charts.

#include "testmain.h"
#include "fixtures.h"

#include <QCheckBox>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtMath>

using namespace tavrintest;

namespace {

// A shown 600 x 400 chart with a blue line from (0, 10000) to (1000, 20000)
// and a red marker line at x = 500; five-digit labels keep the layout steady.
struct Chart {
    ChartWidget w;
    CountingSeries *line = new CountingSeries;
    Chart()
    {
        line->setColor(Qt::blue);
        for (int i = 0; i <= 100; ++i)
            line->addXY(i * 10, 10000 + i * 100);
        w.addSeries(line);
        w.addVLine(new VLine(500, Qt::red, 1));
        showChart(w);
    }
    QRect plot() const { return w.d->plotRect; }
    Axis *x() const { return w.axes()->bottom(); }
    Axis *y() const { return w.axes()->left(); }
    QPointF valueAt(QPoint p) const { return {x()->pixelToPoint(p.x() - plot().left()), y()->pixelToPoint(p.y() - plot().top())}; }
    // The values at the plot's corners, as drawn.
    QRectF view() const { return QRectF(valueAt(plot().topLeft()), valueAt(plot().bottomRight())); }
    void hover(QPoint pos) { mouse(&w, QEvent::MouseMove, Qt::NoButton, pos), QApplication::processEvents(); }
};

// The chart above with green points from (0, -5) to (1000, 5): left where
// `how` is 0, put on the right axis after registration (1) or before it (2).
struct TwoAxes : Chart {
    PointSeries *second = new PointSeries(PointSeries::psCircle);
    explicit TwoAxes(int how = 1)
    {
        second->setColor(Qt::green);
        for (int i = 0; i <= 20; ++i)
            second->addXY(i * 50, -5 + i * 0.5);
        if (how == 2)
            second->setAxis(x(), r());
        w.addSeries(second);
        if (how == 1)
            second->setAxis(x(), r());
        QApplication::processEvents();
    }
    Axis *r() const { return w.axes()->right(); }
    double rightAtLeft(double v) const { return r()->pixelToPoint(y()->pointToPixel(v)); }
};

LineSeries *ramp(int k) { return lineOf({QPointF(0, 0), QPointF(19, 19 * (k + 1))}); }

// One series of every kind whose drawing has a fast, dense or stamped path.
CountingSeries *showScene(ChartWidget &w, bool antialiased)
{
    showChart(w, 480, 320);
    w.setAntialiasing(antialiased);
    auto *line = new CountingSeries;
    for (int i = 0; i < 3000; ++i)
        line->addXY(i / 30.0, std::sin(i / 90.0) * 40 + std::sin(i * 1.7) * 6);
    auto *circles = new PointSeries(PointSeries::psCircle);
    auto *squares = new PointSeries(PointSeries::psSquare);
    auto *bars = new BarSeries;
    auto *ranges = new MinMaxPointSeries(MinMaxPointSeries::psCircle);
    for (int i = 0; i < 25; ++i) {
        circles->addXY(i * 4 + 1, 30 - i * 2.3);
        squares->addXY(i * 4 + 2.5, -35 + i * 2.9);
        if (i < 12)
            bars->addXY(5 + i * 8, (i % 5) * 7 - 12);
        if (i < 8)
            ranges->addPoint(8 + i * 11.3, i * 3 - 10, i * 3 - 18, i * 3 - 2);
    }
    for (ChartSeries *s : std::initializer_list<ChartSeries *>{bars, line, circles, squares, ranges})
        w.addSeries(s);
    w.addVLine(new VLine(47.3, Qt::darkMagenta, 1));
    QApplication::processEvents();
    return line;
}

// The series layer drawn for a screen of the given density.
QImage seriesImageAt(ChartWidget &w, qreal ratio)
{
    QPixmap pm(qCeil(w.d->plotRect.width() * ratio), qCeil(w.d->plotRect.height() * ratio));
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, w.d->antialiasing);
    for (ChartSeries *series : qAsConst(w.d->seriesMap))
        series->draw(&p);
    for (VLine *line : qAsConst(w.d->vlineMap))
        line->draw(&p);
    p.end();
    return pm.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Covered pixels, edge pixels by their alpha.
double coverage(const QImage &img)
{
    double sum = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            sum += qAlpha(img.pixel(x, y)) / 255.0;
    return sum;
}

} // namespace

// The opt-in mouse interaction and the chart's look.
class TestViewAndLook : public QObject
{
    Q_OBJECT
private slots:
    void wheel_data();
    void wheel();
    void zoomBackHistory();
    void geometryAndOneAxis();
    void clearAfterGestures_data();
    void clearAfterGestures();
    void afterZoom_data();
    void afterZoom();
    void crosshair();
    void seriesColors();
    void darkThemeAndBack();
};

void TestViewAndLook::wheel_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("steps");
    QTest::newRow("default: passed on") << false << 120 << int(Qt::NoModifier) << 1;
    QTest::newRow("in, both") << true << 120 << int(Qt::NoModifier) << 1;
    QTest::newRow("out, both") << true << -240 << int(Qt::NoModifier) << 1;
    QTest::newRow("ctrl, x only") << true << 120 << int(Qt::ControlModifier) << 1;
    QTest::newRow("shift, y only") << true << 120 << int(Qt::ShiftModifier) << 1;
    QTest::newRow("limit, far in") << true << 1200 << int(Qt::NoModifier) << 300;
    QTest::newRow("limit, far out") << true << -1200 << int(Qt::NoModifier) << 300;
}

void TestViewAndLook::wheel()
{
    QFETCH(bool, enabled);
    QFETCH(int, angle);
    QFETCH(int, modifiers);
    QFETCH(int, steps);
    const bool xZooms = enabled && !(modifiers & Qt::ShiftModifier), yZooms = enabled && !(modifiers & Qt::ControlModifier);
    Chart c;
    c.w.setWheelZoom(enabled);
    // On the marker line, a third of the way down the plot.
    const QPoint at(c.plot().left() + qRound(c.x()->pointToPixel(500)), c.plot().top() + c.plot().height() / 3);
    const QPointF value = c.valueAt(at);
    const QRectF before = c.view();
    const QPointF xRange(c.x()->min(), c.x()->max()), yRange(c.y()->min(), c.y()->max());
    const int draws = c.line->draws;
    for (int i = 0; i < steps; ++i)
        QCOMPARE(tavrintest::wheel(c.w, at, angle, Qt::KeyboardModifiers(modifiers)), enabled);
    QApplication::processEvents();
    for (const Axis *a : {c.x(), c.y()}) {
        QVERIFY(std::isfinite(a->min()) && std::isfinite(a->max()) && a->min() < a->max());
        QVERIFY(a->pixelToPoint(1) != a->pixelToPoint(2)); // neighbouring pixels keep values of their own
    }
    if (steps > 1) { // steps that change nothing leave no history
        QCOMPARE(c.w.zoomHistorySize() < 50, angle > 0);
        return;
    }
    const double f = std::pow(0.8, angle / 120.0);
    QVERIFY(std::fabs(c.view().width() / before.width() - (xZooms ? f : 1)) < 1e-9);
    QVERIFY(std::fabs(c.view().height() / before.height() - (yZooms ? f : 1)) < 1e-9);
    // An axis that does not zoom keeps its range to the bit; one that zooms
    // reports the range it draws, so the next step scales that exactly.
    auto kept = [](const Axis *a, bool zooms, QPointF range, double lo, double hi) {
        return zooms ? std::fabs(a->min() - lo) < 1e-9 * a->span() && std::fabs(a->max() - hi) < 1e-9 * a->span()
                     : a->min() == range.x() && a->max() == range.y();
    };
    QVERIFY(kept(c.x(), xZooms, xRange, c.view().left(), c.view().right()));
    QVERIFY(kept(c.y(), yZooms, yRange, c.view().bottom(), c.view().top()));
    // The values under the pointer stay under it, and so does the marker.
    QVERIFY(std::fabs(c.valueAt(at).x() - value.x()) < 1e-6 * before.width()
            && std::fabs(c.valueAt(at).y() - value.y()) < 1e-6 * std::fabs(before.height()));
    QVERIFY(countColor(grabImage(&c.w), qRgb(255, 0, 0), QRect(at.x() - 1, at.y(), 3, 1)) > 0);
    QCOMPARE(c.line->draws, draws + (enabled ? 1 : 0));
}

// Every gesture is a step of the history. The series on the right axis
// checks that both vertical axes follow each one: where the left axis then
// shows a value, the right one shows what it showed there before.
void TestViewAndLook::zoomBackHistory()
{
    TwoAxes c;
    c.w.setWheelZoom(true);
    QSignalSpy spy(&c.w, SIGNAL(zoomHistoryChanged(int)));
    const double at12 = c.rightAtLeft(12000), at18 = c.rightAtLeft(18000), tolerance = (at18 - at12) * 1e-6;
    const QPoint mid = c.plot().center();
    QList<QRectF> views{c.view()};
    QList<double> rightTops{c.r()->pixelToPoint(0)};
    for (int gesture = 0; gesture < 3; ++gesture) {
        if (gesture == 0)
            drag(c.w, Qt::LeftButton, mid - QPoint(100, 60), mid + QPoint(120, 80));
        else if (gesture == 1)
            drag(c.w, Qt::MiddleButton, mid, mid + QPoint(40, 25));
        else
            QVERIFY(tavrintest::wheel(c.w, mid));
        QVERIFY(!c.w.autoScale() && std::fabs(c.r()->pixelToPoint(0) - rightTops.last()) > 0.1);
        QVERIFY(std::fabs(c.rightAtLeft(12000) - at12) < tolerance && std::fabs(c.rightAtLeft(18000) - at18) < tolerance);
        views << c.view();
        rightTops << c.r()->pixelToPoint(0);
    }
    QVERIFY(c.w.zoomHistorySize() == 3 && spy.count() == 3);
    const int draws = c.line->draws;
    for (int back = 2; back >= 0; --back) {
        QVERIFY(c.w.zoomBack() && c.w.autoScale() == (back == 0));
        // The automatic view is known by its data range.
        QVERIFY(back ? c.view() == views.at(back) : c.x()->d->rawMin <= 0 && c.x()->d->rawMax >= 1000);
        QVERIFY(std::fabs(c.r()->pixelToPoint(0) - rightTops.at(back)) < tolerance);
    }
    QVERIFY(c.line->draws > draws);
    QVERIFY(spy.last().at(0).toInt() == 0 && !c.w.zoomBack());

    // Bounded: the oldest steps are dropped, so going all the way back
    // ends at a manual view, not at automatic scaling.
    for (int i = 0; i < 60; ++i)
        tavrintest::wheel(c.w, mid, i % 2 ? 120 : -120);
    QCOMPARE(c.w.zoomHistorySize(), 50);
    while (c.w.zoomBack())
        QVERIFY(!c.w.autoScale());
}

// What a host reaches for beside the gestures: the plot's place, values
// under a position, exact ranges without the pad, and one axis refitted.
void TestViewAndLook::geometryAndOneAxis()
{
    TwoAxes c;
    QCOMPARE(c.w.plotArea(), c.plot());
    for (const Axis *y : {static_cast<const Axis *>(nullptr), static_cast<const Axis *>(c.r())}) {
        const QPointF at(c.plot().left() + 37.5, c.plot().top() + 81.25);
        const QPointF v = c.w.mapToValue(at, y);
        QCOMPARE(v.y(), (y ? c.r() : c.y())->pixelToPoint(81.25));
        QVERIFY((c.w.mapToPosition(v, y) - at).manhattanLength() < 1e-9);
    }
    QVERIFY(std::isnan(ChartWidget().mapToValue(QPointF(5, 5)).x()));

    // No pad: the range set is the range shown, to the pixel.
    QSignalSpy padding(c.x(), SIGNAL(paddingChanged(int)));
    c.x()->setPadding(0);
    c.x()->setPadding(-3);
    QCOMPARE(padding.count(), 1);
    c.w.setAutoScale(false);
    c.x()->setRange(200, 300);
    QApplication::processEvents();
    QVERIFY(c.x()->min() == 200 && c.x()->max() == 300);
    QCOMPARE(c.w.mapToPosition(QPointF(200, 0)).x(), double(c.plot().left()));

    // One axis fitted to its series, the others as they were.
    c.y()->setRange(14000, 15000);
    const double rightTop = c.r()->max();
    const int draws = c.line->draws;
    QVERIFY(c.w.rescaleAxis(c.y()));
    QVERIFY(c.y()->min() < 10000 && c.y()->max() > 20000 && c.y()->max() < 21000);
    QVERIFY(c.x()->min() == 200 && c.x()->max() == 300 && c.r()->max() == rightTop && !c.w.autoScale());
    QCOMPARE(c.line->draws, draws + 1);
    Axis foreign(Axis::atLeft);
    QVERIFY(!c.w.rescaleAxis(&foreign) && !c.w.rescaleAxis(nullptr));
}

void TestViewAndLook::clearAfterGestures_data()
{
    QTest::addColumn<int>("gesture");
    QTest::addColumn<bool>("hostManual");
    for (int g = 0; g < 3; ++g) {
        const char *name = g == 0 ? "wheel" : g == 1 ? "band" : "pan";
        QTest::addRow("%s", name) << g << false;
        QTest::addRow("%s, host's manual scaling first", name) << g << true;
    }
    QTest::newRow("band, cleared midway") << 3 << false;
    QTest::newRow("pan, cleared midway") << 4 << false;
}

// clear() takes back what the user's gestures did to the view, but not a
// host's own switch to manual scaling. A drag over the axes clear() left
// without a range must not switch automatic scaling off, or data added
// afterwards would never be scaled into view.
void TestViewAndLook::clearAfterGestures()
{
    QFETCH(int, gesture);
    QFETCH(bool, hostManual);
    Chart c;
    c.w.setWheelZoom(true);
    if (hostManual)
        c.w.setAutoScale(false);
    const QPoint mid = c.plot().center();
    const Qt::MouseButton button = gesture % 2 ? Qt::LeftButton : Qt::MiddleButton;
    if (gesture == 0)
        QVERIFY(tavrintest::wheel(c.w, mid));
    else if (gesture < 3)
        drag(c.w, button, mid - QPoint(60, 40), mid + QPoint(60, 40));
    if (gesture >= 3) {
        mouse(&c.w, QEvent::MouseButtonPress, button, mid - QPoint(60, 40));
        c.w.clear();
        mouse(&c.w, QEvent::MouseMove, button, mid + QPoint(60, 40));
        mouse(&c.w, QEvent::MouseButtonRelease, button, mid + QPoint(60, 40));
        QVERIFY(c.w.autoScale());
    } else {
        QVERIFY(!c.w.autoScale() && c.w.zoomHistorySize() == 1);
        QSignalSpy history(&c.w, SIGNAL(zoomHistoryChanged(int)));
        c.w.clear();
        QCOMPARE(c.w.autoScale(), !hostManual);
        QVERIFY(c.w.zoomHistorySize() == 0 && !c.w.zoomBack() && history.count() == 1);
    }
    if (hostManual)
        return; // the host sets the ranges of new data itself
    auto *fresh = new LineSeries;
    fresh->setColor(Qt::green);
    fresh->addXY(-50, 3);
    fresh->addXY(50, 7);
    c.w.addSeries(fresh);
    QApplication::processEvents();
    QVERIFY(c.x()->isValid() && c.x()->min() <= -50 && c.x()->max() >= 50 && c.y()->min() <= 3);
    QVERIFY(countColor(grabImage(&c.w), qRgb(0, 255, 0), c.plot()) > 50);
}

void TestViewAndLook::afterZoom_data()
{
    QTest::addColumn<bool>("doubleClick"); // else the refresh timeout expires
    QTest::addColumn<bool>("optIn");
    QTest::newRow("double click, default: passed on") << true << false;
    QTest::newRow("double click, reset") << true << true;
    QTest::newRow("expiry, default: widened") << false << false;
    QTest::newRow("expiry, view held") << false << true;
}

void TestViewAndLook::afterZoom()
{
    QFETCH(bool, doubleClick);
    QFETCH(bool, optIn);
    Chart c;
    doubleClick ? c.w.setDoubleClickReset(optIn) : c.w.setHoldView(optIn);
    c.w.setRefreshTimeout(20);
    const QPoint mid = c.plot().center();
    drag(c.w, Qt::LeftButton, mid - QPoint(100, 60), mid + QPoint(100, 60));
    const QRectF zoomed = c.view();
    const int draws = c.line->draws, blue = countColor(grabImage(&c.w), qRgb(0, 0, 255), c.plot());
    if (doubleClick) {
        // Passed on outside the plot, and inside it unless opted in.
        for (QPoint pos : optIn ? QVector<QPoint>{QPoint(2, 2)} : QVector<QPoint>{QPoint(2, 2), mid}) {
            QMouseEvent dbl(QEvent::MouseButtonDblClick, pos, c.w.mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QVERIFY(!c.w.d->eventFilter(&c.w, &dbl));
        }
        QTest::mouseDClick(&c.w, Qt::LeftButton, Qt::NoModifier, mid);
    } else {
        c.line->addXY(5000, 90000); // far beyond the view, then inside it
        c.line->addXY(zoomed.center().x(), zoomed.center().y());
        QTRY_VERIFY(!c.w.d->refreshTimer.isActive());
    }
    QApplication::processEvents();
    const bool reset = doubleClick && optIn, kept = doubleClick != optIn;
    QCOMPARE(c.w.autoScale(), reset);
    QCOMPARE(c.view() == zoomed, kept);
    QCOMPARE(c.line->draws > draws, !kept || !doubleClick);
    if (doubleClick)
        QCOMPARE(c.w.zoomHistorySize(), reset ? 0 : 1);
    else if (optIn)
        QVERIFY(countColor(grabImage(&c.w), qRgb(0, 0, 255), c.plot()) > blue + 20); // the new segment shows
    else
        QVERIFY(c.x()->d->rawMax == 5000 && c.y()->d->rawMax == 90000);
}

// Date-times on x, numbers on y: each value is written as its axis writes it.
void TestViewAndLook::crosshair()
{
    Chart c;
    c.x()->setDatetime(true);
    c.x()->setDatetimeFormat(QStringLiteral("dd.MM hh:mm"));
    QApplication::processEvents();
    const QPoint at = c.plot().center() + QPoint(31, 0);
    // Black pixels in the pointer's column: the crosshair's dashes.
    auto dark = [&] { return countColor(grabImage(&c.w), qRgb(0, 0, 0), QRect(at.x(), c.plot().top() + 2, 1, c.plot().height() - 32)); };
    const int baseline = dark(), draws = c.line->draws;
    QVERIFY(!c.w.hasMouseTracking()); // off by default: a move shows nothing
    c.hover(at);
    QCOMPARE(dark(), baseline);
    c.w.setCrosshair(true);
    QVERIFY(c.w.hasMouseTracking());
    c.hover(at);
    QVERIFY(dark() > baseline + c.plot().height() / 5);
    QCOMPARE(c.w.d->crosshairTexts, (QStringList{c.x()->labelString(c.valueAt(at).x()), c.y()->labelString(c.valueAt(at).y())}));
    QVERIFY(c.w.d->crosshairTexts.at(0).contains(QLatin1Char(':')));

    // Leaving the widget or the plot, or switching it off, takes it away.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&c.w, &leave);
    QApplication::processEvents();
    QCOMPARE(dark(), baseline);
    c.hover(at);
    c.hover(QPoint(2, 2));
    QCOMPARE(dark(), baseline);
    c.hover(at);
    c.w.setCrosshair(false);
    QApplication::processEvents();
    QCOMPARE(dark(), baseline);
    c.w.setCrosshair(true); // back on, it waits for the pointer to move
    QCOMPARE(dark(), baseline);
    QCOMPARE(c.line->draws, draws); // moving the pointer renders no series
}

void TestViewAndLook::seriesColors()
{
    ChartWidget w;
    auto *first = ramp(0);
    w.addSeries(first);
    const QList<QColor> colors{QColor("#123456"), QColor("#abcdef")};
    w.setSeriesColors(colors);
    QList<QColor> got;
    auto add = [&] { auto *s = ramp(got.size()); w.addSeries(s); got << s->color(); };
    add(), add(), add();
    QCOMPARE(first->color(), QColor(Qt::red)); // registered series keep theirs
    w.clear(); // starts the cycle again
    add();
    w.setSeriesColors({});
    add();
    QCOMPARE(got, (QList<QColor>{colors[0], colors[1], colors[0], colors[0], QColor(Qt::red)}));
}

void TestViewAndLook::darkThemeAndBack()
{
    ChartWidget w;
    auto *automatic = ramp(0), *chosen = ramp(1);
    chosen->setColor(QColor(Qt::magenta));
    auto *marks = new PointSeries(PointSeries::psCircle);
    for (int i = 0; i < 10; ++i)
        marks->addXY(i * 2, 15);
    for (ChartSeries *s : std::initializer_list<ChartSeries *>{automatic, chosen, marks})
        w.addSeries(s);
    w.legend()->setVisible(true);
    showChart(w, 520, 340);
    const QImage light = grabImage(&w);
    // Asked twice: the second call must not take the dark palette for the host's.
    w.setTheme(ChartWidget::thDark);
    w.setTheme(ChartWidget::thDark);
    QApplication::processEvents();
    // The series the chart coloured follow the theme, the host's keep
    // theirs; the chart pictures show the rest.
    QVERIFY(automatic->color() != QColor(Qt::red));
    QCOMPARE(marks->color(), w.seriesColors().at(1));
    QCOMPARE(chosen->color(), QColor(Qt::magenta));
    // The outputs look as the screen does: the image to the pixel around
    // the series, the SVG on the dark background with no black frame edge.
    const QImage dark = grabImage(&w);
    auto around = [&](QImage img) {
        QPainter(&img).fillRect(w.d->plotRect.adjusted(2, 2, -2, -2), Qt::black);
        return img;
    };
    QCOMPARE(around(w.toImage().convertToFormat(QImage::Format_ARGB32)), around(dark));
    QTemporaryDir dir;
    QVERIFY(w.exportSvg(dir.filePath(QStringLiteral("dark.svg"))));
    QImage svg(w.size(), QImage::Format_ARGB32);
    svg.fill(Qt::white);
    QPainter painter(&svg);
    QSvgRenderer(dir.filePath(QStringLiteral("dark.svg"))).render(&painter);
    painter.end();
    QCOMPARE(svg.pixel(2, 2), dark.pixel(2, 2));
    QCOMPARE(countColor(svg, qRgb(0, 0, 0), w.d->plotRect.adjusted(-2, -2, 2, 2)), 0);

    // Back to the default, by way of the light theme and its title font:
    // the very same pixels as before.
    const QFont titleFont = w.titleFont();
    w.setTheme(ChartWidget::thLight);
    QVERIFY(automatic->color() == w.seriesColors().at(0) && marks->color() == w.seriesColors().at(1));
    w.setTheme(ChartWidget::thDefault);
    QCOMPARE(w.titleFont(), titleFont);
    QApplication::processEvents();
    QCOMPARE(automatic->color(), QColor(Qt::red));
    QVERIFY(grabImage(&w) == light);
    QVERIFY(!w.testAttribute(Qt::WA_SetPalette));

    // Themed before its window appears, the legend still fits its entries.
    ChartWidget early;
    for (int i = 0; i < 4; ++i)
        early.addSeries(ramp(i));
    early.legend()->setVisible(true);
    early.setTheme(ChartWidget::thDark);
    showChart(early, 520, 340);
    QVERIFY(!early.legend()->verticalScrollBar()->isVisible() && !early.legend()->horizontalScrollBar()->isVisible());
    for (const QCheckBox *box : early.legend()->findChildren<QCheckBox *>())
        QVERIFY(early.legend()->rect().contains(box->mapTo(early.legend(), box->rect().bottomRight())));
}

TAVRIN_TEST(TestViewAndLook)

// A second y axis on the right, for the series put on it.
class TestRightAxis : public QObject
{
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void values();
    void exports();
    void rightOnly();
};

void TestRightAxis::layout_data()
{
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("then"); // 1: back to the left axis, 2: removed, 3: removed in a manual view
    QTest::newRow("left: no band") << 0 << 0;
    QTest::newRow("right after registration") << 1 << 0;
    QTest::newRow("right before registration") << 2 << 0;
    QTest::newRow("back to the left") << 1 << 1;
    QTest::newRow("removed") << 2 << 2;
    QTest::newRow("removed, manual view") << 1 << 3;
}

// The band is there while a series uses the right axis; the chart picture
// shows what is drawn in it and the legend beside it.
void TestRightAxis::layout()
{
    QFETCH(int, how);
    QFETCH(int, then);
    TwoAxes c(how);
    if (then == 1)
        c.second->setAxis(c.x(), c.y());
    if (then == 3)
        c.w.setAutoScale(false);
    if (then >= 2)
        c.w.removeSeries(2);
    QApplication::processEvents();
    const bool onRight = how != 0 && then == 0, leftSees = how == 0 || then == 1;
    QCOMPARE(c.plot().right(), c.w.width() - 6 - (onRight ? c.r()->size() : 0));
    // Each axis scales to its own series.
    QCOMPARE(c.y()->d->rawMin, leftSees ? -5.0 : 10000.0);
    QCOMPARE(c.y()->d->rawMax, 20000.0);
    if (onRight)
        QVERIFY(c.r()->size() > 0 && std::fabs(c.r()->d->rawMin + 5) < 1e-6 && c.r()->d->rawMax == 5);
}

void TestRightAxis::values()
{
    TwoAxes c;
    c.w.enableTooltip(true);
    c.w.setCrosshair(true);
    // The point (500, 0) of the right series, placed by the right axis.
    const QPoint at = c.plot().topLeft() + QPoint(qRound(c.x()->pointToPixel(500)), qRound(c.r()->pointToPixel(0)));
    QHelpEvent tip(QEvent::ToolTip, at, c.w.mapToGlobal(at));
    QVERIFY(c.w.d->eventFilter(&c.w, &tip));
    QCOMPARE(QToolTip::text(), QStringLiteral("X: 500\r\nY: 0"));
    c.hover(at);
    QCOMPARE(c.w.d->crosshairTexts.size(), 3);
    QVERIFY(std::fabs(c.w.d->crosshairTexts.at(1).toDouble() - 15000) < 100);
    QVERIFY(std::fabs(c.w.d->crosshairTexts.at(2).toDouble()) < 0.1);
}

// Temperatures on the left, time stamps on a date-time right axis.
void TestRightAxis::exports()
{
    ChartWidget w;
    auto *when = lineOf({QPointF(1, 1709540000), QPointF(2, 1709543600)}, QStringLiteral("W"));
    w.addSeries(lineOf({QPointF(1, 20), QPointF(2, 21)}, QStringLiteral("T")));
    w.addSeries(when);
    when->setAxis(w.axes()->bottom(), w.axes()->right());
    w.axes()->right()->setDatetime(true);
    w.axes()->right()->setTitle(QStringLiteral("Stamp"));
    showChart(w);
    QTemporaryDir dir;
    const QString csv = dir.filePath("out.csv"), xml = dir.filePath("out.xml"), svg = dir.filePath("out.svg");
    QVERIFY(w.exportCsv(csv) && w.exportXml(xml) && w.exportSvg(svg));
    const QString date = QDateTime::fromSecsSinceEpoch(1709540000, Qt::LocalTime).toString(Qt::ISODate) + ".000";
    QVERIFY2(readAll(csv).contains("\n1;20;1;" + date.toUtf8() + "\n"), readAll(csv).constData());
    QVERIFY(readAll(xml).count("ss:Type=\"DateTime\"") == 2 && readAll(xml).contains(date.toUtf8()));
    QVERIFY(readAll(svg).contains("Stamp"));
}

// With every series on the right axis the left one has no range; the
// gestures, the history and the crosshair work on the right one.
void TestRightAxis::rightOnly()
{
    Chart c;
    c.line->setAxis(c.x(), c.w.axes()->right());
    c.w.setWheelZoom(true);
    c.w.setCrosshair(true);
    QApplication::processEvents();
    Axis *r = c.w.axes()->right();
    QVERIFY(!c.y()->isValid() && r->isValid());
    const QPoint mid = c.plot().center();
    auto span = [r] { return r->pixelToPoint(0) - r->pixelToPoint(r->d->length); };
    QList<double> tops{r->pixelToPoint(0)}, spans{span()};
    drag(c.w, Qt::LeftButton, mid - QPoint(50, 40), mid + QPoint(60, 50));
    drag(c.w, Qt::MiddleButton, mid, mid + QPoint(0, 30));
    QVERIFY(wheel(c.w, mid) && c.w.zoomHistorySize() == 3 && span() < spans[0] / 2);
    c.hover(mid);
    QVERIFY(c.w.d->crosshairTexts.size() == 3 && c.w.d->crosshairTexts.at(1).isEmpty());
    for (int i = 0; i < 3; ++i) {
        tops.prepend(r->pixelToPoint(0));
        QVERIFY(c.w.zoomBack() && std::fabs(r->pixelToPoint(0) - tops.first()) > 1e-9);
    }
    QVERIFY(c.w.autoScale() && std::fabs(span() - spans[0]) < 1e-6 * spans[0]);
}

TAVRIN_TEST(TestRightAxis)

// The chart of Chart with green points on the top axis, from (2000, -5) to
// (3000, 5): put there after registration (1) or before it (2), or left
// on the bottom axis (0).
struct TopAxis : Chart {
    PointSeries *second = new PointSeries(PointSeries::psCircle);
    explicit TopAxis(int how = 1, int mode = 0)
    {
        second->setColor(Qt::green);
        for (int i = 0; i <= 20; ++i)
            second->addXY(mode == 2 ? std::pow(10.0, i / 4.0) : mode == 1 ? 1.7e9 + i * 600 : 2000 + i * 50, -5 + i * 0.5);
        t()->setLogarithmic(mode == 2);
        t()->setDatetime(mode == 1);
        t()->setTitle(QStringLiteral("top"));
        second->setAxis(how == 2 ? t() : nullptr, how == 2 ? y() : nullptr);
        w.addSeries(second);
        if (how == 1)
            second->setAxis(t(), y());
        QApplication::processEvents();
    }
    Axis *t() const { return w.axes()->top(); }
    // An axis' value at plot column p, in its transform units.
    static double unitsAt(const Axis *a, int p) { const double v = a->pixelToPoint(p); return a->isLogarithmic() ? std::log10(v) : v; }
};

// A second x axis above the plot, for the series put on it.
class TestTopAxis : public QObject
{
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void gestures_data();
    void gestures();
};

void TestTopAxis::layout_data()
{
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("then"); // 1: back to the bottom axis, 2: removed, 3: removed in a manual view
    QTest::addColumn<bool>("titled");
    QTest::newRow("bottom: no band") << 0 << 0 << false;
    QTest::newRow("top after registration") << 1 << 0 << false;
    QTest::newRow("top before registration, chart title") << 2 << 0 << true;
    QTest::newRow("back to the bottom") << 1 << 1 << false;
    QTest::newRow("removed") << 2 << 2 << true;
    QTest::newRow("removed, manual view") << 1 << 3 << false;
}

// The band is there, under the title, while a series uses the top axis;
// each x axis scales to its own series and the left one to both.
void TestTopAxis::layout()
{
    QFETCH(int, how);
    QFETCH(int, then);
    QFETCH(bool, titled);
    TopAxis c(how);
    const QRect plain = Chart().plot();
    if (titled)
        c.w.setTitle(QStringLiteral("title"));
    if (then == 1)
        c.second->setAxis(c.x(), c.y());
    if (then == 3)
        c.w.setAutoScale(false);
    if (then >= 2)
        c.w.removeSeries(2);
    QApplication::processEvents();
    const bool onTop = how != 0 && then == 0, bottomSees = how == 0 || then == 1;
    const int title = titled ? QFontMetrics(c.w.titleFont()).height() : 0;
    QCOMPARE(c.plot().top(), 5 + title + (onTop ? c.t()->size() : 0));
    QCOMPARE(c.plot().bottom(), plain.bottom());
    auto near = [](double a, double b) { return std::fabs(a - b) < 0.1; };
    QVERIFY(near(c.x()->d->rawMin, 0) && near(c.x()->d->rawMax, bottomSees ? 3000 : 1000));
    QVERIFY(near(c.y()->d->rawMin, then == 2 ? 10000 : -5));
    if (!onTop)
        return;
    QVERIFY(c.t()->size() > 2 * QFontMetrics(c.t()->labelFont()).height());
    QVERIFY(near(c.t()->d->rawMin, 2000) && near(c.t()->d->rawMax, 3000));
}

void TestTopAxis::gestures_data()
{
    QTest::addColumn<int>("gesture"); // 0 band zoom, 1 pan, 2 wheel, 3 arrow key, 4 Ctrl+wheel
    QTest::addColumn<int>("mode");    // of the top axis: 0 numbers, 1 date-time, 2 logarithmic
    QTest::addColumn<bool>("only");   // every series on the top axis
    QTest::newRow("band") << 0 << 0 << false;
    QTest::newRow("pan") << 1 << 0 << false;
    QTest::newRow("wheel") << 2 << 0 << false;
    QTest::newRow("key") << 3 << 0 << false;
    QTest::newRow("ctrl+wheel, date-time") << 4 << 1 << false;
    QTest::newRow("band, date-time") << 0 << 1 << false;
    QTest::newRow("band, log") << 0 << 2 << false;
    QTest::newRow("pan, log") << 1 << 2 << false;
    QTest::newRow("band, top only") << 0 << 0 << true;
    QTest::newRow("pan, top only") << 1 << 0 << true;
    QTest::newRow("wheel, top only, log") << 2 << 2 << true;
}

// A gesture moves both x axes alike: a column of the plot shows on the top
// axis what it showed there before for the value the bottom axis now shows
// there. The history, the crosshair and the reset take the top axis along.
void TestTopAxis::gestures()
{
    QFETCH(int, gesture);
    QFETCH(int, mode);
    QFETCH(bool, only);
    TopAxis c(1, mode);
    if (only) {
        c.w.removeVLine(1);
        c.line->setAxis(c.t(), c.y());
    }
    c.w.setWheelZoom(true);
    c.w.setKeyboardNavigation(true);
    c.w.setCrosshair(true);
    c.w.setDoubleClickReset(true);
    QApplication::processEvents();
    QCOMPARE(c.x()->isValid(), !only);
    const int w = c.x()->d->length;
    const double t0 = TopAxis::unitsAt(c.t(), 0), t1 = TopAxis::unitsAt(c.t(), w);
    // Top units as a linear function of bottom units, as drawn now.
    const double b0 = only ? 0 : c.x()->pixelToPoint(0), b1 = only ? w : c.x()->pixelToPoint(w);
    auto topOf = [&](double b) { return t0 + (b - b0) * (t1 - t0) / (b1 - b0); };
    const int draws = c.line->draws;
    const QPoint mid = c.plot().center();
    switch (gesture) {
    case 0: QVERIFY(drag(c.w, Qt::LeftButton, mid - QPoint(120, 60), mid + QPoint(40, 50))); break;
    case 1: QVERIFY(drag(c.w, Qt::MiddleButton, mid, mid + QPoint(-70, 20))); break;
    case 2: QVERIFY(wheel(c.w, mid + QPoint(60, 0))); break;
    case 3: QTest::keyClick(&c.w, Qt::Key_Right); break;
    default: QVERIFY(wheel(c.w, mid + QPoint(60, 0), 240, Qt::ControlModifier)); break;
    }
    QApplication::processEvents();
    QCOMPARE(c.line->draws, draws + 1);
    QCOMPARE(c.w.zoomHistorySize(), 1);
    QVERIFY(std::fabs(TopAxis::unitsAt(c.t(), 0) - t0) > 1e-6 * std::fabs(t1 - t0));
    // Within a pixel of the view now shown.
    const double pixel = std::fabs(TopAxis::unitsAt(c.t(), w) - TopAxis::unitsAt(c.t(), 0)) / w;
    for (int p : {0, w / 3, w})
        QVERIFY2(only || std::fabs(TopAxis::unitsAt(c.t(), p) - topOf(c.x()->pixelToPoint(p))) < pixel, qPrintable(QString::number(p)));
    // A pan of 70 pixels to the left moves the top axis by 70 of its pixels.
    QVERIFY(gesture != 1 || std::fabs(TopAxis::unitsAt(c.t(), 0) - t0 - 70 * (t1 - t0) / w) < 2 * pixel);
    c.hover(mid);
    QCOMPARE(c.w.d->crosshairTexts.size(), 4);
    QCOMPARE(c.w.d->crosshairTexts.at(0).isEmpty(), only);
    QCOMPARE(c.w.d->crosshairTexts.at(3), c.t()->labelString(c.t()->pixelToPoint(mid.x() - c.plot().left())));
    QVERIFY(c.w.zoomBack());
    QVERIFY(std::fabs(TopAxis::unitsAt(c.t(), 0) - t0) < 1e-6 * std::fabs(t1 - t0));
    QVERIFY(std::fabs(TopAxis::unitsAt(c.t(), w) - t1) < 1e-6 * std::fabs(t1 - t0));
    // A double click gives the automatic ranges back.
    QVERIFY(drag(c.w, Qt::MiddleButton, mid, mid + QPoint(-70, 20)));
    QTest::mouseDClick(&c.w, Qt::LeftButton, Qt::NoModifier, mid);
    QVERIFY(c.w.autoScale());
    QVERIFY(std::fabs(TopAxis::unitsAt(c.t(), 0) - t0) < 1e-6 * std::fabs(t1 - t0));
}

TAVRIN_TEST(TestTopAxis)

class TestHiDpi : public QObject
{
    Q_OBJECT
private slots:
    void seriesImage_data();
    void seriesImage();
};

void TestHiDpi::seriesImage_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("antialiased");
    QTest::newRow("2 aliased") << qreal(2) << false;
    QTest::newRow("2 antialiased") << qreal(2) << true;
    QTest::newRow("1.5 aliased") << qreal(1.5) << false;
    QTest::newRow("1.25 antialiased") << qreal(1.25) << true;
}

void TestHiDpi::seriesImage()
{
    QFETCH(qreal, ratio);
    QFETCH(bool, antialiased);
    ChartWidget w;
    CountingSeries *line = showScene(w, antialiased);
    // The chart's own layer is at the screen's ratio (QT_SCALE_FACTOR=2
    // in the "chart-hidpi" test), and a paint only copies it.
    const qreal screen = qApp->devicePixelRatio();
    QCOMPARE(w.d->pixmap.devicePixelRatioF(), screen);
    QCOMPARE(plotImage(w), seriesImageAt(w, screen));
    const int draws = line->draws;
    w.update();
    QApplication::processEvents();
    QCOMPARE(line->draws, draws);

    const QImage one = seriesImageAt(w, 1), dense = seriesImageAt(w, ratio);
    // As much covered, ratio^2 times the pixels: the opaque red bars
    // closely unless their antialiased edges count; thin lines keep their
    // logical width and antialiased edges shrink, so the whole is looser.
    const double sums[][3] = {{double(countColor(one, qRgb(255, 0, 0))), double(countColor(dense, qRgb(255, 0, 0))), antialiased ? 0.25 : 0.1},
                              {coverage(one), coverage(dense), 0.25}};
    for (const auto &c : sums)
        QVERIFY2(c[0] > 0 && std::abs(c[1] - c[0] * ratio * ratio) <= c[0] * ratio * ratio * c[2], qPrintable(QString::number(c[1] / c[0])));
    if (ratio != 2)
        return;
    // Drawn at the density, not scaled up: a doubled 1x image would have
    // no painted 2x2 block of differing pixels.
    int painted = 0, detailed = 0;
    for (int y = 0; y + 1 < dense.height(); y += 2)
        for (int x = 0; x + 1 < dense.width(); x += 2) {
            const QRgb a = dense.pixel(x, y);
            const bool same = a == dense.pixel(x + 1, y) && a == dense.pixel(x, y + 1) && a == dense.pixel(x + 1, y + 1);
            painted += !same || qAlpha(a);
            detailed += !same;
        }
    QVERIFY2(detailed > painted / 5, qPrintable(QStringLiteral("%1 of %2").arg(detailed).arg(painted)));
}

TAVRIN_TEST(TestHiDpi)
#include "tst_features.moc"
