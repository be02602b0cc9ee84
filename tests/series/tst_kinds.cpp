// What each kind draws and keeps of its own: pixels at known places, the
// duplicate rule of the marker kinds, the line's editing calls.
#include "fixtures.h"
#include "testmain.h"

#include <boxandwhiskersseries_p.h>
#include <pointseries_p.h>

#include <QSignalSpy>

using namespace tavrintest;

class TestKinds : public QObject
{
    Q_OBJECT
private slots:
    void lineEditing();
    void levelLineFarBeyond();
    void vline_data();
    void vline();
    void duplicates_data();
    void duplicates();
    void stampedMarkers_data();
    void stampedMarkers();
    void markerFollowsColours_data();
    void markerFollowsColours();
    void vectorMarkersMatchStamps_data();
    void vectorMarkersMatchStamps();
    void minMaxCaps();
    void bars();
    void candle_data();
    void candle();
    void band();
    void bandCornerFarBeyond_data();
    void bandCornerFarBeyond();
    void ganttColours();
};

void TestKinds::lineEditing()
{
    LineSeries s;
    for (const QPointF &p : {QPointF(5, 2), QPointF(6, 4), QPointF(5, 4)})
        s.addPoint(p);
    s.addMid(5, 10); // averages with the last point of that x
    s.addMid(7, 1);  // no point of that x: nothing
    QCOMPARE(s.points(), (QList<QPointF>{{5, 2}, {6, 4}, {5, 7}}));
    QCOMPARE(s.maxY(), 7.0);
    s.changePoint(3, QPointF(9, 9));
    s.changePoint(-1, QPointF(9, 9));
    s.changePoint(0, QPointF(2, -3));
    QCOMPARE(s.points().first(), QPointF(2, -3));
    QCOMPARE(s.minY(), -3.0);
    s[1] = QPointF(1, 1);
    QCOMPARE(s.points().at(1), QPointF(1, 1));
    // Out-of-range writes land in a scratch point that never leaks into
    // later out-of-range reads.
    s[5] = QPointF(42, 42);
    QCOMPARE(s[7], QPointF(0, 0));
    QCOMPARE(s[-1], QPointF(0, 0));

    LineSeries same, other;
    for (double v : {7.0, 8.0, 9.0})
        same.addXY(v, v - 6);
    other.addXY(0, 1);
    s.substract(&same);
    QCOMPARE(s.points(), (QList<QPointF>{{2, -4}, {1, -1}, {5, 4}}));
    s.substract(&other); // other count: nothing
    s.substract(nullptr);
    QCOMPARE(s.points(), (QList<QPointF>{{2, -4}, {1, -1}, {5, 4}}));
    QCOMPARE(LineSeries(s).pointsCount(), 0); // a copy is a new, empty series
}

// Ends far beyond QPainter's range are cut exactly on the border, so a
// level line stays level and spans the plot.
void TestKinds::levelLineFarBeyond()
{
    Frame f;
    LineSeries level;
    level.setAxis(&f.x, &f.y);
    level.addXY(-1e300, 5);
    level.addXY(1e300, 5);
    const QImage img = render(level);
    const int row = f.pixel(0, 5).y();
    int across = 0;
    for (int x = 0; x < img.width(); ++x)
        across += qAlpha(img.pixel(x, row)) != 0;
    QCOMPARE(across, img.width());
    QCOMPARE(inked(img).height(), 1);
}

void TestKinds::vline_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<bool>("drawn");
    const Frame f;
    QTest::newRow("inside") << 5.0 << true;
    QTest::newRow("at max()") << f.x.max() << true;
    QTest::newRow("just past max()") << f.x.max() + 1e-6 << false;
    QTest::newRow("NaN") << NaN << false;
}

void TestKinds::vline()
{
    QFETCH(double, x);
    QFETCH(bool, drawn);
    Frame f;
    VLine line(x, Qt::blue, 3);
    QImage img(301, 201, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    line.draw(&p); // no axes yet: nothing
    line.setAxis(&f.x, &f.y);
    line.draw(&p);
    p.end();
    const QRect ink = inked(img);
    QCOMPARE(!ink.isNull(), drawn);
    // Three pixels wide, from the axis' y max() to its min().
    if (drawn && x == 5.0)
        QCOMPARE(ink, QRect(f.pixel(5, 0).x() - 1, 0, 3, 201));
    QCOMPARE(VLine(QDateTime(), Qt::red, 1).x(), 4294967295.0);
}

void TestKinds::duplicates_data()
{
    QTest::addColumn<QVector<QPointF>>("added");
    QTest::addColumn<int>("stored");
    QTest::newRow("same point") << QVector<QPointF>{{1, 2}, {1, 2}} << 1;
    QTest::newRow("relative tolerance") << QVector<QPointF>{{1, 2}, {1, 2.0000000000001}} << 1;
    QTest::newRow("beyond tolerance") << QVector<QPointF>{{1, 2}, {1, 2.00000001}} << 2;
    QTest::newRow("zero rule") << QVector<QPointF>{{0, 0}, {0, 1e-13}, {-1e-13, -0.0}} << 1;
    QTest::newRow("tiny is not zero") << QVector<QPointF>{{1e-13, 1}, {2e-13, 1}} << 2;
    QTest::newRow("NaN equals nothing") << QVector<QPointF>{{NaN, 1}, {NaN, 1}} << 2;
    // |-inf - inf| * 1e12 <= inf: QPointF takes opposite infinities as equal.
    QTest::newRow("infinities") << QVector<QPointF>{{Inf, 1}, {Inf, 1}, {-Inf, 1}} << 2;
}

// A repeated point is stored once but still announced every time; a
// duplicate min-max point still widens the bounds by its range.
void TestKinds::duplicates()
{
    QFETCH(QVector<QPointF>, added);
    QFETCH(int, stored);
    PointSeries s;
    QSignalSpy spy(&s, &ChartSeries::pointAdded);
    MinMaxPointSeries m;
    for (int i = 0; i < added.size(); ++i) {
        s.addXY(added[i].x(), added[i].y());
        m.addPoint(added[i].x(), added[i].y(), -i, i);
    }
    QCOMPARE(s.pointsCount(), stored);
    QCOMPARE(m.pointsCount(), stored);
    QCOMPARE(spy.count(), added.size());
    if (!std::isnan(added[0].x()))
        QCOMPARE(m.maxY(), double(added.size() - 1));
}

void TestKinds::stampedMarkers_data()
{
    QTest::addColumn<int>("style");
    QTest::newRow("square") << int(PointSeries::psSquare);
    QTest::newRow("circle") << int(PointSeries::psCircle);
    QTest::newRow("other value as circle") << 7;
}

void TestKinds::stampedMarkers()
{
    QFETCH(int, style);
    Frame f;
    const QPoint c = f.pixel(5, 5);
    PointSeries s{PointSeries::PointStyle(style)};
    s.setAxis(&f.x, &f.y);
    s.addXY(5, 5);
    const QImage img = render(s, QSize(301, 201), false, Qt::white);
    // One 7 x 7 marker centred on the point, filled red, outlined in black.
    QCOMPARE(inked(img, qRgb(255, 255, 255)), QRect(c - QPoint(3, 3), QSize(7, 7)));
    QCOMPARE(img.pixel(c), qRgb(255, 0, 0));
    QVERIFY(qRed(img.pixel(c - QPoint(3, 0))) < 160);
    // Inside the corner a square is dark, a circle light.
    QCOMPARE(qRed(img.pixel(c - QPoint(2, 2))) < 128, style == PointSeries::psSquare);

    // On the edge counts as inside, just beyond does not.
    PointSeries edge(PointSeries::psSquare);
    edge.setAxis(&f.x, &f.y);
    edge.addXY(f.x.max() + 0.01, 5);
    edge.addXY(5, f.y.min() - 0.01);
    QVERIFY(inked(render(edge)).isNull());
    edge.addXY(f.x.max() - 1e-9, 5);
    const QRect cut = inked(render(edge));
    QVERIFY(cut.right() == 300 && cut.width() < 7 && cut.height() == 7);

    // psPoint: a single pixel in the pen colour.
    PointSeries dots;
    dots.setAxis(&f.x, &f.y);
    dots.setColor(Qt::blue);
    dots.addXY(5, 5);
    const QImage dotImg = render(dots);
    QCOMPARE(inked(dotImg), QRect(c, QSize(1, 1)));
    QCOMPARE(dotImg.pixel(c), qRgb(0, 0, 255));
}

void TestKinds::markerFollowsColours_data()
{
    QTest::addColumn<bool>("minMax");
    QTest::newRow("points") << false;
    QTest::newRow("min-max points") << true;
}

// A colour change reaches the stamped marker at once, without a refresh
// for what changes nothing; setSize keeps at least 3 pixels.
void TestKinds::markerFollowsColours()
{
    QFETCH(bool, minMax);
    Frame f;
    std::unique_ptr<ChartSeries> s(makeSeries(minMax ? kMinMax : kPoint, 1));
    QSignalSpy refresh(s.get(), &ChartSeries::refresh);
    s->setColor(Qt::black);
    s->setFillColor(Qt::red);
    QCOMPARE(refresh.count(), 0);
    s->setAxis(&f.x, &f.y);
    addItem(s.get(), 5, 5, 0);
    s->setFillColor(Qt::blue);
    s->setColor(Qt::green);
    const QImage img = render(*s);
    const QPoint c = f.pixel(5, 5);
    QCOMPARE(img.pixel(c), qRgb(0, 0, 255));
    const QRgb edge = img.pixel(c - QPoint(0, 3));
    QVERIFY(qGreen(edge) > 100 && qRed(edge) == 0 && qBlue(edge) == 0);
    if (minMax)
        static_cast<MinMaxPointSeries *>(s.get())->setSize(1);
    else
        static_cast<PointSeries *>(s.get())->setSize(1);
    QCOMPARE(inked(render(*s)).height(), 3);
}

void TestKinds::vectorMarkersMatchStamps_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("penWidth");
    QTest::addColumn<bool>("antialiased");
    for (int style : {int(PointSeries::psSquare), int(PointSeries::psCircle)}) {
        const char *name = style == PointSeries::psSquare ? "square" : "circle";
        QTest::addRow("%s 7", name) << style << 7 << 1 << false;
        QTest::addRow("%s 12 antialiased", name) << style << 12 << 1 << true;
        QTest::addRow("%s 10 pen 2", name) << style << 10 << 2 << false;
        QTest::addRow("%s 9 pen 3 antialiased", name) << style << 9 << 3 << true;
    }
}

// The SVG export draws vector markers; they must have the size and place
// of the stamps seen on screen.
void TestKinds::vectorMarkersMatchStamps()
{
    QFETCH(int, style);
    QFETCH(int, size);
    QFETCH(int, penWidth);
    QFETCH(bool, antialiased);
    Frame f;
    // Whole, half and odd fractional pixel positions.
    for (const QPointF &place : {QPointF(2, 2), QPointF(4.01, 6.0313), QPointF(6.03, 3.07), QPointF(8.0577, 8.13)}) {
        PointSeries s{PointSeries::PointStyle(style)};
        s.setWidth(penWidth);
        s.setSize(size);
        s.setAxis(&f.x, &f.y);
        s.addXY(place.x(), place.y());
        const QRect stamped = inked(render(s, QSize(301, 201), antialiased));
        s.setVectorRendering(true);
        QCOMPARE(stamped.size(), QSize(size, size));
        QCOMPARE(inked(render(s, QSize(301, 201), antialiased)), stamped);
    }
}

// Caps at max and min as wide as the marker, the range line between them,
// the marker over it.
void TestKinds::minMaxCaps()
{
    Frame f;
    MinMaxPointSeries s(MinMaxPointSeries::psSquare);
    s.setAxis(&f.x, &f.y);
    s.setColor(Qt::blue);
    s.addPoint(5, 5, 3, 7);
    const QImage img = render(s);
    const QPoint c = f.pixel(5, 5), top = f.pixel(5, 7), bottom = f.pixel(5, 3);
    QCOMPARE(inked(img), QRect(QPoint(c.x() - 4, top.y()), QPoint(c.x() + 3, bottom.y())));
    for (const QPoint &p : {top, bottom, top + QPoint(-4, 0), bottom + QPoint(3, 0), (top + c) / 2})
        QCOMPARE(img.pixel(p), qRgb(0, 0, 255));
    QCOMPARE(qAlpha(img.pixel((top + c) / 2 + QPoint(1, 0))), 0);
    QCOMPARE(img.pixel(c), qRgb(255, 0, 0));
}

void TestKinds::bars()
{
    Frame f(0, 10, -5, 5);
    BarSeries s;
    QCOMPARE(QRectF(QPointF(s.minX(), s.minY()), QPointF(s.maxX(), s.maxY())).isValid(), false);
    s.setAxis(&f.x, &f.y);
    s.setColor(Qt::blue);
    s.addXY(NaN, 4); // a NaN first bar still puts the zero line into the bounds
    s.addXY(5, 4);
    s.addXY(2, -3);
    s.addXY(8, 1e9);
    s.addXY(7, 0);
    // Bounds take in half a bar width (15 pixels) each side.
    const double half = f.x.pixelDeltaToPoint(15) / 2;
    QCOMPARE(s.minX(), 2 - half);
    QCOMPARE(s.maxX(), 8 + half);
    QCOMPARE(s.minY(), -3.0);
    const QImage img = render(s);
    // 15 pixels plus the pen across, from the zero line to the value.
    const QRect up = inked(img.copy(f.area(4, 0, 6, 5))).translated(f.area(4, 0, 6, 5).topLeft());
    const QPoint zero = f.pixel(5, 0), four = f.pixel(5, 4);
    QCOMPARE(up, QRect(QPoint(zero.x() - 8, four.y()), QPoint(zero.x() + 7, zero.y())));
    QCOMPARE(img.pixel(up.left(), (up.top() + up.bottom()) / 2), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(up.center()), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(f.pixel(2, -2)), qRgb(255, 0, 0));         // hanging from the zero line
    QCOMPARE(qAlpha(img.pixel(f.pixel(2, 1))), 0);
    QCOMPARE(img.pixel(f.pixel(8, 0).x(), 1), qRgb(255, 0, 0));   // far above: the whole column
    QCOMPARE(qAlpha(img.pixel(f.pixel(7, 0) - QPoint(0, 2))), 0); // flat: nothing
}

void TestKinds::candle_data()
{
    QTest::addColumn<QColor>("fill");
    QTest::addColumn<QColor>("marker");
    QTest::newRow("default red") << QColor() << QColor(Qt::cyan);
    QTest::newRow("blue") << QColor(Qt::blue) << QColor(Qt::yellow);
    // The chart's fourth palette colour: a fixed cyan marker would vanish.
    QTest::newRow("cyan") << QColor(Qt::cyan) << QColor(Qt::red);
}

// Whiskers with caps, a box between the quartiles over them, and a median
// marker in the inverse of the fill.
void TestKinds::candle()
{
    QFETCH(QColor, fill);
    QFETCH(QColor, marker);
    Frame f;
    BoxAndWhiskersSeries s;
    s.setAxis(&f.x, &f.y);
    if (fill.isValid())
        s.setFillColor(fill);
    s.addCandle(5, 5, 1, 9, 3, 7);
    s.addCandle(8, 5, -Inf, 1e300, 4, 6);
    const QImage img = render(s);
    const QRgb black = qRgb(0, 0, 0);
    const QPoint c = f.pixel(5, 5);
    QCOMPARE(img.pixel(f.pixel(5, 8)), black);
    QCOMPARE(img.pixel(f.pixel(5, 2)), black);
    QCOMPARE(img.pixel(f.pixel(5, 9) - QPoint(2, 0)), black);
    QCOMPARE(qAlpha(img.pixel(f.pixel(5, 9) - QPoint(5, 0))), 0);
    QCOMPARE(img.pixel(f.pixel(5, 6.5)), s.fillColor().rgb());
    QCOMPARE(img.pixel(c), marker.rgb());
    QCOMPARE(s.d->medianMarker.size(), QSize(7, 7));
    // Whiskers far beyond the view still reach both of its ends.
    QCOMPARE(img.pixel(f.pixel(8, 0).x(), 0), black);
    QCOMPARE(img.pixel(f.pixel(8, 0).x(), 200), black);
}

// Two lines with a hatch between them drawn over the lines; a crossing
// band fills both triangles; order of the points does not matter.
void TestKinds::band()
{
    Frame f;
    HighLowSeries s;
    s.setAxis(&f.x, &f.y);
    s.setColor(Qt::blue);
    s.addPoint(2, 7, 3);
    s.addPoint(8, 7, 3);
    const QImage img = render(s);
    const QRgb green = qRgb(0, 255, 0);
    QCOMPARE(img.pixel(f.pixel(5, 7)), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(f.pixel(5, 3)), qRgb(0, 0, 255));
    const QRect inside = f.area(3, 4, 7, 6);
    const int hatch = countColor(img, green, inside);
    QVERIFY(hatch > inside.width() * inside.height() / 20 && hatch < inside.width() * inside.height() / 2);
    QCOMPARE(countColor(img, green, f.area(0, 7.5, 10, 10)), 0);
    QCOMPARE(countColor(img, green, f.area(0, 0, 1.5, 10)), 0);
    QCOMPARE(countColor(img, qRgb(255, 0, 0)), 0); // the series' brush plays no part
    s.setWidth(7);
    const QImage wide = render(s);
    const QRect innerHalf(f.pixel(3, 7) + QPoint(0, 1), f.pixel(7, 7) + QPoint(0, 2));
    QVERIFY(countColor(wide, green, innerHalf) > 0);

    HighLowSeries cross, backward;
    cross.setAxis(&f.x, &f.y);
    backward.setAxis(&f.x, &f.y);
    cross.addPoint(1, 9, 1);
    cross.addPoint(9, 1, 9);
    backward.addPoint(9, 1, 9);
    backward.addPoint(1, 9, 1);
    const QImage x = render(cross);
    QVERIFY(countColor(x, green, f.area(1.5, 4, 3, 6)) > 10);
    QVERIFY(countColor(x, green, f.area(7, 4, 8.5, 6)) > 10);
    QCOMPARE(countColor(x, green, f.area(4.5, 7, 5.5, 9)), 0);
    QCOMPARE(render(backward), x);
}

void TestKinds::bandCornerFarBeyond_data()
{
    QTest::addColumn<int>("corner");
    QTest::newRow("first high") << 0;
    QTest::newRow("second high") << 1;
    QTest::newRow("second low") << 2;
    QTest::newRow("first low") << 3;
}

// One corner of the band far beyond the pixel range: the band is cut there
// and still fills the view above the other line.
void TestKinds::bandCornerFarBeyond()
{
    QFETCH(int, corner);
    double v[4] = {5, 5, 6, 6}; // first y1, second y1, second y2, first y2
    v[corner] = 1e300;
    Frame f;
    HighLowSeries s;
    s.setAxis(&f.x, &f.y);
    s.addPoint(2, v[0], v[3]);
    s.addPoint(8, v[1], v[2]);
    const QImage img = render(s);
    QVERIFY(countColor(img, qRgb(0, 255, 0), f.area(4.5, 7, 5.5, 9)) > 20);
    QCOMPARE(countColor(img, qRgb(0, 255, 0), f.area(1, 1, 9, 4.5)), 0);
}

// Each bar in its own colour or the series' fill; the series keeps its fill.
void TestKinds::ganttColours()
{
    Frame f(0, 10, 0, 4);
    GanttSeries s;
    s.setAxis(&f.x, &f.y);
    s.setFillColor(Qt::green);
    s.addBar(1, 3, 2, Qt::blue, QString());
    s.addBar(4, 6, 2, QColor(), QString());
    s.addBar(7, 9, 2, Qt::magenta, QString());
    s.addBar(-1e300, 1e300, 1, QColor(), QString());
    const QImage img = render(s);
    QCOMPARE(s.fillColor(), QColor(Qt::green));
    QCOMPARE(img.pixel(f.pixel(2, 2)), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(f.pixel(5, 2)), qRgb(0, 255, 0));
    QCOMPARE(img.pixel(f.pixel(8, 2)), qRgb(255, 0, 255));
    QCOMPARE(qAlpha(img.pixel(f.pixel(3.5, 2))), 0);
    QCOMPARE(img.pixel(f.pixel(1, 2)), qRgb(0, 0, 0));
    // 15 pixels high with its outline, across the whole view when far.
    const QRect bar = inked(img.copy(QRect(f.pixel(5, 2.6), f.pixel(5.1, 1.4))));
    QCOMPARE(bar.height(), 16);
    QCOMPARE(img.pixel(1, f.pixel(0, 1).y()), qRgb(0, 255, 0));
    QCOMPARE(img.pixel(299, f.pixel(0, 1).y()), qRgb(0, 255, 0));
}

TAVRIN_TEST(TestKinds)
#include "tst_kinds.moc"
