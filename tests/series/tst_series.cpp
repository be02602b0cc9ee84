// What every series kind promises alike: rows, bounds, signals, drawing or
// not, tooltips and icons, written once with a row per kind and case.
#include "fixtures.h"
#include "testmain.h"

#include <chartseries_p.h>

#include <QDateTime>
#include <QSignalSpy>

using namespace tavrintest;

namespace {

struct RecordingOwner : ChartSeriesOwner {
    QList<QPointF> boundsCalls;
    int refreshCalls = 0;
    void seriesBoundsChanged(double x, double y) override { boundsCalls.append(QPointF(x, y)); }
    void scheduleRefresh() override { ++refreshCalls; }
};

// Adds items in the kind's own form: x, y (point, bar, line); x, y, min,
// max; x, median, min, max, q1, q3; x, y1, y2; x1, x2, y with a label.
void addOwn(ChartSeries *s, const QVector<double> &v, const QStringList &labels = {})
{
    const ChartSeries::seriesType t = s->type();
    const int n = t == ChartSeries::stMinMaxPoint ? 4 : t == ChartSeries::stBoxAndWhiskers ? 6
        : (t == ChartSeries::stHighLow || t == ChartSeries::stGantt) ? 3 : 2;
    for (int i = 0; i + n <= v.size(); i += n) {
        const double *a = v.constData() + i;
        const QString label = labels.value(i / n);
        if (t == ChartSeries::stPoint && !label.isNull())
            static_cast<PointSeries *>(s)->addXY(a[0], a[1], label);
        else if (t == ChartSeries::stMinMaxPoint)
            static_cast<MinMaxPointSeries *>(s)->addPoint(a[0], a[1], a[2], a[3]);
        else if (t == ChartSeries::stBoxAndWhiskers)
            static_cast<BoxAndWhiskersSeries *>(s)->addCandle(a[0], a[1], a[2], a[3], a[4], a[5]);
        else if (t == ChartSeries::stHighLow)
            static_cast<HighLowSeries *>(s)->addPoint(a[0], a[1], a[2]);
        else if (t == ChartSeries::stGantt)
            static_cast<GanttSeries *>(s)->addBar(a[0], a[1], a[2], QColor(), label);
        else
            s->addXY(a[0], a[1]);
    }
}

QVector<double> rowOf(ChartSeries &s, int i)
{
    QVector<double> out;
    for (const QVariant &v : s.point(i))
        out << (v.userType() == QMetaType::Double ? v.toDouble() : -12345.0);
    return out;
}

QRectF bounds(ChartSeries &s) { return QRectF(QPointF(s.minX(), s.minY()), QPointF(s.maxX(), s.maxY())); }

} // namespace

class TestSeries : public QObject
{
    Q_OBJECT
private slots:
    void ownerAndSignals();
    void rowContract_data();
    void rowContract();
    void addXYForms_data();
    void addXYForms();
    void drawnOrNot_data();
    void drawnOrNot();
    void tooltip_data();
    void tooltip();
};

// Widening points reach the chart, NaN never enters the bounds, every point
// asks for a refresh; the invokable addXY can be queued.
void TestSeries::ownerAndSignals()
{
    LineSeries s;
    RecordingOwner owner;
    s.ChartSeries::d->owner = &owner;
    for (const QPointF &p : {QPointF(NaN, 1), QPointF(1, NaN), QPointF(0, 0), QPointF(5, 5), QPointF(-1, 1),
                             QPointF(2, -2), QPointF(1, 1), QPointF(NaN, 100), QPointF(Inf, 0)})
        s.addXY(p.x(), p.y());
    QCOMPARE(owner.boundsCalls.mid(0, 4), (QList<QPointF>{{0, 0}, {5, 5}, {-1, 1}, {2, -2}}));
    QVERIFY(std::isinf(s.maxX())); // infinities are values, not gaps
    QCOMPARE(owner.refreshCalls, 9);
    QCOMPARE(s.minY(), -2.0);
    QVERIFY(QMetaObject::invokeMethod(&s, "addXY", Qt::QueuedConnection,
                                      Q_ARG(QDateTime, QDateTime::fromSecsSinceEpoch(1000)), Q_ARG(double, 1.0)));
    QCOMPARE(s.pointsCount(), 9);
    QCoreApplication::processEvents();
    QCOMPARE(s.points().last(), QPointF(1000, 1));
}

void TestSeries::rowContract_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<double>>("item"); // the kind's own form
    QTest::addColumn<QString>("columns");
    QTest::addColumn<int>("added"); // pointAdded signals per item
    QTest::addColumn<QRectF>("bounds");
    QTest::newRow("line") << int(kLine) << QVector<double>{5, 3} << "X;Y" << 1 << QRectF(5, 3, 0, 0);
    QTest::newRow("point") << int(kPoint) << QVector<double>{5, 3} << "X;Y" << 1 << QRectF(5, 3, 0, 0);
    // The marker's own y stays out of the bounds, its range does not.
    QTest::newRow("minmax") << int(kMinMax) << QVector<double>{5, 30, 2, 4} << "X;Y1;Y2;Y3" << 0 << QRectF(5, 2, 0, 2);
    QTest::newRow("bar") << int(kBar) << QVector<double>{5, 3} << "X;Y" << 0 << QRectF(5, 0, 0, 3);
    QTest::newRow("negative bar") << int(kBar) << QVector<double>{5, -3} << "X;Y" << 0 << QRectF(5, -3, 0, 3);
    // Quartiles beyond the whiskers do not widen the bounds.
    QTest::newRow("box") << int(kBox) << QVector<double>{5, 3, 2, 4, 0, 12} << "X;Y1;Y2;Y3;Y4;Y5" << 2
                         << QRectF(5, 2, 0, 2);
    QTest::newRow("highlow") << int(kHighLow) << QVector<double>{5, 4, 2} << "X;Y1;Y2" << 2 << QRectF(5, 2, 0, 2);
    QTest::newRow("gantt") << int(kGantt) << QVector<double>{4, 6, 3} << "X1;X2;Y" << 2 << QRectF(4, 3, 2, 0);
}

// Rows, bounds and signals; cleared() receivers still see the items but
// already reset bounds, and a first item after it starts them afresh.
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
    QVERIFY(s->point(-1).isEmpty() && s->point(2).isEmpty());
    QCOMPARE(spy.size(), 2 * added);
    QCOMPARE(::bounds(*s), bounds);
    int seen = -1;
    connect(s.get(), &ChartSeries::cleared, this, [&] { seen = std::isnan(s->minX()) ? s->pointsCount() : -2; });
    s->clear();
    QCOMPARE(seen, 2);
    QCOMPARE(s->pointsCount(), 0);
    addOwn(s.get(), item);
    QCOMPARE(::bounds(*s), bounds);
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

// addXY in its three overloads gives each kind's row of (x, y).
void TestSeries::addXYForms()
{
    QFETCH(int, kind);
    QFETCH(int, form);
    QFETCH(double, x);
    std::unique_ptr<ChartSeries> s(makeSeries(kind));
    if (form == 0)
        s->addXY(5.0, 3.0);
    else if (form == 3)
        s->addXY(QTime(12, 0), 3.0);
    else
        s->addXY(form == 1 ? QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC) : QDateTime(), 3.0);
    const QVector<QVector<double>> rows = {{x, 3}, {x, 3}, {x, 3, 3, 3}, {x, 3}, {x, 3, 3, 3, 3, 3}, {x, 3, 3}, {x, x, 3}};
    QCOMPARE(rowOf(*s, 0), rows[kind]);
    QCOMPARE(s->maxX(), x);
}

void TestSeries::drawnOrNot_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<double>>("items");
    QTest::addColumn<bool>("drawn");
    // Items in each kind's own form (line, point, minmax, bar, box, highlow,
    // gantt) over a view of 0..10 both ways.
    struct Case { const char *name; QVector<double> v[kKinds]; bool drawn[kKinds]; };
    const Case cases[] = {
        {"plain", {{3, 4, 7, 6}, {3, 4}, {3, 4, 3, 5}, {3, 4}, {3, 4, 2, 8, 3, 6}, {3, 4, 6, 7, 3, 5}, {2, 8, 4}},
         {1, 1, 1, 1, 1, 1, 1}},
        {"left of the view", {{-9, 4, -7, 6}, {-2, 4}, {-2, 4, 3, 5}, {-2, 4}, {-2, 4, 2, 8, 3, 6}, {-9, 4, 6, -7, 3, 5},
                              {-9, -7, 4}}, {0, 0, 0, 0, 0, 0, 0}},
        // A bar rises from the zero line, so one far above still shows.
        {"above the view", {{3, 14, 7, 16}, {3, 14}, {3, 14, 13, 15}, {3, 1e9}, {3, 24, 22, 28, 23, 26},
                            {3, 14, 16, 7, 13, 15}, {2, 8, 14}}, {0, 0, 0, 1, 0, 0, 0}},
        {"NaN", {{3, NaN, 7, 6}, {NaN, 4}, {3, 4, NaN, 5}, {3, NaN}, {3, 4, NaN, 8, 3, 6}, {3, 4, 6, 7, NaN, 5},
                 {2, NaN, 4}}, {0, 0, 0, 0, 0, 0, 0}},
        {"zero extent", {{3, 4}, {3, 4}, {3, 4, 4, 4}, {3, 0}, {3, 4, 4, 4, 4, 4}, {3, 4, 4, 3, 4, 4}, {5, 5, 4}},
         {0, 1, 1, 0, 0, 0, 0}},
        {"far beyond", {{5, 5, 5e300, -5e300}, {1e300, 1e300}, {5, 5, -1e300, 1e300}, {5, 1e300},
                        {5, 5, -1e300, 1e300, -1e300, 6}, {-1e300, 5, 1e300, 1e300, 5, 1e300}, {-1e300, 1e300, 5}},
         {1, 0, 1, 1, 1, 1, 1}},
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
    addOwn(s.get(), items);
    s->draw(nullptr);
    QVERIFY(inked(render(*s)).isNull()); // no axes yet
    s->setAxis(&f.x, &f.y);
    QCOMPARE(!inked(render(*s)).isNull(), drawn);
}

void TestSeries::tooltip_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<double>>("items");
    QTest::addColumn<QPointF>("at"); // in values
    QTest::addColumn<QPoint>("nudge"); // in pixels
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *name, int kind, const QVector<double> &items, QPointF at, const char *text,
                        QPoint nudge = QPoint(), const QStringList &labels = {}) {
        QTest::newRow(name) << kind << items << at << nudge << labels << QString::fromLatin1(text);
    };
    // Markers of size 7 are found 3.5 pixels around their centre; items are
    // taken to come in ascending x: the scan stops at one right of the cursor.
    row("point hit", kPoint, {2, 2}, {2, 2}, "X: 2\r\nY: 2", {3, -3});
    row("point label", kPoint, {2, 2}, {2, 2}, "50%1 %2", {}, {"50%1 %2"});
    row("point outside", kPoint, {2, 2}, {2, 2}, "", {4, 0});
    row("point earlier wins", kPoint, {2, 2, 2.125, 2}, {2, 2}, "X: 2\r\nY: 2", {2, 0});
    row("point labelled duplicate keeps none", kPoint, {2, 2, 2, 2}, {2, 2}, "X: 2\r\nY: 2", {}, {QString(), "b"});
    row("minmax hit", kMinMax, {2, 2, 1, 4}, {2, 2}, "Ymin: 1\r\nX: 2\r\nYmax: 4\r\nY: 2");
    row("minmax range is no hit", kMinMax, {2, 2, 1, 4}, {2, 3.5}, "");
    row("minmax the one under the cursor", kMinMax, {2, 2, 1, 4, 2, 4, 3, 6}, {2, 4}, "Ymin: 3\r\nX: 2\r\nYmax: 6\r\nY: 4");
    row("bar inside", kBar, {5, 4}, {5, 2}, "X: 5\r\nY: 4");
    row("bar above", kBar, {5, 4}, {5, 4}, "", {0, -2});
    row("bar zero never hit", kBar, {5, 0}, {5, 0}, "");
    row("bar overlap, earlier wins", kBar, {5, 4, 5.2, 2}, {5, 1}, "X: 5\r\nY: 4", {4, 0});
    row("bar out of order", kBar, {8, 2, 5, 4}, {5, 2}, "");
    const QVector<double> two{2, 5, 1, 9, 3, 7, 6, 4, 2, 8, 3, 5};
    row("box hit", kBox, two, {6, 7}, "X: 6\r\nMedian: 4\r\nYmin - Ymax: 2 - 8\r\nQ1 - Q3: 3 - 5");
    row("box whisker range counts", kBox, two, {2, 8.5}, "X: 2\r\nMedian: 5\r\nYmin - Ymax: 1 - 9\r\nQ1 - Q3: 3 - 7");
    row("box out of order", kBox, {8, 5, 1, 9, 3, 7, 2, 5, 1, 9, 3, 7}, {2, 5}, "");
    const QVector<double> bars{0, 6, 1, 3, 9, 1};
    const QStringList late{QString(), "late"};
    row("gantt null label", kGantt, bars, {1, 1}, "X1: 0;X2: 6\r\nY: 1", {}, late);
    row("gantt overlap, earlier wins", kGantt, bars, {5, 1}, "X1: 0;X2: 6\r\nY: 1", {}, late);
    row("gantt label line", kGantt, bars, {8, 1}, "late\r\nX1: 3;X2: 9\r\nY: 1", {}, late);
    row("gantt empty label keeps its line", kGantt, {0, 6, 1}, {1, 1}, "\r\nX1: 0;X2: 6\r\nY: 1", {}, {""});
    row("gantt ends exchanged", kGantt, {6, 2, 1}, {4, 1}, "");
    row("gantt out of order", kGantt, {7, 9, 1, 0, 5, 2}, {3, 2}, "");
    row("highlow has none", kHighLow, {2, 1, 3, 3, 1, 3}, {2, 2}, "");
}

void TestSeries::tooltip()
{
    QFETCH(int, kind);
    QFETCH(QVector<double>, items);
    QFETCH(QPointF, at);
    QFETCH(QPoint, nudge);
    QFETCH(QStringList, labels);
    QFETCH(QString, text);
    Frame f;
    std::unique_ptr<ChartSeries> s(makeSeries(kind));
    const QPoint pos = f.pixel(at.x(), at.y()) + nudge;
    addOwn(s.get(), items, labels);
    QCOMPARE(s->tooltip(pos), QString()); // no axes yet
    s->setAxis(&f.x, &f.y);
    QCOMPARE(s->tooltip(pos), text);
}

TAVRIN_TEST(TestSeries)
#include "tst_series.moc"
