// What every series kind promises alike: rows, bounds, signals, drawing or
// not, tooltips and icons, written once with a row per kind and case.
#include "fixtures.h"
#include "testmain.h"

#include <chartseries_p.h>

#include <QDateTime>
#include <QSignalSpy>
#include <memory>

using namespace tavrintest;

namespace {

struct RecordingOwner : ChartSeriesOwner {
    QList<QPointF> boundsCalls;
    int refreshCalls = 0;
    void seriesBoundsChanged(double x, double y) override { boundsCalls.append(QPointF(x, y)); }
    void scheduleRefresh() override { ++refreshCalls; }
};

int arity(ChartSeries::seriesType type)
{
    switch (type) {
    case ChartSeries::stMinMaxPoint: return 4;
    case ChartSeries::stBoxAndWhiskers: return 6;
    case ChartSeries::stHighLow:
    case ChartSeries::stGantt: return 3;
    default: return 2;
    }
}

// Adds items in the kind's own form, `arity(kind)` values each.
void addOwn(ChartSeries *s, const QVector<double> &v, const QStringList &labels = {})
{
    const int n = arity(s->type());
    for (int i = 0, k = 0; i + n <= v.size(); i += n, ++k) {
        const double *a = v.constData() + i;
        const QString label = labels.value(k);
        switch (s->type()) {
        case ChartSeries::stPoint:
            if (label.isNull())
                s->addXY(a[0], a[1]);
            else
                static_cast<PointSeries *>(s)->addXY(a[0], a[1], label);
            break;
        case ChartSeries::stMinMaxPoint: static_cast<MinMaxPointSeries *>(s)->addPoint(a[0], a[1], a[2], a[3]); break;
        case ChartSeries::stBoxAndWhiskers:
            static_cast<BoxAndWhiskersSeries *>(s)->addCandle(a[0], a[1], a[2], a[3], a[4], a[5]);
            break;
        case ChartSeries::stHighLow: static_cast<HighLowSeries *>(s)->addPoint(a[0], a[1], a[2]); break;
        case ChartSeries::stGantt: static_cast<GanttSeries *>(s)->addBar(a[0], a[1], a[2], QColor(), label); break;
        default: s->addXY(a[0], a[1]);
        }
    }
}

QVector<double> rowOf(ChartSeries &s, int i)
{
    QVector<double> out;
    for (const QVariant &v : s.point(i))
        out << (v.userType() == QMetaType::Double ? v.toDouble() : -12345.0);
    return out;
}

// The row addXY(x, y) gives in each kind.
QVector<double> xyRow(int kind, double x, double y)
{
    switch (kind) {
    case kMinMax: return {x, y, y, y};
    case kBox: return {x, y, y, y, y, y};
    case kHighLow: return {x, y, y};
    case kGantt: return {x, x, y};
    default: return {x, y};
    }
}

} // namespace

class TestSeries : public QObject
{
    Q_OBJECT
private slots:
    void ownerHooks();
    void signalsOnlyOnChange();
    void invokableAddXYQueued();
    void rowContract_data();
    void rowContract();
    void addXYForms_data();
    void addXYForms();
    void drawnOrNot_data();
    void drawnOrNot();
    void tooltip_data();
    void tooltip();
    void icons_data();
    void icons();
};

// Widening points reach the chart, NaN never enters the bounds, every point
// asks for a refresh.
void TestSeries::ownerHooks()
{
    LineSeries s;
    RecordingOwner owner;
    s.ChartSeries::d->owner = &owner;
    for (const QPointF &p : {QPointF(NaN, 1), QPointF(1, NaN), QPointF(0, 0), QPointF(5, 5), QPointF(-1, 1),
                             QPointF(2, -2), QPointF(1, 1), QPointF(NaN, 100)})
        s.addXY(p.x(), p.y());
    QCOMPARE(owner.boundsCalls, (QList<QPointF>{{0, 0}, {5, 5}, {-1, 1}, {2, -2}}));
    QCOMPARE(owner.refreshCalls, 8);
    QCOMPARE(QRectF(QPointF(s.minX(), s.minY()), QPointF(s.maxX(), s.maxY())), QRectF(-1, -2, 6, 7));
    // Infinities are values, not gaps.
    s.addXY(Inf, 0);
    QVERIFY(std::isinf(s.maxX()));
}

void TestSeries::signalsOnlyOnChange()
{
    LineSeries s;
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
    QVERIFY(s.setProperty("name", QStringLiteral("b")));
    QCOMPARE(s.name(), QStringLiteral("b"));
    QCOMPARE(s.forceTooltip(), -1);
    s.enableTooltip(false);
    QCOMPARE(s.forceTooltip(), 0);
    s.enableTooltip(true);
    QCOMPARE(s.forceTooltip(), 1);
}

void TestSeries::invokableAddXYQueued()
{
    LineSeries s;
    QVERIFY(QMetaObject::invokeMethod(&s, "addXY", Qt::QueuedConnection, Q_ARG(double, 1.5), Q_ARG(double, 2.5)));
    QVERIFY(QMetaObject::invokeMethod(&s, "addXY", Qt::QueuedConnection,
                                      Q_ARG(QDateTime, QDateTime::fromSecsSinceEpoch(1000)), Q_ARG(double, 1.0)));
    QCOMPARE(s.pointsCount(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(s.points(), (QList<QPointF>{{1.5, 2.5}, {1000, 1.0}}));
}

void TestSeries::rowContract_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<double>>("item"); // the kind's own form
    QTest::addColumn<QString>("columns");
    QTest::addColumn<int>("added");            // pointAdded signals per item
    QTest::addColumn<QRectF>("bounds");        // minX, minY, maxX - minX, maxY - minY
    QTest::newRow("line") << int(kLine) << QVector<double>{5, 3} << "X;Y" << 1 << QRectF(5, 3, 0, 0);
    QTest::newRow("point") << int(kPoint) << QVector<double>{5, 3} << "X;Y" << 1 << QRectF(5, 3, 0, 0);
    // The marker's own y stays out of the bounds, its range does not.
    QTest::newRow("minmax") << int(kMinMax) << QVector<double>{5, 30, 2, 4} << "X;Y1;Y2;Y3" << 0
                            << QRectF(5, 2, 0, 2);
    QTest::newRow("bar") << int(kBar) << QVector<double>{5, 3} << "X;Y" << 0 << QRectF(5, 0, 0, 3);
    QTest::newRow("negative bar") << int(kBar) << QVector<double>{5, -3} << "X;Y" << 0 << QRectF(5, -3, 0, 3);
    // Quartiles beyond the whiskers do not widen the bounds.
    QTest::newRow("box") << int(kBox) << QVector<double>{5, 3, 2, 4, 0, 12} << "X;Y1;Y2;Y3;Y4;Y5" << 2
                         << QRectF(5, 2, 0, 2);
    QTest::newRow("highlow") << int(kHighLow) << QVector<double>{5, 4, 2} << "X;Y1;Y2" << 2 << QRectF(5, 2, 0, 2);
    QTest::newRow("gantt") << int(kGantt) << QVector<double>{4, 6, 3} << "X1;X2;Y" << 2 << QRectF(4, 3, 2, 0);
}

void TestSeries::rowContract()
{
    QFETCH(int, kind);
    QFETCH(QVector<double>, item);
    QFETCH(QString, columns);
    QFETCH(int, added);
    QFETCH(QRectF, bounds);
    std::unique_ptr<ChartSeries> s(makeSeries(kind));
    QCOMPARE(s->dataAxisString(), columns);
    QSignalSpy spy(s.get(), &ChartSeries::pointAdded);
    addOwn(s.get(), item);
    addOwn(s.get(), item.mid(0, 1) + QVector<double>(item.size() - 1, NaN));
    QCOMPARE(s->pointsCount(), 2);
    QCOMPARE(rowOf(*s, 0), item);
    QCOMPARE(rowOf(*s, 1).size(), item.size());
    QVERIFY(s->point(-1).isEmpty());
    QVERIFY(s->point(2).isEmpty());
    QCOMPARE(spy.size(), 2 * added);
    QCOMPARE(QRectF(QPointF(s->minX(), s->minY()), QPointF(s->maxX(), s->maxY())), bounds);

    // Receivers of cleared() still see the items, but already reset bounds.
    int seen = -1;
    bool reset = false;
    connect(s.get(), &ChartSeries::cleared, this, [&] {
        seen = s->pointsCount();
        reset = std::isnan(s->minX()) && std::isnan(s->maxY());
    });
    s->clear();
    QCOMPARE(seen, 2);
    QVERIFY(reset);
    QCOMPARE(s->pointsCount(), 0);
    QVERIFY(s->point(0).isEmpty());
    // Cleared, a first item starts the bounds afresh.
    addOwn(s.get(), item);
    QCOMPARE(QRectF(QPointF(s->minX(), s->minY()), QPointF(s->maxX(), s->maxY())), bounds);
}

void TestSeries::addXYForms_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("form");
    QTest::addColumn<double>("x");
    const double utc = double(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC).toSecsSinceEpoch());
    const double noon = double(QDateTime(QDate::currentDate(), QTime(12, 0)).toSecsSinceEpoch());
    for (int k = 0; k < kKinds; ++k) {
        QTest::addRow("%s number", kindName(k)) << k << 0 << 5.0;
        QTest::addRow("%s date-time", kindName(k)) << k << 1 << utc;
        QTest::addRow("%s invalid date-time", kindName(k)) << k << 2 << 4294967295.0;
        QTest::addRow("%s time of day", kindName(k)) << k << 3 << noon;
    }
}

// addXY in its three overloads reaches each kind's own row.
void TestSeries::addXYForms()
{
    QFETCH(int, kind);
    QFETCH(int, form);
    QFETCH(double, x);
    std::unique_ptr<ChartSeries> s(makeSeries(kind));
    switch (form) {
    case 0: s->addXY(5.0, 3.0); break;
    case 1: s->addXY(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC), 3.0); break;
    case 2: s->addXY(QDateTime(), 3.0); break;
    default: s->addXY(QTime(12, 0), 3.0); break;
    }
    QCOMPARE(s->pointsCount(), 1);
    QCOMPARE(rowOf(*s, 0), xyRow(kind, x, 3));
    QCOMPARE(s->maxX(), x);
}

void TestSeries::drawnOrNot_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<double>>("items");
    QTest::addColumn<bool>("drawn");
    // Items in the kind's own form over a view of 0..10 both ways.
    struct Case { const char *name; QVector<double> v[kKinds]; bool drawn[kKinds]; };
    const Case cases[] = {
        {"plain",
         {{3, 4, 7, 6}, {3, 4}, {3, 4, 3, 5}, {3, 4}, {3, 4, 2, 8, 3, 6}, {3, 4, 6, 7, 3, 5}, {2, 8, 4}},
         {true, true, true, true, true, true, true}},
        {"left of the view",
         {{-9, 4, -7, 6}, {-2, 4}, {-2, 4, 3, 5}, {-2, 4}, {-2, 4, 2, 8, 3, 6}, {-9, 4, 6, -7, 3, 5}, {-9, -7, 4}},
         {false, false, false, false, false, false, false}},
        {"above the view",
         {{3, 14, 7, 16}, {3, 14}, {3, 14, 13, 15}, {3, 1e9}, {3, 24, 22, 28, 23, 26}, {3, 14, 16, 7, 13, 15},
          {2, 8, 14}},
         {false, false, false, true, false, false, false}}, // a bar rises from the zero line
        {"NaN",
         {{3, NaN, 7, 6}, {NaN, 4}, {3, 4, NaN, 5}, {3, NaN}, {3, 4, NaN, 8, 3, 6}, {3, 4, 6, 7, NaN, 5}, {2, NaN, 4}},
         {false, false, false, false, false, false, false}},
        {"zero extent",
         {{3, 4}, {3, 4}, {3, 4, 4, 4}, {3, 0}, {3, 4, 4, 4, 4, 4}, {3, 4, 4, 3, 4, 4}, {5, 5, 4}},
         {false, true, true, false, false, false, false}},
        {"far beyond both ends",
         {{5, 5, 5e300, -5e300},
          {1e300, 1e300},
          {5, 5, -1e300, 1e300},
          {5, 1e300},
          {5, 5, -1e300, 1e300, -1e300, 6},
          {-1e300, 5, 1e300, 1e300, 5, 1e300},
          {-1e300, 1e300, 5}},
         {true, false, true, true, true, true, true}},
    };
    for (const Case &c : cases)
        for (int k = 0; k < kKinds; ++k)
            QTest::addRow("%s %s", kindName(k), c.name) << k << c.v[k] << c.drawn[k];
}

void TestSeries::drawnOrNot()
{
    QFETCH(int, kind);
    QFETCH(QVector<double>, items);
    QFETCH(bool, drawn);
    Frame f;
    std::unique_ptr<ChartSeries> s(makeSeries(kind));
    s->draw(nullptr);
    QVERIFY(inked(render(*s)).isNull()); // no axes yet
    s->setAxis(&f.x, &f.y);
    addOwn(s.get(), items);
    QCOMPARE(!inked(render(*s)).isNull(), drawn);
}

void TestSeries::tooltip_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<double>>("items");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QPointF>("at"); // in values
    QTest::addColumn<QPoint>("nudge"); // in pixels
    QTest::addColumn<QString>("text");
    const QStringList none;
    const QPoint o;
    // Point markers of size 7 are found 3.5 pixels around their centre.
    QTest::newRow("point hit") << int(kPoint) << QVector<double>{2, 2} << none << QPointF(2, 2) << o << "X: 2\r\nY: 2";
    QTest::newRow("point box edge") << int(kPoint) << QVector<double>{2, 2} << none << QPointF(2, 2) << QPoint(3, -3)
                                    << "X: 2\r\nY: 2";
    QTest::newRow("point outside") << int(kPoint) << QVector<double>{2, 2} << none << QPointF(2, 2) << QPoint(4, 0)
                                   << "";
    QTest::newRow("point earlier wins") << int(kPoint) << QVector<double>{2, 2, 2.125, 2} << none << QPointF(2, 2)
                                        << QPoint(2, 0) << "X: 2\r\nY: 2";
    QTest::newRow("point later only") << int(kPoint) << QVector<double>{2, 2, 2.125, 2} << none << QPointF(2, 2)
                                      << QPoint(5, 0) << "X: 2.125\r\nY: 2";
    QTest::newRow("point label kept as is") << int(kPoint) << QVector<double>{2, 2} << QStringList{"50%1 %2"}
                                            << QPointF(2, 2) << o << "50%1 %2";
    QTest::newRow("point labelled duplicate keeps none") << int(kPoint) << QVector<double>{2, 2, 2, 2}
                                                         << QStringList{QString(), "late"} << QPointF(2, 2) << o
                                                         << "X: 2\r\nY: 2";
    QTest::newRow("minmax hit") << int(kMinMax) << QVector<double>{2, 2, 1, 4} << none << QPointF(2, 2) << o
                                << "Ymin: 1\r\nX: 2\r\nYmax: 4\r\nY: 2";
    QTest::newRow("minmax range is no hit") << int(kMinMax) << QVector<double>{2, 2, 1, 4} << none << QPointF(2, 3.5)
                                            << o << "";
    QTest::newRow("minmax same x, the one under the cursor")
        << int(kMinMax) << QVector<double>{2, 2, 1, 4, 2, 4, 3, 6} << none << QPointF(2, 4) << o
        << "Ymin: 3\r\nX: 2\r\nYmax: 6\r\nY: 4";
    // Items are taken to come in ascending x: the scan stops at the first
    // one right of the cursor.
    QTest::newRow("minmax out of order") << int(kMinMax) << QVector<double>{8, 8, 7, 9, 2, 2, 1, 4} << none
                                         << QPointF(2, 2) << o << "";
    QTest::newRow("bar inside") << int(kBar) << QVector<double>{5, 4} << none << QPointF(5, 2) << o << "X: 5\r\nY: 4";
    QTest::newRow("bar above") << int(kBar) << QVector<double>{5, 4} << none << QPointF(5, 4) << QPoint(0, -2) << "";
    QTest::newRow("bar beside") << int(kBar) << QVector<double>{5, 4} << none << QPointF(5, 2) << QPoint(8, 0) << "";
    QTest::newRow("bar hanging") << int(kBar) << QVector<double>{2, -3} << none << QPointF(2, -2) << o
                                 << "X: 2\r\nY: -3";
    QTest::newRow("bar zero never hit") << int(kBar) << QVector<double>{5, 0} << none << QPointF(5, 0) << o << "";
    QTest::newRow("bar overlap, earlier wins") << int(kBar) << QVector<double>{5, 4, 5.2, 2} << none << QPointF(5, 1)
                                               << QPoint(4, 0) << "X: 5\r\nY: 4";
    QTest::newRow("bar out of order") << int(kBar) << QVector<double>{8, 2, 5, 4} << none << QPointF(5, 2) << o << "";
    const QVector<double> two{2, 5, 1, 9, 3, 7, 6, 4, 2, 8, 3, 5};
    QTest::newRow("box hit") << int(kBox) << two << none << QPointF(6, 7) << o
                             << "X: 6\r\nMedian: 4\r\nYmin - Ymax: 2 - 8\r\nQ1 - Q3: 3 - 5";
    QTest::newRow("box whisker range counts") << int(kBox) << two << none << QPointF(2, 8.5) << o
                                              << "X: 2\r\nMedian: 5\r\nYmin - Ymax: 1 - 9\r\nQ1 - Q3: 3 - 7";
    QTest::newRow("box beside") << int(kBox) << two << none << QPointF(4, 5) << o << "";
    QTest::newRow("box above") << int(kBox) << two << none << QPointF(6, 9) << o << "";
    QTest::newRow("box zero extent") << int(kBox) << QVector<double>{5, 5, 5, 5, 5, 5} << none << QPointF(5, 5) << o
                                     << "";
    QTest::newRow("box out of order") << int(kBox) << QVector<double>{8, 5, 1, 9, 3, 7, 2, 5, 1, 9, 3, 7} << none
                                      << QPointF(2, 5) << o << "";
    const QVector<double> bars{0, 6, 1, 3, 9, 1};
    QTest::newRow("gantt null label") << int(kGantt) << bars << QStringList{QString(), "late"} << QPointF(1, 1) << o
                                      << "X1: 0;X2: 6\r\nY: 1";
    QTest::newRow("gantt overlap, earlier wins") << int(kGantt) << bars << QStringList{QString(), "late"}
                                                 << QPointF(5, 1) << o << "X1: 0;X2: 6\r\nY: 1";
    QTest::newRow("gantt label line") << int(kGantt) << bars << QStringList{QString(), "late"} << QPointF(8, 1) << o
                                      << "late\r\nX1: 3;X2: 9\r\nY: 1";
    QTest::newRow("gantt empty label keeps its line") << int(kGantt) << QVector<double>{0, 6, 1} << QStringList{""}
                                                      << QPointF(1, 1) << o << "\r\nX1: 0;X2: 6\r\nY: 1";
    QTest::newRow("gantt other row") << int(kGantt) << bars << none << QPointF(1, 2) << o << "";
    QTest::newRow("gantt zero length") << int(kGantt) << QVector<double>{5, 5, 1} << none << QPointF(5, 1) << o << "";
    QTest::newRow("gantt ends exchanged") << int(kGantt) << QVector<double>{6, 2, 1} << none << QPointF(4, 1) << o
                                          << "";
    QTest::newRow("gantt out of order") << int(kGantt) << QVector<double>{7, 9, 1, 0, 5, 2} << none << QPointF(3, 2)
                                        << o << "";
    QTest::newRow("line has none") << int(kLine) << QVector<double>{2, 2, 3, 3} << none << QPointF(2, 2) << o << "";
    QTest::newRow("highlow has none") << int(kHighLow) << QVector<double>{2, 1, 3, 3, 1, 3} << none << QPointF(2, 2)
                                      << o << "";
}

void TestSeries::tooltip()
{
    QFETCH(int, kind);
    QFETCH(QVector<double>, items);
    QFETCH(QStringList, labels);
    QFETCH(QPointF, at);
    QFETCH(QPoint, nudge);
    QFETCH(QString, text);
    Frame f;
    std::unique_ptr<ChartSeries> s(makeSeries(kind));
    const QPoint pos = f.pixel(at.x(), at.y()) + nudge;
    addOwn(s.get(), items, labels);
    QCOMPARE(s->tooltip(pos), QString()); // no axes yet
    s->setAxis(&f.x, &f.y);
    QCOMPARE(s->tooltip(pos), text);
}

void TestSeries::icons_data()
{
    QTest::addColumn<int>("kind");
    for (int k = 0; k < kKinds; ++k)
        QTest::addRow("%s", kindName(k)) << k;
}

// A legend icon of the asked size, drawn afresh in the current colours.
void TestSeries::icons()
{
    QFETCH(int, kind);
    std::unique_ptr<ChartSeries> s(makeSeries(kind));
    s->setColor(Qt::blue);
    const QImage before = s->icon(16).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(before.size(), QSize(16, 16));
    QVERIFY(countColor(before, qRgb(0, 0, 255)) > 0);
    s->setColor(Qt::darkGreen);
    s->setFillColor(Qt::yellow);
    const QImage after = s->icon(16).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(countColor(after, qRgb(0, 0, 255)), 0);
    QVERIFY(countColor(after, QColor(Qt::darkGreen).rgb()) > 0);
    QCOMPARE(inked(after), inked(before));
}

TAVRIN_TEST(TestSeries)
#include "tst_series.moc"
