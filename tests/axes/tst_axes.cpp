// Ranges, transforms, ticks, labels and the drawing of the axes, with the
// worked numbers a chart of known size must give.
#include "fixtures.h"
#include "testmain.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QSignalSpy>

using namespace tavrintest;

namespace {

class ChartStub : public QObject
{
    Q_OBJECT
public:
    int changes = 0;
private slots:
    void on_axis_changed() { ++changes; }
};

} // namespace

class TestAxes : public QObject
{
    Q_OBJECT
private slots:
    void pair();
    void update_data();
    void update();
    void transform_data();
    void transform();
    void ticks_data();
    void ticks();
    void labelBand_data();
    void labelBand();
    void labels_data();
    void labels();
    void logScale_data();
    void logScale();
    void logTicks_data();
    void logTicks();
    void logChart_data();
    void logChart();
    void ticksStayOnThePlot_data();
    void ticksStayOnThePlot();
};

void TestAxes::ticksStayOnThePlot_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("bottom") << int(Axis::atBottom);
    QTest::newRow("left") << int(Axis::atLeft);
}

// A first tick computed before the range moved (by less than a step) is
// not drawn outside the plot, nor is its grid line.
void TestAxes::ticksStayOnThePlot()
{
    QFETCH(int, type);
    Frame f;
    Axis &axis = type == Axis::atBottom ? f.x : f.y;
    axis.setGridColor(Qt::blue);
    axis.d->firstTick = axis.min() - axis.d->tickStep * 0.6;
    QImage img(340, 240, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QRect plot(40, 10, 301 - 40, 201 - 10);
    axis.draw(&p, &plot, true);
    p.end();
    // Where the stray tick mark and grid line would be; labels lie beyond.
    const QRect outside = type == Axis::atBottom ? QRect(0, plot.top(), plot.left() - 1, plot.height() + 5)
                                                 : QRect(plot.left() - 5, plot.bottom() + 3, plot.width() + 5, 30);
    QCOMPARE(inked(img.copy(outside), qRgb(255, 255, 255)), QRect());
}

// Worked numbers: a 500 x 300 plot gives lengths 499 and 299 and 20
// pixels of pad; a shift moves each axis by its own pixels; the pair is
// valid only with both ranges.
void TestAxes::pair()
{
    ChartStub chart;
    Axes axes(&chart);
    emit axes.bottom()->axisChanged();
    QCOMPARE(chart.changes, 1);
    axes.left()->setRange(0, 10);
    QVERIFY(!axes.isValid());
    axes.bottom()->setRange(0, 100);
    axes.setSize(QSizeF(500, 300));
    QVERIFY(axes.isValid());
    QCOMPARE(QPointF(axes.bottom()->pointToPixel(0), axes.left()->pointToPixel(0)), QPointF(20, 279));
    const double dx = axes.bottom()->pixelDeltaToPoint(30), dy = axes.left()->pixelDeltaToPoint(-12);
    axes.shift(QPoint(30, -12));
    QCOMPARE(QPointF(axes.bottom()->d->rawMax, axes.left()->d->rawMax), QPointF(100 + dx, 10 + dy));
    QVERIFY(axes.update(200, 5) && !axes.update(NaN, NaN) && axes.bottom()->d->tickStep == 20);
    // NaN never enters a range, and no shift makes one infinite.
    Axis *y = axes.left();
    const QPointF range(y->min(), y->max());
    y->setRange(NaN, 3);
    y->setRange(-3, NaN);
    y->setMin(NaN);
    y->setMax(NaN);
    for (double d : {NaN, Inf, -Inf})
        y->shift(d);
    QCOMPARE(QPointF(y->min(), y->max()), range);
    axes.reset();
    QVERIFY(!axes.isValid());
}

void TestAxes::update_data()
{
    QTest::addColumn<bool>("ranged"); // starts as 0..10
    QTest::addColumn<bool>("lock");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("result");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::newRow("first 5") << false << false << 5.0 << true << 5 - 1e-9 << 5 + 1e-9;
    QTest::newRow("first NaN") << false << false << NaN << false << NaN << NaN;
    QTest::newRow("inside") << true << false << 5.0 << false << 0.0 << 10.0;
    QTest::newRow("above") << true << false << 12.0 << true << 0.0 << 12.0;
    QTest::newRow("below") << true << false << -2.0 << true << -2.0 << 10.0;
    QTest::newRow("locked above") << true << true << 100.0 << true << 0.0 << 10.0;
}

void TestAxes::update()
{
    QFETCH(bool, ranged);
    QFETCH(bool, lock);
    QFETCH(double, value);
    QFETCH(bool, result);
    QFETCH(double, min);
    QFETCH(double, max);
    Axis axis(Axis::atBottom);
    axis.d->setLength(500);
    if (ranged)
        axis.setRange(0, 10);
    axis.setScaleLock(lock);
    const double pixel = axis.pointToPixel(7);
    QCOMPARE(axis.update(value), result);
    QCOMPARE(axis.d->rawMin, min);
    QCOMPARE(axis.d->rawMax, max);
    if (!result)
        QCOMPARE(axis.pointToPixel(7), pixel);
}

void TestAxes::transform_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("zeroPixel");
    QTest::newRow("bottom") << int(Axis::atBottom) << 20.0;
    QTest::newRow("top") << int(Axis::atTop) << 20.0;
    QTest::newRow("left") << int(Axis::atLeft) << 479.0;
}

void TestAxes::transform()
{
    QFETCH(int, type);
    QFETCH(double, zeroPixel);
    Axis axis{Axis::AxisType(type)};
    QCOMPARE(axis.pixelToPoint(100) + axis.pointDeltaToPixel(1), 0.0);
    axis.setRange(0, 10);
    axis.d->setLength(500);
    QCOMPARE(axis.pointToPixel(0), zeroPixel);
    QCOMPARE(axis.pixelToPoint(axis.pointToPixel(3.7)) + axis.pixelDeltaToPoint(axis.pointDeltaToPixel(2.5)), 6.2);
    // The margin settles over repeated transforms: 519, 481.97, 479.24 ...
    if (type != Axis::atLeft) {
        QCOMPARE(axis.pointToPixel(10), 519.0);
        for (double expected : {481.97, 479.24, 479.02}) {
            axis.d->updateTransform();
            QVERIFY2(std::fabs(axis.pointToPixel(10) - expected) < 0.01, qPrintable(QString::number(axis.pointToPixel(10))));
        }
    }
    // Locked, nothing moves it and a reset keeps it valid.
    axis.setScaleLock(true);
    axis.shift(3);
    axis.reset();
    QVERIFY(axis.isValid() && axis.d->rawMin == 0);
}

void TestAxes::ticks_data()
{
    QTest::addColumn<bool>("datetime");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("first"); // NaN: the first midnight or multiple of the step
    QTest::newRow("10") << false << 0.0 << 10.0 << 1.0 << 0.0;
    QTest::newRow("35") << false << 0.0 << 35.0 << 2.0 << 0.0; // a seventh is exactly 5
    QTest::newRow("36") << false << 0.0 << 36.0 << 5.0 << 0.0;
    QTest::newRow("100") << false << 0.0 << 100.0 << 10.0 << 0.0;
    QTest::newRow("offset") << false << 3.0 << 103.0 << 10.0 << 10.0;
    QTest::newRow("negative") << false << -0.37 << -0.01 << 0.05 << -0.35;
    // Mid-afternoon local time, so a day step has to move to a midnight.
    const double t0 = double(QDateTime(QDate(2024, 3, 14), QTime(15, 17, 23)).toSecsSinceEpoch());
    QTest::newRow("10 min") << true << t0 << t0 + 600 << 60.0 << NaN;
    QTest::newRow("3 days") << true << t0 << t0 + 3 * 86400 << 86400.0 << NaN;
}

void TestAxes::ticks()
{
    QFETCH(bool, datetime);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, step);
    QFETCH(double, first);
    Axis axis(Axis::atLeft);
    axis.setDatetime(datetime);
    axis.setRange(min, max);
    QCOMPARE(axis.d->tickStep, step);
    QVERIFY(axis.d->tickCount >= 7);
    const double tick = axis.d->firstTick;
    if (!std::isnan(first))
        QCOMPARE(tick, first);
    else if (step >= 86400)
        QVERIFY(tick >= min && tick < min + step && QDateTime::fromSecsSinceEpoch(qint64(tick)).time() == QTime(0, 0));
    else
        QVERIFY(tick >= min && tick < min + step && std::fmod(tick, step) == 0);
}

void TestAxes::labelBand_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("change");
    QTest::addColumn<int>("lines");    // bottom: label lines
    QTest::addColumn<QString>("widest"); // left: the widest label
    QTest::addColumn<bool>("title");
    const int b = Axis::atBottom, l = Axis::atLeft, t = Axis::atTop;
    QTest::newRow("bottom, one line") << b << 0 << 1 << "" << false;
    QTest::newRow("top, date-time, title") << t << 1 << 2 << "" << true;
    QTest::newRow("bottom, date-time") << b << 1 << 2 << "" << false;
    QTest::newRow("bottom, title") << b << 3 << 1 << "" << true;
    QTest::newRow("left, numbers") << l << 0 << 0 << "-1000" << false;
    QTest::newRow("left, custom label") << l << 4 << 0 << "a very long label" << false;
    QTest::newRow("left, custom labels cleared") << l << 5 << 0 << "-1000" << false;
    QTest::newRow("left, collapsed range") << l << 6 << 0 << "" << false;
}

// The band beside the plot holds the widest label, or the lines of a
// bottom label, plus 5 pixels and the title.
void TestAxes::labelBand()
{
    QFETCH(int, type);
    QFETCH(int, change);
    QFETCH(int, lines);
    QFETCH(QString, widest);
    QFETCH(bool, title);
    Axis axis{Axis::AxisType(type)};
    axis.setRange(-1000, 10);
    switch (change) {
    case 1: axis.setDatetime(true), axis.setTitle(title ? QStringLiteral("Time") : QString()); break;
    case 2: axis.setDatetime(true); axis.setDatetimeFormat(QStringLiteral("hh:mm")); break;
    case 3: axis.setTitle(QStringLiteral("Time")); break;
    case 4: axis.setCustomLabel(-400, QStringLiteral("a very long label")); break;
    case 5: axis.setCustomLabel(-400, QStringLiteral("a very long label")); axis.clearCustomLabels(); break;
    case 6: axis.setRange(5, 5); break;
    }
    const QFontMetrics fm(QFont(QStringLiteral("Arial"), 8));
    int size = 5 + fm.height() * lines + (widest.isEmpty() ? 0 : fm.horizontalAdvance(widest));
    if (title)
        size += fm.boundingRect(QStringLiteral("Time")).height() + 2;
    QCOMPARE(axis.size(), size);
}

void TestAxes::labels_data()
{
    QTest::addColumn<int>("mode"); // 0 numbers, 1 date-time, 2 custom labels
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("label");
    QTest::newRow("six digits") << 0 << 1234567.0 << "1.23457e+06";
    QTest::newRow("whole second") << 1 << 1700000000.0 << "13:20.000";
    QTest::newRow("milliseconds") << 1 << 1700000000.75 << "13:20.750";
    QTest::newRow("before 1970") << 1 << -1.5 << "59:58.500";
    QTest::newRow("date-time NaN") << 1 << NaN << "";
    QTest::newRow("date-time inf") << 1 << -Inf << "";
    QTest::newRow("date-time beyond") << 1 << 1e300 << "";
    QTest::newRow("custom, single precision") << 2 << double(0.1f) << "tenth";
    QTest::newRow("custom, saturated") << 2 << 1e300 << "huge";
    QTest::newRow("custom, none") << 2 << 0.2 << "";
    QTest::newRow("custom, NaN") << 2 << NaN << "";
}

// Numbers to six digits; date-times in the axis' format to the
// millisecond; custom labels keyed in single precision.
void TestAxes::labels()
{
    QFETCH(int, mode);
    QFETCH(double, value);
    QFETCH(QString, label);
    Axis axis(Axis::atBottom);
    axis.setDatetime(mode == 1);
    axis.setDatetimeFormat(QStringLiteral("mm:ss.zzz"));
    if (mode == 2) {
        axis.setCustomLabel(0.1, QStringLiteral("tenth"));
        axis.setCustomLabel(Inf, QStringLiteral("huge"));
    }
    QCOMPARE(axis.labelString(value), label);
}

void TestAxes::logScale_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<double>>("decades"); // pixels of 1, 10, 100, 1000
    QTest::newRow("bottom") << int(Axis::atBottom) << QList<double>{20, 173, 326, 479};
    QTest::newRow("top") << int(Axis::atTop) << QList<double>{20, 173, 326, 479};
    QTest::newRow("left") << int(Axis::atLeft) << QList<double>{479, 326, 173, 20};
}

// Values without a logarithm never enter the range; decades share the
// length evenly inside 20 pixels at each end.
void TestAxes::logScale()
{
    QFETCH(int, type);
    QFETCH(QList<double>, decades);
    Axis axis{Axis::AxisType(type)};
    QSignalSpy spy(&axis, SIGNAL(logarithmicChanged(bool)));
    axis.setRange(-1, 1000);
    axis.d->setLength(500);
    axis.setLogarithmic(true);
    axis.setLogarithmic(true);
    QCOMPARE(spy.count(), 1);
    QVERIFY(!axis.isValid());
    axis.setRange(0, 10);
    QVERIFY(!axis.update(0) && !axis.update(-3) && !axis.update(NaN) && !axis.isValid());
    axis.setRange(1, 1000);
    axis.setMin(-2);
    QVERIFY(!axis.update(0) && !axis.update(NaN) && axis.d->rawMin == 1);
    for (int i = 0; i < 30; ++i)
        axis.d->updateTransform();
    for (int i = 0; i < 4; ++i)
        QVERIFY(qAbs(axis.pointToPixel(std::pow(10.0, i)) - decades.at(i)) < 0.01);
    for (double v : {0.5, 3.7, 42.0, 1000.0})
        QVERIFY(qFuzzyCompare(axis.pixelToPoint(axis.pointToPixel(v)), v));
    QVERIFY(std::isnan(axis.pointToPixel(0)) && std::isnan(axis.pointToPixel(-1)));
    axis.setLogarithmic(false);
    QVERIFY(spy.count() == 2 && axis.isValid() && std::isfinite(axis.pointToPixel(0)));
}

void TestAxes::logTicks_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<QString>("labels");
    QTest::newRow("1..1000") << 1.0 << 1000.0 << "1 2 5 10 20 50 100 200 500 1000";
    QTest::newRow("0.01..10") << 0.01 << 10.0 << "0.01 0.02 0.05 0.1 0.2 0.5 1 2 5 10";
    QTest::newRow("1..1e6") << 1.0 << 1e6 << "1 10 100 1000 10000 100000 1e+06";
    QTest::newRow("0.01..1e12") << 0.01 << 1e12 << "0.01 1 100 10000 1e+06 1e+08 1e+10 1e+12";
    QTest::newRow("2..8") << 2.0 << 8.0 << "2 2.5 3 3.5 4 4.5 5 5.5 6 6.5 7 7.5 8 8.5";
}

// Decades with 2 and 5 while they fit, every k-th decade beyond, linear
// steps inside one decade; the chart pictures show them drawn.
void TestAxes::logTicks()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(QString, labels);
    Axis axis(Axis::atLeft);
    axis.setLogarithmic(true);
    axis.setRange(min, max);
    axis.d->setLength(340);
    for (int i = 0; i < 30; ++i)
        axis.d->updateTransform();
    axis.d->updateTicks();
    QStringList texts;
    for (double v : qAsConst(axis.d->logTicks))
        texts << axis.labelString(v);
    QCOMPARE(texts.join(QLatin1Char(' ')), labels);
}

void TestAxes::logChart_data()
{
    QTest::addColumn<int>("action");
    QTest::newRow("rescale") << 0;
    QTest::newRow("pan") << 1;
    QTest::newRow("wheel") << 2;
    QTest::newRow("rubber band") << 3;
    QTest::newRow("switched off and on") << 4;
    QTest::newRow("data up to 1e300, wheel") << 5;
    QTest::newRow("data down to 4.9e-324, wheel") << 6;
}

// Mixed-sign data scales a log axis to its smallest positive value; pan,
// wheel and rubber band move and scale the view in decades.
void TestAxes::logChart()
{
    QFETCH(int, action);
    ChartWidget w;
    Axis *y = w.axes()->left();
    y->setLogarithmic(true);
    w.setWheelZoom(true);
    if (action >= 5) {
        // The pad beyond data near the ends of the double range keeps the
        // axis' ends finite and positive, and the wheel works in decades.
        w.addSeries(lineOf({{1, action == 5 ? 1.0 : 4.9e-324}, {2, action == 5 ? 1e300 : 1.0}}));
        showChart(w);
        QVERIFY(y->min() > 0 && std::isfinite(y->max()) && y->pixelToPoint(0) > 0 && std::isfinite(y->pixelToPoint(0)));
        const double decades = std::log10(y->max()) - std::log10(y->min());
        const QPoint c = w.d->plotRect.center();
        QVERIFY(wheel(w, c, -120));
        QVERIFY(y->min() > 0 && std::isfinite(y->max()) && w.zoomHistorySize() == 1);
        QVERIFY(std::log10(y->max()) - std::log10(y->min()) > decades * 0.9);
        return;
    }
    w.addSeries(lineOf({{1, -5}, {2, 0}, {3, 0.01}, {4, 1}, {5, 100}}));
    showChart(w);
    QVERIFY(qAbs(y->d->rawMin / 0.01 - 1) < 1e-6 && qAbs(y->d->rawMax / 100 - 1) < 1e-6);
    const QRect plot = w.d->plotRect;
    auto logAt = [&](int py) { return std::log10(y->pixelToPoint(py - plot.top())); };
    const QPoint c = plot.center();
    double lo = logAt(plot.bottom()), hi = logAt(plot.top());
    const double at = logAt(c.y());
    if (action == 1) { // the value under the pointer follows it
        drag(w, Qt::MiddleButton, c, c + QPoint(0, 40));
        lo = hi = at;
    } else if (action == 2) {
        QVERIFY(wheel(w, c));
        lo = at + (lo - at) * 0.8, hi = at + (hi - at) * 0.8;
    } else if (action == 3) {
        // The band becomes the data range; the margins lie outside it.
        lo = logAt(plot.bottom() - 50), hi = logAt(plot.top() + 30);
        drag(w, Qt::LeftButton, plot.topLeft() + QPoint(10, 30), QPoint(c.x(), plot.bottom() - 50));
    } else if (action == 4) {
        y->setLogarithmic(false);
        QApplication::processEvents();
        QVERIFY(qAbs(y->d->rawMin + 5) < 1e-6 && std::isfinite(y->pointToPixel(0)));
        y->setLogarithmic(true);
        QApplication::processEvents();
    }
    const QPointF got = action == 1 ? QPointF(logAt(c.y() + 40), logAt(c.y() + 40))
        : action == 3 ? QPointF(std::log10(y->d->rawMin), std::log10(y->d->rawMax))
                      : QPointF(logAt(plot.bottom()), logAt(plot.top()));
    QVERIFY(qAbs(got.x() - lo) < 0.05 && qAbs(got.y() - hi) < 0.05);
}

TAVRIN_TEST(TestAxes)
#include "tst_axes.moc"
