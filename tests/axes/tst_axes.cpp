// Ranges, transforms, ticks, labels and the drawing of the axes, with the
// worked numbers a chart of known size must give.
#include "fixtures.h"
#include "testmain.h"

#include <QDateTime>
#include <QFontMetrics>

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
};

// Worked numbers: a 500 x 300 plot gives lengths 499 and 299 and 20
// pixels of pad; a shift moves each axis by its own pixels; the pair is
// valid only with both ranges.
void TestAxes::pair()
{
    ChartStub chart;
    Axes axes(&chart);
    emit axes.bottom()->axisChanged();
    QCOMPARE(chart.changes, 1);
    axes.left()->setScaleLock(true);
    axes.bottom()->setDatetime(true);
    QVERIFY(axes.left()->scaleLock() && !axes.bottom()->scaleLock() && axes.bottom()->isDatetime());
    axes.left()->setScaleLock(false);
    axes.bottom()->setDatetime(false);
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
    if (type == Axis::atBottom) {
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
    const int b = Axis::atBottom, l = Axis::atLeft;
    QTest::newRow("bottom, one line") << b << 0 << 1 << "" << false;
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
    case 1: axis.setDatetime(true); break;
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
    QTest::newRow("sum") << 0 << 0.1 + 0.2 << "0.3";
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

TAVRIN_TEST(TestAxes)
#include "tst_axes.moc"
