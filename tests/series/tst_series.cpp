// What the series kinds promise: the same row contract, bounds, drawing
// rules and tooltips across the kinds (tables with a row per kind), what
// each kind draws of its own, and the fast paths against the plain ones.
#include "fixtures.h"
#include "testmain.h"

#include <boxandwhiskersseries_p.h>
#include <chartseries_p.h>
#include <seriesicon_p.h>
#include <histogramseries.h>

#include <QDateTime>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>

using namespace tavrintest;

namespace {

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
    void rowContract_data();
    void rowContract();
    void drawnOrNot_data();
    void drawnOrNot();
    void tooltip_data();
    void tooltip();
    void lines();
    void pictures_data();
    void pictures();
    void markerDetails();
    void lineColumns_data();
    void lineColumns();
    void denseFillRedrawn_data();
    void denseFillRedrawn();
    void antialiasedLines_data();
    void antialiasedLines();
    void barsOnWholePixels_data();
    void barsOnWholePixels();
    void histogramBins_data();
    void histogramBins();
    void histogramRefusals();
    void histogramExtremes_data();
    void histogramExtremes();
    void histogramRuleChanges();
    void barLayouts_data();
    void barLayouts();
    void barSettings();
};

void TestSeries::rowContract_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<double>>("item"); // the kind's own form
    QTest::addColumn<QString>("columns");
    QTest::addColumn<int>("added"); // pointAdded signals per item
    QTest::addColumn<QRectF>("bounds");
    QTest::addColumn<int>("iconWidth"); // of the legend icon's ink, at 16 pixels
    QTest::newRow("line") << int(kLine) << QVector<double>{5, 3} << "X;Y" << 1 << QRectF(5, 3, 0, 0) << 16;
    QTest::newRow("point") << int(kPoint) << QVector<double>{5, 3} << "X;Y" << 1 << QRectF(5, 3, 0, 0) << 9;
    // The marker's own y stays out of the bounds, its range does not.
    QTest::newRow("minmax") << int(kMinMax) << QVector<double>{5, 30, 2, 4} << "X;Y1;Y2;Y3" << 0 << QRectF(5, 2, 0, 2) << 9;
    QTest::newRow("bar") << int(kBar) << QVector<double>{5, 3} << "X;Y" << 0 << QRectF(5, 0, 0, 3) << 9;
    // Quartiles beyond the whiskers do not widen the bounds.
    QTest::newRow("box") << int(kBox) << QVector<double>{5, 3, 2, 4, 0, 12} << "X;Y1;Y2;Y3;Y4;Y5" << 2
                         << QRectF(5, 2, 0, 2) << 9;
    QTest::newRow("highlow") << int(kHighLow) << QVector<double>{5, 4, 2} << "X;Y1;Y2" << 2 << QRectF(5, 2, 0, 2) << 16;
    QTest::newRow("gantt") << int(kGantt) << QVector<double>{4, 6, 3} << "X1;X2;Y" << 2 << QRectF(4, 3, 2, 0) << 16;
}

// Rows, bounds and signals; cleared() receivers still see the items but
// already reset bounds, and a first item after it, or in it, starts them
// afresh.
void TestSeries::rowContract()
{
    QFETCH(int, kind);
    QFETCH(QVector<double>, item);
    QFETCH(QString, columns);
    QFETCH(int, added);
    QFETCH(QRectF, bounds);
    QFETCH(int, iconWidth);
    std::unique_ptr<ChartSeries> s(makeSeries(kind));
    const QImage icon = s->icon(16).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(inked(icon).width(), iconWidth);
    QImage vector(16, 16, QImage::Format_ARGB32_Premultiplied); // as vector outputs paint it
    vector.fill(Qt::transparent);
    QPainter painter(&vector);
    QVERIFY(tavrin::paintSeriesIcon(s.get(), &painter, 16));
    painter.end();
    QCOMPARE(vector, icon);
    QCOMPARE(s->dataAxisString(), columns);
    QSignalSpy spy(s.get(), &ChartSeries::pointAdded);
    addOwn(s.get(), item);
    addOwn(s.get(), item.mid(0, 1) + QVector<double>(item.size() - 1, NaN));
    QCOMPARE(s->pointsCount(), 2);
    QCOMPARE(rowOf(*s, 0), item);
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
    // An item a receiver adds then is kept, an equal one too, with its bounds.
    const auto refill = connect(s.get(), &ChartSeries::cleared, this, [&] { addOwn(s.get(), item); });
    s->clear();
    disconnect(refill);
    QCOMPARE(s->pointsCount(), 1);
    QCOMPARE(rowOf(*s, 0), item);
    QCOMPARE(::bounds(*s), bounds);
    // addXY in its three overloads gives each kind's row of (x, y).
    const QDateTime utc(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC);
    s->clear();
    s->addXY(utc, 3);
    s->addXY(QDateTime(), 3);
    s->addXY(QTime(12, 0), 3);
    s->addXY(7, 3);
    const double xs[] = {double(utc.toSecsSinceEpoch()), 4294967295.0,
                         double(QDateTime(QDate::currentDate(), QTime(12, 0)).toSecsSinceEpoch()), 7};
    for (int i = 0; i < 4; ++i) {
        const QVector<double> row = rowOf(*s, i);
        QCOMPARE(row.first(), xs[i]);
        QCOMPARE(row.count(3.0), kind == kGantt ? 1 : item.size() - 1);
    }
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
    row("point labelled duplicate keeps none", kPoint, {2, 2, 2, 2}, {2, 2}, "X: 2\r\nY: 2", {}, {QString(), "b"});
    row("bar inside", kBar, {5, 4}, {5, 2}, "X: 5\r\nY: 4");
    const QVector<double> two{2, 5, 1, 9, 3, 7, 6, 4, 2, 8, 3, 5};
    row("box hit", kBox, two, {6, 7}, "X: 6\r\nMedian: 4\r\nYmin - Ymax: 2 - 8\r\nQ1 - Q3: 3 - 5");
    const QVector<double> bars{0, 6, 1, 3, 9, 1};
    const QStringList late{QString(), "late"};
    row("gantt null label", kGantt, bars, {1, 1}, "X1: 0;X2: 6\r\nY: 1", {}, late);
    row("gantt lower edge", kGantt, bars, {1, 1}, "X1: 0;X2: 6\r\nY: 1", {0, 7}, late);
    row("gantt label line", kGantt, bars, {8, 1}, "late\r\nX1: 3;X2: 9\r\nY: 1", {}, late);
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


// Ends far beyond QPainter's range are cut exactly on the border, so a
// level line stays level across the plot.
void TestSeries::lines()
{
    Frame f;
    std::unique_ptr<LineSeries> level(lineOf({{-1e300, 5}, {1e300, 5}}));
    level->setAxis(&f.x, &f.y);
    QCOMPARE(inked(render(*level)), QRect(0, f.pixel(0, 5).y(), 301, 1));
    LineSeries mid; // addMid averages with the last point of that x, if any
    for (const QPointF &p : {QPointF(5, 2), QPointF(6, 4), QPointF(5, 4)})
        mid.addPoint(p);
    mid.addMid(5, 10);
    mid.addMid(7, 1);
    QCOMPARE(mid.points(), (QList<QPointF>{{5, 2}, {6, 4}, {5, 7}}));

    // Refusals leave everything as it was; signals only on a real change.
    LineSeries a, b, c;
    QSignalSpy brushes(&a, &LineSeries::fillBrushChanged), baselines(&a, &LineSeries::fillBaselineChanged),
        steps(&a, &LineSeries::stepModeChanged);
    QVERIFY(!a.setStackedOn(&a));
    QVERIFY(b.setStackedOn(&a) && c.setStackedOn(&b));
    QVERIFY(!a.setStackedOn(&c)); // c on b on a: a cycle
    QCOMPARE(a.stackedOn(), nullptr);
    QVERIFY(!a.setFillTo(&a));
    QCOMPARE(a.fillTo(), nullptr);
    a.setFillBaseline(NaN);
    a.setFillBaseline(0);
    a.setFillBrush(QBrush());
    a.setStepMode(LineSeries::NoSteps);
    QCOMPARE(brushes.count() + baselines.count() + steps.count(), 0);
    QCOMPARE(a.fillBaseline(), 0.0);
    a.setFillBrush(Qt::red);
    a.setFillBaseline(-2);
    a.setStepMode(LineSeries::StepRight);
    QCOMPARE(brushes.count() + baselines.count() + steps.count(), 3);

    // Bounds: a fill takes in its baseline, a stacked line its drawn tops.
    for (const QPointF &p : {QPointF(0, 1), QPointF(10, 3)})
        a.addPoint(p);
    for (const QPointF &p : {QPointF(0, 1), QPointF(5, 1), QPointF(10, 1)})
        b.addPoint(p);
    QCOMPARE(bounds(a), QRectF(QPointF(0, -2), QPointF(10, 3)));
    QCOMPARE(bounds(b), QRectF(QPointF(0, 2), QPointF(10, 4))); // a steps up to 3 just after x = 0
    QCOMPARE(b.valueAt(5), 4.0);
    // The legend icon shows the fill under the line.
    QCOMPARE(a.icon(16).pixmap(16).toImage().pixelColor(8, 14), QColor(Qt::red));
    {
        // A base gone, or in another chart, counts as nothing.
        auto *gone = new LineSeries;
        gone->addXY(0, 100);
        gone->addXY(10, 100);
        QVERIFY(c.setStackedOn(gone));
        c.addXY(5, 1);
        QCOMPARE(c.valueAt(5), 101.0);
        ChartWidget other;
        other.addSeries(gone);
        QCOMPARE(c.valueAt(5), 1.0);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(c.stackedOn(), nullptr);
    QCOMPARE(c.valueAt(5), 1.0);

    // No zero on a logarithmic axis: a baseline at or below it is the axis' lower end.
    Frame lg(0, 10, 1, 1000);
    lg.y.setLogarithmic(true);
    for (int i = 0; i < 30; ++i)
        lg.y.d->updateTransform();
    LineSeries logFill;
    logFill.setAxis(&lg.x, &lg.y);
    logFill.setFillBrush(Qt::red);
    logFill.setFillBaseline(-5);
    logFill.addXY(1, 100);
    logFill.addXY(9, 100);
    const QImage logImage = render(logFill);
    QCOMPARE(logImage.pixelColor(lg.pixel(5, 1.2)), QColor(Qt::red));
    QVERIFY(logImage.pixelColor(lg.pixel(5, 300)) != QColor(Qt::red)); // above the line

    // Between two dense lines, one turning back: every column between is filled.
    Frame g(0, 1000, -100, 100, 200, 100);
    LineSeries upper, lower;
    for (LineSeries *l : {&upper, &lower})
        l->setAxis(&g.x, &g.y);
    QRandomGenerator rng(5);
    for (int i = 0; i < 5000; ++i) {
        upper.addXY(i / 5.0, 50 + rng.bounded(10.0));
        lower.addXY(i / 5.0, -50 - rng.bounded(10.0));
    }
    for (int i = 0; i < 2000; ++i)
        upper.addXY(1000 - i / 4.0, 50 + rng.bounded(10.0));
    upper.setFillBrush(Qt::red);
    upper.setColor(Qt::blue);
    QVERIFY(upper.setFillTo(&lower));
    const QImage between = render(upper, QSize(200, 100));
    for (double y : {0.0, 80.0, -80.0}) {
        const QRect row(g.pixel(5, y), g.pixel(995, y));
        QCOMPARE(countColor(between, qRgb(255, 0, 0), row), y == 0 ? row.width() : 0);
    }
    // The line itself is drawn over its fill.
    QVERIFY(countColor(between, qRgb(0, 0, 255), QRect(g.pixel(5, 60), g.pixel(995, 50))) > 100);

    // A fill given another line to reach shows at once on a chart, which
    // scales to the lines instead of the baseline.
    ChartWidget w;
    w.resize(300, 200);
    auto *top = new LineSeries, *bottom = new LineSeries;
    for (int x : {0, 10}) {
        top->addXY(x, 10);
        bottom->addXY(x, 5);
    }
    top->setFillBrush(Qt::red);
    w.addSeries(bottom);
    w.addSeries(top);
    QCoreApplication::processEvents();
    const QImage toBaseline = w.grab().toImage();
    QCOMPARE(w.grab().toImage(), toBaseline);
    QVERIFY(w.axes()->left()->min() <= 0); // the baseline
    top->setFillTo(bottom);
    QCoreApplication::processEvents();
    QVERIFY(w.grab().toImage() != toBaseline);
    QVERIFY(w.axes()->left()->min() > 4); // the scale fits the two lines now
}

namespace {
enum SeriesScene {
    ssBars, ssCandles, ssGantt, ssBands, ssFarCorners, ssMarkers, ssMarkersRecoloured, ssHistogram, ssBarLayouts, ssAreas, ssScenes
};
const char *const seriesSceneNames[] = {"bars",    "candles",            "gantt",     "bands",       "far-corners", "markers",
                                         "markers-recoloured", "histogram", "bar-layouts", "areas"};

// Items of one kind in a frame over 0..10 x -5..5, including what a view
// cuts: values far beyond the pixel range, NaN, halves outside.
void addScene(int scene, Frame &f, std::vector<std::unique_ptr<ChartSeries>> &items)
{
    auto add = [&](ChartSeries *s) { s->setAxis(&f.x, &f.y); items.emplace_back(s); return s; };
    switch (scene) {
    case ssBars: {
        ChartSeries *bars = add(new BarSeries);
        bars->setColor(Qt::blue);
        for (const QPointF &p : {QPointF(NaN, 4), QPointF(5, 4), QPointF(2, -3), QPointF(8, 1e9), QPointF(7, 0)})
            bars->addXY(p.x(), p.y());
        break;
    }
    case ssBarLayouts: { // stacked with mixed signs, grouped, sideways
        auto bar = [&](QColor fill, double width, BarSeries::WidthUnit unit) {
            auto *s = static_cast<BarSeries *>(add(new BarSeries));
            s->setFillColor(fill);
            s->setBarWidthUnit(unit);
            s->setBarWidth(width);
            return s;
        };
        BarSeries *low = bar(Qt::red, 1.2, BarSeries::DataUnits), *high = bar(Qt::yellow, 1.2, BarSeries::DataUnits);
        high->setStackedOn(low);
        addOwn(low, {1, 2, 3, -1.5, 5, 3});
        addOwn(high, {1, 1.5, 3, -1, 5, -2});
        for (int k = 0; k < 2; ++k) {
            BarSeries *member = bar(k ? Qt::green : Qt::blue, 30, BarSeries::Pixels);
            member->setGroup(k, 2);
            addOwn(member, {7, 2.0 + k, 9, -3.0 + k});
        }
        BarSeries *side = bar(Qt::cyan, 0.6, BarSeries::DataUnits);
        side->setOrientation(Qt::Horizontal);
        addOwn(side, {-4, 3, -3, 6});
        break;
    }
    case ssCandles: // the median marker in the inverse of the fill
        for (const QColor &fill : {QColor(Qt::red), QColor(Qt::blue), QColor(Qt::cyan)}) {
            auto *s = static_cast<BoxAndWhiskersSeries *>(add(new BoxAndWhiskersSeries));
            s->setFillColor(fill);
            const double x = -1.0 + 3 * items.size();
            s->addCandle(x, 0, -4, 4, -2, 2);
            s->addCandle(x + 1.5, 0, -Inf, 1e300, 1, 2);
        }
        break;
    case ssGantt: {
        auto *gantt = static_cast<GanttSeries *>(add(new GanttSeries));
        gantt->setFillColor(Qt::green); // each bar in its own colour or the fill
        gantt->addBar(1, 3, 2, Qt::blue, QString());
        gantt->addBar(4, 6, 2, QColor(), QString());
        gantt->addBar(5, 1e300, -2, QColor(), QString());
        gantt->addBar(1, 3, f.y.max() + 0.3, Qt::blue, QString());
        break;
    }
    case ssBands: { // two lines with a hatch drawn over them; a crossing band fills both triangles
        auto *band = static_cast<HighLowSeries *>(add(new HighLowSeries));
        band->setColor(Qt::blue);
        band->addPoint(0.5, 4, 1);
        band->addPoint(4.5, 4, 1);
        auto *cross = static_cast<HighLowSeries *>(add(new HighLowSeries));
        cross->addPoint(5, 4, -4);
        cross->addPoint(9.5, -4, 4);
        break;
    }
    case ssAreas: { // a filled line with a gap, a stepped gradient area stacked on it, a band as an area
        auto *ground = static_cast<LineSeries *>(add(new LineSeries));
        ground->setColor(Qt::darkGreen);
        ground->setFillBrush(QBrush(Qt::green, Qt::BDiagPattern));
        ground->setFillBaseline(-4);
        for (const QPointF &p : {QPointF(0.5, -2), QPointF(2, -1), QPointF(3, NaN), QPointF(4, -3), QPointF(9.5, 0)})
            ground->addPoint(p);
        auto *top = static_cast<LineSeries *>(add(new LineSeries));
        top->setColor(Qt::blue);
        QLinearGradient fade(0, 0, 0, 1);
        fade.setCoordinateMode(QGradient::ObjectBoundingMode);
        fade.setColorAt(0, Qt::blue);
        fade.setColorAt(1, Qt::white);
        top->setFillBrush(fade);
        top->setStepMode(LineSeries::StepCenter);
        top->setStackedOn(ground);
        for (const QPointF &p : {QPointF(1, 2), QPointF(5, 3), QPointF(7, 1), QPointF(9, 2)})
            top->addPoint(p);
        auto *band = static_cast<HighLowSeries *>(add(new HighLowSeries));
        band->setColor(Qt::red);
        band->setBrush(QColor(255, 0, 0, 60));
        band->setLowerLineVisible(false);
        band->addPoint(0, 4.5, 3.5);
        band->addPoint(10, 3, 3.5);
        break;
    }
    case ssFarCorners: // one corner far beyond the pixel range each
        for (int corner = 0; corner < 4; ++corner) {
            double v[4] = {0, 0, 1, 1}; // first y1, second y1, second y2, first y2
            v[corner] = corner % 2 ? -1e300 : 1e300;
            auto *band = static_cast<HighLowSeries *>(add(new HighLowSeries));
            band->addPoint(0.3 + corner * 2.5, v[0], v[3]);
            band->addPoint(2.2 + corner * 2.5, v[1], v[2]);
        }
        break;
    case ssHistogram: { // overlaid, see-through; a bin far above the view is cut
        auto *wide = static_cast<HistogramSeries *>(add(new HistogramSeries));
        wide->setColor(Qt::blue);
        wide->setFillColor(QColor(0, 0, 255, 96));
        wide->setBinWidth(1);
        wide->addValues({0.5, 1.5, 1.6, 2.5, 2.6, 2.7, 3.5, 3.6, 4.5, 11, NaN});
        auto *tall = static_cast<HistogramSeries *>(add(new HistogramSeries));
        tall->setFillColor(QColor(255, 0, 0, 96));
        tall->setBinCount(4);
        tall->setRange(5, 9);
        tall->addValues({5, 6.2, 6.4, 7.5, 7.6, 7.7, 7.8, 7.9, 8.9});
        tall->addValues(QVector<double>(1000, 8.5));
        break;
    }
    default: { // centres outside the view are not drawn, one on its edge is
        const double ys[] = {2, 0, -2, 4};
        for (int k = 0; k < 4; ++k) {
            ChartSeries *s = add(makeSeries(k < 3 ? kPoint : kMinMax, k < 3 ? std::vector<int>{1, 2, 7}[k] : 1));
            for (double x : {1.0, 3.0, 10.0, 12.0})
                addOwn(s, k < 3 ? QVector<double>{x, ys[k]} : QVector<double>{x, -3, -4.5, -1});
            if (scene == ssMarkersRecoloured) {
                s->setFillColor(Qt::blue);
                s->setColor(Qt::green);
            }
        }
    }
    }
}
} // namespace

void TestSeries::pictures_data()
{
    QTest::addColumn<int>("scene");
    QTest::addColumn<bool>("antialiased");
    for (int s = 0; s < ssScenes; ++s)
        for (bool aa : {false, true})
            QTest::addRow("%s%s", seriesSceneNames[s], aa ? ", antialiased" : "") << s << aa;
}

// Every pixel of each kind against pictures that were looked at once.
// TAVRIN_UPDATE_PICTURES=1 rewrites them (look at them).
void TestSeries::pictures()
{
    QFETCH(int, scene);
    QFETCH(bool, antialiased);
    Frame f(0, 10, -5, 5);
    std::vector<std::unique_ptr<ChartSeries>> items;
    addScene(scene, f, items);
    QImage img(301, 201, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, antialiased);
    for (const auto &s : items)
        s->draw(&p);
    p.end();
    const QString name = QStringLiteral("series-%1%2.png").arg(QLatin1String(seriesSceneNames[scene]), antialiased ? "-aa" : "");
    img.save(outputDir() + QLatin1Char('/') + name);
    if (qEnvironmentVariableIntValue("TAVRIN_UPDATE_PICTURES"))
        img.save(QFINDTESTDATA("data") + QLatin1Char('/') + name);
    QVERIFY2(img == QImage(QFINDTESTDATA(QStringLiteral("data/") + name)).convertToFormat(img.format()), qPrintable(name));
}

// What the pictures do not show: bars' bounds half a bar wider, no refresh
// for a colour a marker already has, vector markers where the stamps are,
// a band's point order.
void TestSeries::markerDetails()
{
    Frame f(0, 10, -5, 5);
    BarSeries bars;
    bars.setAxis(&f.x, &f.y);
    for (const QPointF &p : {QPointF(NaN, 4), QPointF(2, -3), QPointF(8, 1e9)})
        bars.addXY(p.x(), p.y()); // a NaN first bar still puts the zero line into the bounds
    const double half = f.x.pixelDeltaToPoint(15) / 2;
    QCOMPARE(QRectF(QPointF(bars.minX(), bars.minY()), QPointF(bars.maxX(), bars.maxY())),
             QRectF(QPointF(2 - half, -3), QPointF(8 + half, 1e9)));
    for (int kind : {kPoint, kMinMax}) {
        std::unique_ptr<ChartSeries> s(makeSeries(kind, PointSeries::psSquare));
        s->setAxis(&f.x, &f.y);
        QSignalSpy refresh(s.get(), &ChartSeries::refresh);
        s->setColor(Qt::black);
        QCOMPARE(refresh.count(), 0);
        addOwn(s.get(), kind == kPoint ? QVector<double>{4.01, 3.0313} : QVector<double>{4.01, 3.0313, 3.0313, 3.07});
        const QRect stamped = inked(render(*s));
        if (kind == kPoint)
            static_cast<PointSeries *>(s.get())->setVectorRendering(true);
        QCOMPARE(inked(render(*s)), stamped);
    }
    HighLowSeries forward, backward;
    for (HighLowSeries *band : {&forward, &backward})
        band->setAxis(&f.x, &f.y);
    forward.addPoint(1, 4, -4);
    forward.addPoint(9, -4, 4);
    backward.addPoint(9, -4, 4);
    backward.addPoint(1, 4, -4);
    QCOMPARE(render(backward), render(forward));
}

void TestSeries::lineColumns_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QRectF>("view");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("step");  // LineSeries::StepMode
    QTest::addColumn<bool>("fill"); // to a baseline of -30
    const QRectF all(0, -120, 20000, 240), zoomed(5000, -40, 300, 60);
    const auto row = [](const char *name, int kind, QRectF view, qreal ratio, int step = 0, bool fill = false) {
        QTest::newRow(name) << kind << view << ratio << step << fill;
    };
    for (qreal ratio : {1.0, 2.0}) {
        const bool twice = ratio == 2;
        row(twice ? "random, 2x" : "random", 0, all, ratio);
        row(twice ? "sorted dense, 2x" : "sorted dense", 1, all, ratio);
        row(twice ? "NaN holes, 2x" : "NaN holes", 3, all, ratio);
        row(twice ? "zoomed, 2x" : "zoomed", 1, zoomed, ratio);
        row(twice ? "flat runs, 2x" : "flat runs", 4, all, ratio);
    }
    row("sparse steps, 2x", 5, all, 2);
    // A stepped line is the plain line through its corners; a fill is one
    // polygon through every point, closed along the baseline.
    row("stepped left, sparse", 5, all, 1, LineSeries::StepLeft);
    row("stepped right, dense", 1, all, 1, LineSeries::StepRight);
    row("stepped centre, zoomed", 1, zoomed, 1, LineSeries::StepCenter);
    row("stepped, NaN holes", 3, all, 1, LineSeries::StepLeft);
    row("filled, sparse", 5, all, 1, 0, true);
    row("filled, sorted dense", 1, all, 1, 0, true);
    row("filled, random", 0, all, 1, 0, true);
    row("filled, NaN holes", 3, all, 1, 0, true);
    row("filled, zoomed", 1, zoomed, 1, 0, true);
    row("filled and stepped, sparse", 5, all, 1, LineSeries::StepCenter, true);
}

// Segments inside one pixel column are merged into the run they cover.
void TestSeries::lineColumns()
{
    QFETCH(int, kind);
    QFETCH(QRectF, view);
    QFETCH(qreal, ratio);
    QFETCH(int, step);
    QFETCH(bool, fill);
    QRandomGenerator rng(1234 + kind);
    const QSize size(400, 250);
    Frame f(view.left(), view.right(), view.top(), view.bottom(), size.width(), size.height());
    LineSeries s;
    s.setAxis(&f.x, &f.y);
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        double x = i, y = 0;
        switch (kind) {
        case 0: y = rng.bounded(200.0) - 100; break;
        case 1: y = std::sin(i / 800.0) * 100 + rng.bounded(10.0); break;
        case 3: y = rng.bounded(50) == 0 ? NaN : std::sin(i / 300.0) * 90; break;
        case 5: x = i * 50.0; y = (i % 7) * 30.0 - 100; break;
        default: y = (i / 700) % 3 * 30.0; break;
        }
        s.addXY(x, y);
    }
    if (step || fill) {
        // The corners as the modes promise them, independent of the series.
        LineSeries corners;
        corners.setAxis(&f.x, &f.y);
        for (int i = 0; i < n; ++i) {
            const QPointF b(s.point(i).at(0).toDouble(), s.point(i).at(1).toDouble());
            if (i > 0 && step) {
                const QPointF a(s.point(i - 1).at(0).toDouble(), s.point(i - 1).at(1).toDouble());
                const double mid = (a.x() + b.x()) / 2;
                if (step == LineSeries::StepLeft)
                    corners.addXY(b.x(), a.y());
                else if (step == LineSeries::StepRight)
                    corners.addXY(a.x(), b.y());
                else
                    corners.addPoints(QVector<QPointF>{{mid, a.y()}, {mid, b.y()}});
            }
            corners.addXY(b.x(), b.y());
        }
        s.setStepMode(LineSeries::StepMode(step));
        const QColor area(255, 0, 0);
        QImage plain = everySegment(corners, s.color(), size);
        if (fill) {
            s.setFillBrush(area);
            s.setFillBaseline(-30);
            // Each stretch between holes, closed along the baseline.
            QImage under(size, QImage::Format_ARGB32_Premultiplied);
            under.fill(Qt::transparent);
            QPainter p(&under);
            p.setPen(Qt::NoPen);
            p.setBrush(area);
            const int base = int(f.y.pointToPixel(-30));
            QPolygonF run;
            for (int i = 0; i <= corners.pointsCount(); ++i) {
                const QPointF c = i < corners.pointsCount() ? corners.points().at(i) : QPointF(NaN, NaN);
                if (!std::isnan(c.x() + c.y())) {
                    run << QPointF(int(f.x.pointToPixel(c.x())), int(f.y.pointToPixel(c.y())));
                    continue;
                }
                if (!run.isEmpty())
                    p.drawPolygon(run << QPointF(run.last().x(), base) << QPointF(run.first().x(), base), Qt::WindingFill);
                run.clear();
            }
            p.drawImage(0, 0, plain);
            p.end();
            plain = under;
        }
        const QImage fast = render(s, size);
        // The line is exact. Over two points a pixel column, the fill is
        // filled column by column from the summary, whole columns: it may
        // differ where a column's polygon edges cross or a hole is narrower
        // than a pixel, in under one pixel in a hundred.
        QCOMPARE(countColor(fast, s.color().rgb()), countColor(plain, s.color().rgb()));
        int differ = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                differ += fast.pixel(x, y) != plain.pixel(x, y);
        QVERIFY2(differ <= (fill && (kind != 5 || step) ? size.width() * size.height() / 100 : 0), qPrintable(QString::number(differ)));
        return;
    }
    if (ratio == 1) {
        QCOMPARE(render(s, size), everySegment(s, s.color(), size));
        return;
    }
    // At twice the density the runs are filled into the image and the
    // segments between them left out where the runs cover them; the same
    // runs and segments through QPainter (which a clip over the whole
    // image keeps to) are the picture to match.
    QImage fast(size * ratio, QImage::Format_ARGB32_Premultiplied), plain = fast;
    for (QImage *img : {&fast, &plain}) {
        img->setDevicePixelRatio(ratio);
        img->fill(Qt::transparent);
        QPainter p(img);
        if (img == &plain)
            p.setClipRect(QRect(QPoint(-10, -10), size + QSize(20, 20)));
        s.draw(&p);
    }
    QCOMPARE(fast, plain);
}

void TestSeries::denseFillRedrawn_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("toOther"); // filled to a second line, not a baseline
    for (const char *c : {"none", "append", "change point", "add mid", "edit list", "drop oldest", "remove before",
                          "refill", "pan", "zoom y"})
        QTest::newRow(c) << QString(c) << false;
    QTest::newRow("other line appended") << QString("other append") << true;
    QTest::newRow("other line refilled") << QString("other refill") << true;
    QTest::newRow("pan, to other line") << QString("pan") << true;
}

// A dense fill drawn again after its points, the other line's or the view
// changed is that of a series given the same changes and drawn only then;
// the translucent colour blended into the image straight gives the pixels
// QPainter gives under a clip (which turns that off), over a background of
// many colours.
void TestSeries::denseFillRedrawn()
{
    QFETCH(QString, change);
    QFETCH(bool, toOther);
    const QSize size(300, 200);
    const int n = 6000;
    const auto wave = [](int i, double shift) { return std::sin(i / 400.0 + shift) * 80 + (i * 7919 % 13); };
    const auto under = [&](int i, double shift) { return wave(i, shift) / 3 - 60; };
    const auto make = [&](LineSeries &line, LineSeries &other, Frame &f) {
        line.setAxis(&f.x, &f.y);
        other.setAxis(&f.x, &f.y);
        // A clear line: an opaque one hides the rows its fill reaches.
        line.setColor(Qt::transparent);
        line.setFillBrush(QColor(200, 40, 10, 90));
        line.setFillBaseline(-20);
        if (toOther)
            line.setFillTo(&other);
        for (int i = 0; i < n; ++i) {
            line.addXY(i, wave(i, 0));
            other.addXY(i, under(i, 0));
        }
    };
    const auto apply = [&](LineSeries &line, LineSeries &other, Frame &f) {
        if (change == "append") {
            for (int i = n; i < n + 40; ++i)
                line.addXY(i, wave(i, 0));
        } else if (change == "other append") {
            for (int i = n; i < n + 40; ++i)
                other.addXY(i, under(i, 0));
        } else if (change == "drop oldest") {
            line.setMaximumPoints(n);
            for (int i = n; i < n + 64; ++i)
                line.addXY(i, wave(i, 0));
        } else if (change == "remove before") {
            line.removeBefore(500);
        } else if (change == "refill" || change == "other refill") {
            const bool own = change == "refill";
            (own ? line : other).clear();
            for (int i = 0; i < n; ++i)
                (own ? line : other).addXY(i, own ? wave(i, 1.3) : under(i, 1.3));
        } else if (change == "pan" || change == "zoom y") {
            if (change == "pan")
                f.x.setRange(700, n + 700);
            else
                f.y.setRange(-120, 40);
            for (int i = 0; i < 30; ++i) {
                f.x.d->updateTransform();
                f.y.d->updateTransform();
            }
        } else if (change != "none") {
            // Every 10th point moved up in place.
            for (int i = 0; i < n; i += 10) {
                const QPointF moved(i, wave(i, 0) + 30);
                if (change == "change point")
                    line.changePoint(i, moved);
                else if (change == "add mid")
                    line.addMid(i, wave(i, 0) + 60);
                else
                    line[i] = moved;
            }
        }
    };
    const auto draw = [&](LineSeries &line, bool clipped) {
        QImage img(size, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                img.setPixel(x, y, (y / 3 + x / 50) % 3 ? 0xff203040u + uint(y % 5) : 0x80402010u);
        QPainter p(&img);
        if (clipped)
            p.setClipRect(QRect(QPoint(-10, -10), size + QSize(20, 20)));
        line.draw(&p);
        return img;
    };
    Frame f(0, n, -120, 120, size.width(), size.height()), g(0, n, -120, 120, size.width(), size.height());
    LineSeries s, other, fresh, freshOther;
    make(s, other, f);
    make(fresh, freshOther, g);
    draw(s, false);
    apply(s, other, f);
    apply(fresh, freshOther, g);
    QCOMPARE(draw(s, false), draw(fresh, true));
}

void TestSeries::antialiasedLines_data()
{
    QTest::addColumn<int>("data");
    QTest::addColumn<double>("perColumn"); // points per pixel column
    QTest::addColumn<QRectF>("view");      // in units of the plot: x 0..1, y -1..1
    QTest::addColumn<QColor>("color");
    QTest::addColumn<int>("cap");
    QTest::addColumn<QPoint>("offset"); // the painter's translation
    const QRectF all(0, -1.2, 1, 2.4), zoomed(0.3, -0.2, 0.2, 1.0);
    const QColor blue(0, 0, 255), glass(200, 60, 10, 110);
    // Sparse: the picture of every segment, exactly.
    QTest::newRow("noisy sine") << 0 << 1.9 << all << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("steep jumps") << 1 << 1.5 << all << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("shallow") << 2 << 0.3 << all << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("up to three points a column") << 0 << 2.4 << all << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("NaN holes") << 3 << 1.9 << all << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("unsorted") << 4 << 0.2 << all << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("on the edges") << 5 << 1.0 << all << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("zoomed, leaving the view") << 1 << 1.5 << zoomed << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("translucent") << 1 << 1.5 << all << glass << int(Qt::SquareCap) << QPoint();
    QTest::newRow("flat caps") << 0 << 1.9 << all << glass << int(Qt::FlatCap) << QPoint();
    QTest::newRow("round caps") << 1 << 1.5 << all << blue << int(Qt::RoundCap) << QPoint();
    QTest::newRow("translated") << 1 << 1.5 << all << blue << int(Qt::SquareCap) << QPoint(-20, 13);
    // Dense: within the bound of the picture of every segment.
    QTest::newRow("dense noisy sine") << 0 << 100.0 << all << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("denser noisy sine") << 0 << 1000.0 << all << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("dense steep jumps") << 1 << 30.0 << all << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("dense on the edges") << 5 << 40.0 << all << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("dense NaN holes") << 3 << 60.0 << all << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("dense, zoomed") << 0 << 300.0 << zoomed << blue << int(Qt::SquareCap) << QPoint();
    QTest::newRow("dense translucent") << 0 << 100.0 << all << glass << int(Qt::SquareCap) << QPoint();
    QTest::newRow("dense flat caps, translucent") << 1 << 30.0 << all << glass << int(Qt::FlatCap) << QPoint();
    QTest::newRow("dense translated") << 0 << 100.0 << all << blue << int(Qt::SquareCap) << QPoint(7, -9);
    QTest::newRow("dense, few a column") << 1 << 5.0 << all << blue << int(Qt::SquareCap) << QPoint();
}

// Antialiased lines on an image are blended by the series itself. Where a
// pixel column holds fewer than four points the picture is the one every
// segment gives through QPainter, bit for bit. Denser stretches are blended
// a column at a time, which rounds the blends of a pixel together instead
// of one by one: a channel differs from that picture by at most 2 of 255
// for an opaque pen and 6 for a translucent one (whose blends one by one
// stop a few steps short of its colour, at steps that depend on their
// order), by under 0.25 on average over the plot. A person tells apart
// flat areas a few steps apart at best; these are single pixels inside a
// line, most of them where it is solid colour.
void TestSeries::antialiasedLines()
{
    QFETCH(int, data);
    QFETCH(double, perColumn);
    QFETCH(QRectF, view);
    QFETCH(QColor, color);
    QFETCH(int, cap);
    QFETCH(QPoint, offset);
    const QSize size(400, 250);
    const int n = int(perColumn * size.width());
    Frame f(view.left() * n, view.right() * n, view.top() * 100, view.bottom() * 100, size.width(), size.height());
    LineSeries s;
    s.setAxis(&f.x, &f.y);
    s.setColor(color);
    s.ChartSeries::d->pen.setCapStyle(Qt::PenCapStyle(cap));
    QRandomGenerator rng(77 + data);
    QVector<QPointF> pts;
    double walk = 0;
    for (int i = 0; i < n; ++i) {
        const double noise = rng.bounded(20.0) - 10;
        double x = i, y = std::sin(i * 6.0 / n) * 80 + noise;
        switch (data) {
        case 1: y = walk = qBound(-110.0, walk + (rng.bounded(120.0) - 60), 110.0); break;
        case 2: y = std::sin(i * 3.0 / n) * 30; break;
        case 3: y = rng.bounded(60) == 0 ? NaN : y; break;
        case 4: x = rng.bounded(double(n)); break;
        case 5: y = (i / 3 % 2 ? 119.9 : -119.9) - noise / 100; break;
        }
        pts << QPointF(x, y);
    }
    s.addPoints(pts);
    QImage drawn(size, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter p(&drawn);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(offset);
    s.draw(&p);
    p.end();
    const QImage plain = everySegment(s, s.ChartSeries::d->pen, size, true, offset);
    QVERIFY(inked(plain).width() > size.width() / 2);
    if (perColumn < 3) {
        QCOMPARE(drawn, plain);
        return;
    }
    qint64 sum = 0;
    int largest = 0;
    for (int y = 0; y < size.height(); ++y) {
        const uchar *a = drawn.constScanLine(y), *b = plain.constScanLine(y);
        for (int i = 0; i < size.width() * 4; ++i) {
            const int d = qAbs(int(a[i]) - int(b[i]));
            sum += d;
            largest = qMax(largest, d);
        }
    }
    const double mean = double(sum) / (size.width() * size.height() * 4);
    const int bound = color.alpha() == 255 ? 2 : 6;
    QVERIFY2(largest <= bound && mean < 0.25, qPrintable(QStringLiteral("mean %1, largest %2").arg(mean).arg(largest)));
}

void TestSeries::barsOnWholePixels_data()
{
    QTest::addColumn<int>("seed");
    QTest::addColumn<int>("penWidth");
    QTest::addColumn<QRectF>("view");
    QTest::addColumn<int>("fillAlpha");
    QTest::addColumn<bool>("laidOut");
    // Fractional scales put bar edges between pixels; the zoomed views leave
    // bars reaching off the image; opaque fills let hidden bars be skipped.
    const QRectF all(-3.3, -117, 130.7, 241.3), zoomed(40.2, -20.7, 11.1, 61.9);
    QTest::newRow("fractional, pen 1") << 1 << 1 << all << 180 << false;
    QTest::newRow("flat bars") << 3 << 1 << QRectF(0, -5000, 100, 10000) << 180 << false;
    QTest::newRow("zoomed") << 4 << 1 << zoomed << 180 << false;
    QTest::newRow("opaque, zoomed") << 8 << 1 << zoomed << 255 << false;
    QTest::newRow("opaque, dense") << 9 << 1 << QRectF(0, -130, 127, 260) << 255 << false;
    // Stacked, grouped, sideways bars in data units: no bar is skipped as
    // hidden, since they neither share a zero line nor stand upright.
    QTest::newRow("laid out, fractional") << 1 << 1 << all << 180 << true;
    QTest::newRow("laid out, opaque, dense") << 9 << 1 << QRectF(-130, -130, 260, 260) << 255 << true;
}

// A clip covering the whole image changes nothing on screen but keeps the
// bars off the raster engine's integer shortcut.
void TestSeries::barsOnWholePixels()
{
    QFETCH(int, seed);
    QFETCH(int, penWidth);
    QFETCH(QRectF, view);
    QFETCH(int, fillAlpha);
    QFETCH(bool, laidOut);
    QRandomGenerator rng(seed);
    Frame f(view.left(), view.right(), view.top(), view.bottom(), 413, 287);
    BarSeries below, s;
    s.setAxis(&f.x, &f.y);
    if (laidOut) {
        below.addXY(60, 50);
        below.addXY(60, -50);
        s.setStackedOn(&below);
        s.setGroup(1, 3);
        s.setBarWidthUnit(BarSeries::DataUnits);
        s.setBarWidth(seed == 9 ? 2.5 : 4);
        s.setOrientation(seed == 9 ? Qt::Horizontal : Qt::Vertical);
    }
    s.setWidth(penWidth);
    s.setColor(QColor(10, 20, 200));
    s.setFillColor(QColor(200, 60, 10, fillAlpha));
    for (int i = 0, n = seed == 9 ? 4000 : 400; i < n; ++i)
        s.addXY(rng.bounded(127.0) + (i % 4 == 0 ? 0.5 : 0.0), rng.bounded(240.0) - 120 + (i % 7 == 0 ? 0.25 : 0.0));
    const QImage fast = render(s, QSize(413, 287));
    QImage general(413, 287, QImage::Format_ARGB32_Premultiplied);
    general.fill(Qt::transparent);
    QPainter p(&general);
    p.setClipRect(general.rect());
    s.draw(&p);
    p.end();
    QCOMPARE(fast, general);
}

void TestSeries::histogramBins_data()
{
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<int>("count"); // 0: automatic
    QTest::addColumn<double>("width"); // 0: none
    QTest::addColumn<QPointF>("range"); // null: none
    QTest::addColumn<int>("normalization");
    QTest::addColumn<QVector<double>>("edges");
    QTest::addColumn<QVector<double>>("shown"); // the bins' values
    QTest::addColumn<int>("nonFinite");
    const int counts = HistogramSeries::Counts;
    QVector<double> sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen << 15 - i;
    // IQR 8 of 16 values: 2 * 8 / 16^(1/3) = 6.35 wide, so three bins of 5.
    QTest::newRow("Freedman-Diaconis") << sixteen << 0 << 0.0 << QPointF() << counts << QVector<double>{0, 5, 10, 15}
                                       << QVector<double>{5, 5, 6} << 0;
    // ceil(log2 5) + 1 bins; the last takes its upper edge.
    QTest::newRow("Sturges, few values") << QVector<double>{5, 1, 2, 3, 4} << 0 << 0.0 << QPointF() << counts
                                         << QVector<double>{1, 2, 3, 4, 5} << QVector<double>{1, 1, 1, 2} << 0;
    QTest::newRow("Sturges, no spread between the quartiles")
        << QVector<double>{0, 0, 0, 0, 0, 0, 0, 0, 0, 10} << 0 << 0.0 << QPointF() << counts
        << QVector<double>{0, 2, 4, 6, 8, 10} << QVector<double>{9, 0, 0, 0, 1} << 0;
    QTest::newRow("non-finite counted apart") << QVector<double>{1, NaN, 2, Inf, -Inf} << 0 << 0.0 << QPointF()
                                              << counts << QVector<double>{1, 1.5, 2} << QVector<double>{1, 1} << 3;
    QTest::newRow("no finite values") << QVector<double>{NaN, Inf} << 3 << 0.0 << QPointF() << counts
                                      << QVector<double>() << QVector<double>() << 2;
    QTest::newRow("all equal, automatic") << QVector<double>{3, 3, 3} << 0 << 0.0 << QPointF() << counts
                                          << QVector<double>{2.5, 3.5} << QVector<double>{3} << 0;
    QTest::newRow("all equal, given count") << QVector<double>{3, 3} << 2 << 0.0 << QPointF() << counts
                                            << QVector<double>{2.5, 3, 3.5} << QVector<double>{0, 2} << 0;
    QTest::newRow("given count") << QVector<double>{0, 1, 2, 3} << 2 << 0.0 << QPointF() << counts
                                 << QVector<double>{0, 1.5, 3} << QVector<double>{2, 2} << 0;
    // Edges on whole multiples; a value on an edge goes up.
    QTest::newRow("given width") << QVector<double>{0.5, 1, 2.2, -0.1} << 0 << 1.0 << QPointF() << counts
                                 << QVector<double>{-1, 0, 1, 2, 3} << QVector<double>{1, 1, 1, 1} << 0;
    QTest::newRow("fixed range leaves values out") << QVector<double>{-5, 0, 1, 2, 3, 4, 50} << 2 << 0.0 << QPointF(0, 4)
                                                   << counts << QVector<double>{0, 2, 4} << QVector<double>{2, 3} << 0;
    QTest::newRow("width in a fixed range") << QVector<double>{0, 1, 2.4, 2.5} << 0 << 1.0 << QPointF(0, 2.5) << counts
                                            << QVector<double>{0, 1, 2, 2.5} << QVector<double>{1, 1, 2} << 0;
    // Bars of area 1 whatever their width.
    QTest::newRow("densities") << QVector<double>{0, 0.5, 1, 1.5, 2, 2.5, 3, 4} << 4 << 0.0 << QPointF(0, 4)
                               << int(HistogramSeries::Densities) << QVector<double>{0, 1, 2, 3, 4}
                               << QVector<double>{0.25, 0.25, 0.25, 0.25} << 0;
    QTest::newRow("cumulative counts") << QVector<double>{0, 1, 2, 3, 3} << 3 << 0.0 << QPointF()
                                       << int(HistogramSeries::CumulativeCounts) << QVector<double>{0, 1, 2, 3}
                                       << QVector<double>{1, 2, 5} << 0;
}

// The rows the exports write, the bounds and the tooltip; values added later,
// one by one after the bins were read, bin as if they came at once.
void TestSeries::histogramBins()
{
    QFETCH(QVector<double>, values);
    QFETCH(int, count);
    QFETCH(double, width);
    QFETCH(QPointF, range);
    QFETCH(int, normalization);
    QFETCH(QVector<double>, edges);
    QFETCH(QVector<double>, shown);
    QFETCH(int, nonFinite);
    HistogramSeries atOnce, later;
    for (HistogramSeries *s : {&atOnce, &later}) {
        if (count)
            s->setBinCount(count);
        if (width > 0)
            s->setBinWidth(width);
        if (!range.isNull())
            s->setRange(range.x(), range.y());
        s->setNormalization(HistogramSeries::Normalization(normalization));
    }
    atOnce.addValues(values);
    const int half = values.size() / 2;
    later.addValues(values.mid(0, half));
    later.bins();
    for (int i = half; i < values.size(); ++i)
        later.addValue(values.at(i));
    QCOMPARE(atOnce.dataAxisString(), QStringLiteral("X1;X2;Y"));
    for (HistogramSeries *s : {&atOnce, &later}) {
        QCOMPARE(s->pointsCount(), shown.size());
        QCOMPARE(s->nonFiniteCount(), qint64(nonFinite));
        for (int i = 0; i < shown.size(); ++i) {
            const QVector<double> row = rowOf(*s, i);
            QCOMPARE(row.size(), 3);
            QVERIFY2(qFuzzyCompare(row.at(0) + 1, edges.at(i) + 1) && qFuzzyCompare(row.at(1) + 1, edges.at(i + 1) + 1),
                     qPrintable(QStringLiteral("bin %1: %2 to %3").arg(i).arg(row.at(0)).arg(row.at(1))));
            QVERIFY(qFuzzyCompare(row.at(2), shown.at(i)) || (row.at(2) == 0 && shown.at(i) == 0));
        }
        QVERIFY(s->point(shown.size()).isEmpty());
    }
    QCoreApplication::processEvents(); // single values are published from the event loop
    const double top = shown.isEmpty() ? NaN : *std::max_element(shown.begin(), shown.end());
    for (HistogramSeries *s : {&atOnce, &later}) {
        if (shown.isEmpty()) {
            QVERIFY(std::isnan(s->minX()) && std::isnan(s->maxY()));
            continue;
        }
        QCOMPARE(::bounds(*s), QRectF(QPointF(edges.first(), 0), QPointF(edges.last(), top)));
    }
    if (shown.isEmpty())
        return;
    // The tooltip over the middle of the fullest bin.
    const int full = int(std::max_element(shown.begin(), shown.end()) - shown.begin());
    Frame f(edges.first(), edges.last(), 0, top * 2);
    atOnce.setAxis(&f.x, &f.y);
    const QPoint inside = f.pixel((edges.at(full) + edges.at(full + 1)) / 2, top / 2);
    QCOMPARE(atOnce.indexAt(inside, 0), full);
    QVERIFY(atOnce.tooltip(inside).contains(QStringLiteral("Count: %1").arg(atOnce.bins().at(full).count)));
    QCOMPARE(atOnce.tooltip(f.pixel(edges.first(), top * 1.5)), QString());
}

// Bad settings change nothing and say so; millions of bins are cut.
void TestSeries::histogramRefusals()
{
    HistogramSeries s;
    QSignalSpy binning(&s, &HistogramSeries::binningChanged);
    s.addValues({1, 2, 3, 4});
    const auto before = s.bins().size();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("setBinCount: 0 bins refused"));
    s.setBinCount(0);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("setBinCount: -3 bins refused"));
    s.setBinCount(-3);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("setBinWidth: width nan refused"));
    s.setBinWidth(NaN);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("setRange: range 2 to 1 refused"));
    s.setRange(2, 1);
    QCOMPARE(binning.size(), 0);
    QCOMPARE(s.binRule(), HistogramSeries::AutomaticBins);
    QCOMPARE(s.bins().size(), before);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("5000000 bins cut to 100000"));
    s.setBinCount(5000000);
    QCOMPARE(s.pointsCount(), HistogramSeries::maximumBinCount());
    s.setBinCount(HistogramSeries::maximumBinCount()); // the same
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("bin width 1e-09 needs more than 100000 bins"));
    s.setBinWidth(1e-9);
    QCOMPARE(s.pointsCount(), HistogramSeries::maximumBinCount());
    QCOMPARE(binning.size(), 2);
    // Every value is kept: a coarser rule bins them all again.
    s.setBinWidth(2);
    QCOMPARE(s.values(), QVector<double>({1, 2, 3, 4}));
    qint64 binned = 0;
    for (const HistogramSeries::Bin &b : s.bins())
        binned += b.count;
    QCOMPARE(binned, qint64(4));
    // A value a receiver of cleared() adds stays; what was there goes.
    s.addValue(Inf);
    const auto refill = connect(&s, &ChartSeries::cleared, this, [&] { s.addValues({7, NaN}); });
    s.clear();
    disconnect(refill);
    QCOMPARE(s.values(), QVector<double>{7});
    QCOMPARE(s.nonFiniteCount(), qint64(1));
    s.clear();
    QCOMPARE(s.pointsCount(), 0);
    QVERIFY(std::isnan(s.minX()));
}

void TestSeries::histogramExtremes_data()
{
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<int>("count"); // 0: automatic
    QTest::addColumn<double>("width"); // 0: none
    QTest::addColumn<QPointF>("range"); // null: none
    const double big = std::numeric_limits<double>::max(), tiny = std::numeric_limits<double>::denorm_min();
    const QVector<double> spread{-big, big, 0, 1, 2, 3, 4, 5};
    const QVector<double> denormals{0, tiny, 1e-310, 2e-310, 3e-310, 4e-310, 5e-310, 6e-310};
    QTest::newRow("every double, automatic") << spread << 0 << 0.0 << QPointF();
    QTest::newRow("every double, quartiles apart") << QVector<double>{-big, -big, -big, -1e308, 1e308, big, big, big} << 0 << 0.0 << QPointF();
    QTest::newRow("every double, given count") << spread << 4 << 0.0 << QPointF();
    QTest::newRow("every double, given width") << spread << 0 << 1e300 << QPointF();
    QTest::newRow("every double as the range") << spread << 0 << 0.0 << QPointF(-big, big);
    QTest::newRow("beyond half the range") << QVector<double>{-1e308, 1e308, 0, 1, 2, 3, 4, 5} << 0 << 0.0 << QPointF();
    QTest::newRow("denormals, automatic") << denormals << 0 << 0.0 << QPointF();
    QTest::newRow("denormals, given count") << denormals << 7 << 0.0 << QPointF();
    QTest::newRow("two denormals apart") << QVector<double>{0, tiny} << 3 << 0.0 << QPointF();
}

// Values at the ends of the double range or in its denormals bin without an
// overflow (the sanitizer build checks each conversion): every value lands
// in a bin whose edges hold it, and the chart draws them.
void TestSeries::histogramExtremes()
{
    QFETCH(QVector<double>, values);
    QFETCH(int, count);
    QFETCH(double, width);
    QFETCH(QPointF, range);
    HistogramSeries s;
    if (count)
        s.setBinCount(count);
    if (width > 0)
        s.setBinWidth(width);
    if (!range.isNull())
        s.setRange(range.x(), range.y());
    s.addValues(values);
    const QVector<HistogramSeries::Bin> bins = s.bins();
    QVERIFY(!bins.isEmpty());
    qint64 total = 0;
    for (const HistogramSeries::Bin &b : bins) {
        QVERIFY2(std::isfinite(b.lower) && std::isfinite(b.upper) && b.lower <= b.upper,
                 qPrintable(QStringLiteral("%1 to %2").arg(b.lower).arg(b.upper)));
        total += b.count;
    }
    QCOMPARE(total, qint64(values.size()));
    for (double v : values) {
        // A value on an edge belongs to the bin above it.
        const auto in = std::find_if(bins.begin(), bins.end(), [&](const HistogramSeries::Bin &b) {
            return v >= b.lower && (v < b.upper || (v == b.upper && &b == &bins.last()));
        });
        QVERIFY2(in != bins.end() && in->count > 0, qPrintable(QString::number(v)));
    }
    Frame f(-1, 1, 0, 10);
    s.setAxis(&f.x, &f.y);
    QImage img(150, 100, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    s.draw(&p);
    s.tooltip(f.pixel(0, 1));
}

// Going back to the automatic rule or the values' range bins as a series
// that never left them; the chart's bounds follow each change at once.
void TestSeries::histogramRuleChanges()
{
    const QVector<double> values{0, 1, 1, 2, 3, 5, 8, 13, 21, 34};
    HistogramSeries fresh, s;
    fresh.addValues(values);
    s.addValues(values);
    QSignalSpy binning(&s, &HistogramSeries::binningChanged);
    const auto same = [&] {
        const auto a = s.bins(), b = fresh.bins();
        if (a.size() != b.size())
            return false;
        for (int i = 0; i < a.size(); ++i)
            if (a[i].lower != b[i].lower || a[i].upper != b[i].upper || a[i].count != b[i].count)
                return false;
        return s.minX() == fresh.minX() && s.maxX() == fresh.maxX() && s.maxY() == fresh.maxY();
    };
    s.setBinWidth(10);
    QCOMPARE(s.maxX(), 40.0); // before anything reads the bins
    s.setAutomaticBins();
    QVERIFY(same());
    s.setBinCount(3);
    QCOMPARE(s.maxY(), 7.0);
    s.setAutomaticBins();
    s.setAutomaticBins(); // no change
    QVERIFY(same());
    s.setRange(-10, 10);
    QCOMPARE(s.minX(), -10.0);
    s.clearRange();
    s.clearRange(); // no change
    QVERIFY(same());
    QCOMPARE(binning.size(), 6);
}

void TestSeries::barLayouts_data()
{
    QTest::addColumn<QRectF>("view");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<double>("width"); // negative: pixels
    QTest::addColumn<int>("member");
    QTest::addColumn<int>("members");
    QTest::addColumn<QVector<double>>("below"); // x, y of the series under it
    QTest::addColumn<QPointF>("bar");
    QTest::addColumn<QRectF>("drawn"); // in values, x by y
    QTest::addColumn<QRectF>("bounds");
    QTest::addColumn<bool>("logValues");
    const QRectF view(0, 0, 10, 10), zoomed(3, 0, 4, 10);
    const QVector<double> none;
    QTest::newRow("data units") << view << false << 2.0 << 0 << 1 << none << QPointF(5, 3) << QRectF(4, 0, 2, 3) << QRectF(4, 0, 2, 3) << false;
    QTest::newRow("data units, zoomed in") << zoomed << false << 2.0 << 0 << 1 << none << QPointF(5, 3) << QRectF(4, 0, 2, 3) << QRectF(4, 0, 2, 3) << false;
    QTest::newRow("sideways") << view << true << 2.0 << 0 << 1 << none << QPointF(5, 3) << QRectF(0, 4, 3, 2) << QRectF(0, 4, 3, 2) << false;
    QTest::newRow("sideways, negative") << QRectF(-5, 0, 10, 10) << true << 2.0 << 0 << 1 << none << QPointF(5, -3) << QRectF(-3, 4, 3, 2) << QRectF(-3, 4, 3, 2) << false;
    QTest::newRow("grouped, second of two") << view << false << 2.0 << 1 << 2 << none << QPointF(5, 3) << QRectF(5, 0, 1, 3) << QRectF(4, 0, 2, 3) << false;
    QTest::newRow("grouped, last of four") << view << false << 4.0 << 3 << 4 << none << QPointF(5, 3) << QRectF(6, 0, 1, 3) << QRectF(3, 0, 4, 3) << false;
    QTest::newRow("grouped, pixels") << view << false << -52.0 << 1 << 2 << none << QPointF(5, 3) << QRectF(5, 0, 1, 3) << QRectF(4, 0, 2, 3) << false;
    // Positive values rest on the positive ones below, negative ones hang
    // under the negative ones; other x values and NaN do not count.
    const QVector<double> mixed{5, 1, 5, -1, 5, 1.5, 4, 7, 5, NaN, NaN, 1};
    QTest::newRow("stacked, positive") << QRectF(0, -5, 10, 10) << false << 2.0 << 0 << 1 << mixed << QPointF(5, 2) << QRectF(4, 2.5, 2, 2) << QRectF(4, 2.5, 2, 2) << false;
    QTest::newRow("stacked, negative") << QRectF(0, -5, 10, 10) << false << 2.0 << 0 << 1 << mixed << QPointF(5, -2) << QRectF(4, -3, 2, 2) << QRectF(4, -3, 2, 2) << false;
    QTest::newRow("stacked, sideways") << QRectF(-5, 0, 10, 10) << true << 2.0 << 0 << 1 << mixed << QPointF(5, 2) << QRectF(2.5, 4, 2, 2) << QRectF(2.5, 4, 2, 2) << false;
    // No zero line on a logarithmic axis: the bar starts at its lower end.
    QTest::newRow("logarithmic values") << QRectF(0, 1, 10, 9999) << false << 2.0 << 0 << 1 << none << QPointF(5, 100) << QRectF(4, 1, 2, 99) << QRectF(4, 0, 2, 100) << true;
}

// Where each layout puts a bar: its pixels, the bounds the chart scales to,
// and the bar that hit tests and tooltips find under the middle of it.
void TestSeries::barLayouts()
{
    QFETCH(QRectF, view);
    QFETCH(bool, horizontal);
    QFETCH(double, width);
    QFETCH(int, member);
    QFETCH(int, members);
    QFETCH(QVector<double>, below);
    QFETCH(QPointF, bar);
    QFETCH(QRectF, drawn);
    QFETCH(QRectF, bounds);
    QFETCH(bool, logValues);
    Frame f(view.left(), view.right(), view.top(), view.bottom());
    if (logValues) {
        f.y.setLogarithmic(true);
        f.y.d->updateTransform();
        drawn.setTop(f.y.min()); // the plot's lower edge, as for every bar there
    }
    BarSeries under, s;
    for (BarSeries *b : {&under, &s}) {
        b->setAxis(&f.x, &f.y);
        b->setOrientation(horizontal ? Qt::Horizontal : Qt::Vertical);
    }
    addOwn(&under, below);
    if (!below.isEmpty())
        QVERIFY(s.setStackedOn(&under));
    s.setBarWidthUnit(width < 0 ? BarSeries::Pixels : BarSeries::DataUnits);
    s.setBarWidth(std::fabs(width));
    s.setGroup(member, members);
    s.addXY(bar.x(), bar.y());
    const QRect got = inked(render(s)), want(f.pixel(drawn.left(), drawn.bottom()), f.pixel(drawn.right(), drawn.top()));
    if (logValues) // the value's pixel is fractional there
        QVERIFY2(qAbs(got.top() - want.top()) <= 1 && got.bottomRight() == want.bottomRight() && got.left() == want.left(), qPrintable(QStringLiteral("%1 %2").arg(got.top()).arg(want.top())));
    else
        QCOMPARE(got, want);
    QCOMPARE(::bounds(s), bounds);
    const QRect pixels(f.pixel(drawn.left(), drawn.bottom()), f.pixel(drawn.right(), drawn.top()));
    const QPoint middle = pixels.center();
    QCOMPARE(s.indexAt(middle, 0), 0);
    const QString value = horizontal ? f.x.labelString(bar.y()) : f.y.labelString(bar.y());
    QVERIFY2(s.tooltip(middle).endsWith(QStringLiteral("Y: ") + value), qPrintable(s.tooltip(middle)));
    QCOMPARE(s.indexAt(middle + QPoint(horizontal ? 0 : pixels.width(), horizontal ? pixels.height() : 0), 0), -1);
}

// Settings a host can get wrong: widths that are not widths, stacks that
// would loop, groups that do not exist. Each is refused and nothing moves;
// a real change is announced once.
void TestSeries::barSettings()
{
    BarSeries a, b, c;
    QSignalSpy widths(&a, &BarSeries::barWidthChanged), stacks(&b, &BarSeries::stackedOnChanged),
        groups(&a, &BarSeries::groupChanged);
    for (double bad : {0.0, -3.0, NaN, Inf, -Inf}) {
        a.setBarWidth(bad);
        QCOMPARE(a.barWidth(), 15.0);
    }
    a.setBarWidth(15);
    QCOMPARE(widths.count(), 0);
    a.setBarWidth(0.5);
    QCOMPARE(widths.count(), 1);
    QSignalSpy units(&a, &BarSeries::barWidthUnitChanged);
    a.setBarWidthUnit(BarSeries::Pixels); // as it is
    a.setBarWidthUnit(BarSeries::WidthUnit(7));
    QCOMPARE(units.count(), 0);
    QCOMPARE(a.barWidthUnit(), BarSeries::Pixels);
    a.addXY(1, 2);
    QTest::ignoreMessage(QtWarningMsg, "BarSeries::setStackedOn: refused, a series cannot rest on itself");
    QVERIFY(!a.setStackedOn(&a));
    QVERIFY(b.setStackedOn(&a));
    QVERIFY(c.setStackedOn(&b));
    QTest::ignoreMessage(QtWarningMsg, "BarSeries::setStackedOn: refused, the stack would be a cycle");
    QVERIFY(!a.setStackedOn(&c));
    QCOMPARE(a.stackedOn(), nullptr);
    QCOMPARE(stacks.count(), 1);
    QVERIFY(b.setStackedOn(&a)); // as it is already
    QCOMPARE(stacks.count(), 1);
    for (const QPoint &bad : {QPoint(2, 2), QPoint(-1, 2), QPoint(0, 0)})
        a.setGroup(bad.x(), bad.y());
    QCOMPARE(groups.count(), 0);
    QCOMPARE(QPoint(a.groupIndex(), a.groupSize()), QPoint(0, 1));
    QCOMPARE(a.pointsCount(), 1);
    {
        BarSeries gone;
        gone.addXY(1, 5);
        QVERIFY(a.setStackedOn(&gone));
        a.setBarWidthUnit(BarSeries::DataUnits);
        QCOMPARE(bounds(a), QRectF(0.75, 5, 0.5, 2));
    }
    QCOMPARE(a.stackedOn(), nullptr); // a deleted series leaves the stack
    a.setOrientation(Qt::Horizontal);
    QCOMPARE(bounds(a), QRectF(0, 0.75, 2, 0.5));
}

TAVRIN_TEST(TestSeries)
#include "tst_series.moc"
