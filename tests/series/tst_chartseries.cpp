#include "testmain.h"

#include <chartseries.h>
#include <chartseries_p.h>
#include <lineseries.h>

#include <QDateTime>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

struct RecordingOwner : ChartSeriesOwner {
    QList<QPointF> boundsCalls;
    int refreshCalls = 0;
    void seriesBoundsChanged(double x, double y) override { boundsCalls.append(QPointF(x, y)); }
    void scheduleRefresh() override { ++refreshCalls; }
};

// The smallest concrete series: keeps nothing but what the base keeps.
class BareSeries : public ChartSeries
{
public:
    void draw(QPainter *) override {}
    seriesType type() override { return stLine; }
    int pointsCount() override { return 0; }
    QString dataAxisString() override { return QStringLiteral("X;Y"); }
    QList<QVariant> point(int) override { return {}; }
    QIcon icon(int) override { return QIcon(); }
};

} // namespace

class TestChartSeries : public QObject
{
    Q_OBJECT
private slots:
    void freshSeries();
    void boundsAndOwnerHooks_data();
    void boundsAndOwnerHooks();
    void nanStaysOutOfBounds();
    void signalsOnlyOnChange();
    void colourSettersClearAutoColor();
    void dateTimeOverloads();
    void invokableAddXYQueued();
    void clearResetsBounds();
};

void TestChartSeries::freshSeries()
{
    BareSeries s;
    QVERIFY(std::isnan(s.minX()) && std::isnan(s.maxX()));
    QVERIFY(std::isnan(s.minY()) && std::isnan(s.maxY()));
    QCOMPARE(s.forceTooltip(), -1);
    QVERIFY(s.isVisible());
    QVERIFY(s.isLegendVisible());
    QCOMPARE(s.color(), QColor(Qt::black));
    QCOMPARE(s.fillColor(), QColor(Qt::red));
    QVERIFY(s.tooltip(QPoint(1, 1)).isEmpty());
    s.enableTooltip(false);
    QCOMPARE(s.forceTooltip(), 0);
    s.enableTooltip(true);
    QCOMPARE(s.forceTooltip(), 1);
}

void TestChartSeries::boundsAndOwnerHooks_data()
{
    QTest::addColumn<QList<QPointF>>("points");
    QTest::addColumn<QRectF>("bounds"); // minX, minY, maxX - minX, maxY - minY
    QTest::addColumn<int>("boundsCalls");

    QTest::newRow("one point") << QList<QPointF>{{2, 3}} << QRectF(2, 3, 0, 0) << 1;
    QTest::newRow("inside adds no call")
        << QList<QPointF>{{0, 0}, {10, 10}, {5, 5}} << QRectF(0, 0, 10, 10) << 2;
    QTest::newRow("each widening calls")
        << QList<QPointF>{{0, 0}, {-1, 1}, {2, -2}, {1, 1}} << QRectF(-1, -2, 3, 3) << 3;
}

void TestChartSeries::boundsAndOwnerHooks()
{
    QFETCH(QList<QPointF>, points);
    QFETCH(QRectF, bounds);
    QFETCH(int, boundsCalls);
    BareSeries s;
    RecordingOwner owner;
    s.d->owner = &owner;
    QSignalSpy added(&s, &ChartSeries::pointAdded);
    for (const QPointF &p : points)
        s.addXY(p.x(), p.y());
    QCOMPARE(s.minX(), bounds.left());
    QCOMPARE(s.minY(), bounds.top());
    QCOMPARE(s.maxX(), bounds.right());
    QCOMPARE(s.maxY(), bounds.bottom());
    QCOMPARE(owner.boundsCalls.size(), boundsCalls);
    QCOMPARE(owner.boundsCalls.first(), points.first());
    QCOMPARE(owner.refreshCalls, points.size());
    QCOMPARE(added.size(), points.size());
}

void TestChartSeries::nanStaysOutOfBounds()
{
    BareSeries s;
    RecordingOwner owner;
    s.d->owner = &owner;
    QSignalSpy added(&s, &ChartSeries::pointAdded);
    s.addXY(NaN, 1);
    s.addXY(1, NaN);
    QVERIFY(std::isnan(s.minX()));
    QVERIFY(owner.boundsCalls.isEmpty());
    QCOMPARE(owner.refreshCalls, 2);
    QCOMPARE(added.size(), 2);
    s.addXY(1, 1);
    s.addXY(NaN, 100);
    QCOMPARE(s.maxY(), 1.0);
    // Infinities are values, not gaps: they widen the bounds.
    s.addXY(std::numeric_limits<double>::infinity(), 0);
    QVERIFY(std::isinf(s.maxX()));
}

void TestChartSeries::signalsOnlyOnChange()
{
    BareSeries s;
    QSignalSpy names(&s, &ChartSeries::nameChanged);
    QSignalSpy vis(&s, &ChartSeries::visible);
    s.setName(QString());
    s.setName(QStringLiteral("a"));
    s.setName(QStringLiteral("a"));
    s.setVisible(true);
    s.setVisible(false);
    s.setVisible(false);
    QCOMPARE(names.size(), 1);
    QCOMPARE(vis.size(), 1);
    QCOMPARE(vis.first().first().toBool(), false);
    // The meta-object interface reaches the same setters.
    QVERIFY(s.setProperty("name", QStringLiteral("b")));
    QVERIFY(s.setProperty("color", QColor(Qt::blue)));
    QCOMPARE(s.name(), QStringLiteral("b"));
    QCOMPARE(s.color(), QColor(Qt::blue));
}

void TestChartSeries::colourSettersClearAutoColor()
{
    BareSeries a;
    QVERIFY(a.d->autoColor);
    a.setColor(Qt::green);
    QVERIFY(!a.d->autoColor);
    BareSeries b;
    b.setFillColor(Qt::green);
    QVERIFY(!b.d->autoColor);
    QCOMPARE(b.fillColor(), QColor(Qt::green));
    b.setWidth(3);
    QCOMPARE(b.d->pen.width(), 3);
}

void TestChartSeries::dateTimeOverloads()
{
    LineSeries s;
    const QDateTime dt(QDate(2020, 5, 17), QTime(8, 30, 15), Qt::UTC);
    s.addXY(dt, 1.0);
    QCOMPARE(s.points().at(0).x(), double(dt.toSecsSinceEpoch()));
    s.addXY(QDateTime(), 2.0);
    QCOMPARE(s.points().at(1).x(), 4294967295.0);
    s.addXY(QTime(12, 0), 3.0);
    const QDateTime noon(QDate::currentDate(), QTime(12, 0), Qt::LocalTime);
    QCOMPARE(s.points().at(2).x(), double(noon.toSecsSinceEpoch()));
}

void TestChartSeries::invokableAddXYQueued()
{
    LineSeries s;
    QVERIFY(QMetaObject::invokeMethod(&s, "addXY", Qt::QueuedConnection, Q_ARG(double, 1.5), Q_ARG(double, 2.5)));
    QVERIFY(QMetaObject::invokeMethod(&s, "addXY", Qt::QueuedConnection,
                                      Q_ARG(QDateTime, QDateTime::fromSecsSinceEpoch(1000)), Q_ARG(double, 1.0)));
    QCOMPARE(s.pointsCount(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(s.pointsCount(), 2);
    QCOMPARE(s.points().at(0), QPointF(1.5, 2.5));
    QCOMPARE(s.points().at(1), QPointF(1000, 1.0));
}

void TestChartSeries::clearResetsBounds()
{
    LineSeries s;
    s.addXY(1, 2);
    int pointsSeenAtSignal = -1;
    bool boundsNanAtSignal = false;
    connect(&s, &ChartSeries::cleared, this, [&] {
        pointsSeenAtSignal = s.pointsCount();
        boundsNanAtSignal = std::isnan(s.minX());
    });
    s.clear();
    // Receivers still see the old points, but already the reset bounds.
    QCOMPARE(pointsSeenAtSignal, 1);
    QVERIFY(boundsNanAtSignal);
    QCOMPARE(s.pointsCount(), 0);
}

TAVRIN_TEST(TestChartSeries)
#include "tst_chartseries.moc"
