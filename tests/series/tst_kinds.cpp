// What each kind draws of its own, at known pixels.
#include "fixtures.h"
#include "testmain.h"

#include <boxandwhiskersseries_p.h>

#include <QSignalSpy>

using namespace tavrintest;

class TestKinds : public QObject
{
    Q_OBJECT
private slots:
    void lines();
    void markers_data();
    void markers();
    void vectorMarkersMatchStamps_data();
    void vectorMarkersMatchStamps();
    void barsAndCandles();
    void band();
    void bandCornerFarBeyond_data();
    void bandCornerFarBeyond();
};

// Ends far beyond QPainter's range are cut exactly on the border, so a
// level line stays level across the plot; a marker line is three pixels
// wide from the y axis' max() to its min() while its x is in the view.
void TestKinds::lines()
{
    Frame f;
    std::unique_ptr<LineSeries> level(lineOf({{-1e300, 5}, {1e300, 5}}));
    level->setAxis(&f.x, &f.y);
    QCOMPARE(inked(render(*level)), QRect(0, f.pixel(0, 5).y(), 301, 1));
    for (double x : {5.0, f.x.max(), f.x.max() + 1e-6, NaN}) {
        VLine line(x, Qt::blue, 3);
        QImage img(301, 201, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        line.draw(&p);
        line.setAxis(&f.x, &f.y);
        line.draw(&p);
        p.end();
        QCOMPARE(!inked(img).isNull(), x <= f.x.max());
        if (x == 5.0)
            QCOMPARE(inked(img), QRect(f.pixel(5, 0).x() - 1, 0, 3, 201));
    }
    QCOMPARE(VLine(QDateTime(), Qt::red, 1).x(), 4294967295.0);
}

void TestKinds::markers_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("style");
    QTest::newRow("square") << int(kPoint) << int(PointSeries::psSquare);
    QTest::newRow("circle") << int(kPoint) << int(PointSeries::psCircle);
    QTest::newRow("other value as circle") << int(kPoint) << 7;
    QTest::newRow("min-max square") << int(kMinMax) << int(PointSeries::psSquare);
}

// A 7 x 7 marker centred on the point, filled, outlined in the pen colour,
// rebuilt at once when a colour changes; min-max points add caps as wide
// as the marker at both ends of their range. Centres outside the view are
// not drawn, a centre on its edge is.
void TestKinds::markers()
{
    QFETCH(int, kind);
    QFETCH(int, style);
    Frame f;
    std::unique_ptr<ChartSeries> s(makeSeries(kind, style));
    s->setAxis(&f.x, &f.y);
    addItem(s.get(), 5, 5, 2);
    const QPoint c = f.pixel(5, 5);
    QImage img = render(*s, QSize(301, 201), false, Qt::white);
    const QRect marker(c - QPoint(3, 3), QSize(7, 7));
    QCOMPARE(inked(img, qRgb(255, 255, 255)), kind == kPoint ? marker : marker | QRect(c.x() - 4, f.pixel(5, 7).y(), 8, 65));
    QCOMPARE(img.pixel(c), qRgb(255, 0, 0));
    QVERIFY(qRed(img.pixel(c - QPoint(3, 0))) < 160);
    QCOMPARE(qRed(img.pixel(c - QPoint(2, 2))) < 128, style == PointSeries::psSquare); // a square's corner is dark
    QSignalSpy refresh(s.get(), &ChartSeries::refresh);
    s->setColor(Qt::black);
    QCOMPARE(refresh.count(), 0);
    s->setFillColor(Qt::blue);
    s->setColor(Qt::green);
    img = render(*s);
    QCOMPARE(img.pixel(c), qRgb(0, 0, 255));
    QVERIFY(qGreen(img.pixel(c - QPoint(0, 3))) > 100 && qRed(img.pixel(c - QPoint(0, 3))) == 0);
    if (kind == kPoint) { // psPoint: a single pixel in the pen colour; at least size 3
        s->clear();
        addItem(s.get(), f.x.max() + 0.01, 5, 0);
        addItem(s.get(), 5, f.y.min() - 0.01, 0);
        QVERIFY(inked(render(*s)).isNull());
        addItem(s.get(), f.x.max() - 1e-9, 5, 0);
        const QRect cut = inked(render(*s));
        QVERIFY(cut.right() == 300 && cut.width() < 7 && cut.height() == 7);
        PointSeries dots;
        dots.setAxis(&f.x, &f.y);
        dots.addXY(5, 5);
        QCOMPARE(inked(render(dots)), QRect(c, QSize(1, 1)));
        static_cast<PointSeries *>(s.get())->setSize(1);
        QCOMPARE(inked(render(*s)).height(), 3);
    }
}

void TestKinds::vectorMarkersMatchStamps_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("penWidth");
    QTest::addColumn<bool>("antialiased");
    QTest::newRow("square 12 antialiased") << int(PointSeries::psSquare) << 12 << 1 << true;
    QTest::newRow("square 9 pen 3") << int(PointSeries::psSquare) << 9 << 3 << false;
    QTest::newRow("circle 12 antialiased") << int(PointSeries::psCircle) << 12 << 1 << true;
    QTest::newRow("circle 10 pen 2") << int(PointSeries::psCircle) << 10 << 2 << false;
}

// The SVG export draws vector markers; they must have the size and place
// of the stamps seen on screen, at whole and fractional pixel positions.
void TestKinds::vectorMarkersMatchStamps()
{
    QFETCH(int, style);
    QFETCH(int, size);
    QFETCH(int, penWidth);
    QFETCH(bool, antialiased);
    Frame f;
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

// Bars of 15 pixels plus the pen from the zero line, their bounds half a
// bar wider; candles with caps, a box over the whiskers and a median marker
// in the inverse of the fill; Gantt bars in their own colour or the fill.
void TestKinds::barsAndCandles()
{
    Frame f(0, 10, -5, 5);
    BarSeries bars;
    bars.setAxis(&f.x, &f.y);
    bars.setColor(Qt::blue);
    for (const QPointF &p : {QPointF(NaN, 4), QPointF(5, 4), QPointF(2, -3), QPointF(8, 1e9), QPointF(7, 0)})
        bars.addXY(p.x(), p.y()); // a NaN first bar still puts the zero line into the bounds
    const double half = f.x.pixelDeltaToPoint(15) / 2;
    QCOMPARE(QRectF(QPointF(bars.minX(), bars.minY()), QPointF(bars.maxX(), bars.maxY())),
             QRectF(QPointF(2 - half, -3), QPointF(8 + half, 1e9)));
    QImage img = render(bars);
    const QRect up = inked(img.copy(f.area(4, 0, 6, 5))).translated(f.area(4, 0, 6, 5).topLeft());
    const QPoint zero = f.pixel(5, 0);
    QCOMPARE(up, QRect(QPoint(zero.x() - 8, f.pixel(5, 4).y()), QPoint(zero.x() + 7, zero.y())));
    QCOMPARE(img.pixel(up.left(), up.center().y()), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(up.center()), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(f.pixel(2, -2)), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(f.pixel(8, 0).x(), 1), qRgb(255, 0, 0)); // far above: the whole column
    QCOMPARE(qAlpha(img.pixel(f.pixel(7, 0) - QPoint(0, 2))), 0);

    for (const QColor &fill : {QColor(Qt::red), QColor(Qt::blue), QColor(Qt::cyan)}) {
        BoxAndWhiskersSeries s;
        s.setAxis(&f.x, &f.y);
        s.setFillColor(fill);
        s.addCandle(5, 0, -4, 4, -2, 2);
        s.addCandle(8, 0, -Inf, 1e300, 1, 2);
        img = render(s);
        const QRgb black = qRgb(0, 0, 0);
        QCOMPARE(img.pixel(f.pixel(5, 3)), black);
        QCOMPARE(img.pixel(f.pixel(5, 4) - QPoint(2, 0)), black);
        QCOMPARE(qAlpha(img.pixel(f.pixel(5, 4) - QPoint(5, 0))), 0);
        QCOMPARE(img.pixel(f.pixel(5, 1.5)), fill.rgb());
        QCOMPARE(img.pixel(f.pixel(5, 0)), qRgb(255 - fill.red(), 255 - fill.green(), 255 - fill.blue()));
        QCOMPARE(s.d->medianMarker.size(), QSize(7, 7));
        QCOMPARE(img.pixel(f.pixel(8, 0).x(), 0), black); // whiskers reach both ends of the view
        QCOMPARE(img.pixel(f.pixel(8, 0).x(), 200), black);
    }

    GanttSeries gantt;
    gantt.setAxis(&f.x, &f.y);
    gantt.setFillColor(Qt::green);
    gantt.addBar(1, 3, 2, Qt::blue, QString());
    gantt.addBar(4, 6, 2, QColor(), QString());
    gantt.addBar(-1e300, 1e300, -2, Qt::magenta, QString());
    img = render(gantt);
    QCOMPARE(gantt.fillColor(), QColor(Qt::green));
    QCOMPARE(img.pixel(f.pixel(2, 2)), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(f.pixel(5, 2)), qRgb(0, 255, 0));
    QCOMPARE(qAlpha(img.pixel(f.pixel(3.5, 2))), 0);
    QCOMPARE(inked(img.copy(QRect(f.pixel(5, 3), f.pixel(5.1, 1)))).height(), 16);
    QCOMPARE(img.pixel(1, f.pixel(0, -2).y()), qRgb(255, 0, 255));
    QCOMPARE(img.pixel(299, f.pixel(0, -2).y()), qRgb(255, 0, 255));
}

// Two lines with a hatch between them drawn over the lines; a crossing
// band fills both triangles; the order of the points does not matter.
void TestKinds::band()
{
    Frame f;
    HighLowSeries s, cross, backward;
    for (HighLowSeries *band : {&s, &cross, &backward})
        band->setAxis(&f.x, &f.y);
    s.setColor(Qt::blue);
    s.addPoint(2, 7, 3);
    s.addPoint(8, 7, 3);
    const QImage img = render(s);
    const QRgb green = qRgb(0, 255, 0);
    QCOMPARE(img.pixel(f.pixel(5, 7)), qRgb(0, 0, 255));
    const QRect inside = f.area(3, 4, 7, 6);
    const int hatch = countColor(img, green, inside);
    QVERIFY(hatch > inside.width() * inside.height() / 20 && hatch < inside.width() * inside.height() / 2);
    QCOMPARE(countColor(img, green, f.area(0, 7.5, 10, 10)) + countColor(img, green, f.area(0, 0, 1.5, 10)), 0);
    QCOMPARE(countColor(img, qRgb(255, 0, 0)), 0); // the series' brush plays no part
    s.setWidth(7);
    QVERIFY(countColor(render(s), green, QRect(f.pixel(3, 7) + QPoint(0, 1), f.pixel(7, 7) + QPoint(0, 2))) > 0);
    cross.addPoint(1, 9, 1);
    cross.addPoint(9, 1, 9);
    backward.addPoint(9, 1, 9);
    backward.addPoint(1, 9, 1);
    const QImage x = render(cross);
    QVERIFY(countColor(x, green, f.area(1.5, 4, 3, 6)) > 10 && countColor(x, green, f.area(7, 4, 8.5, 6)) > 10);
    QCOMPARE(countColor(x, green, f.area(4.5, 7, 5.5, 9)), 0);
    QCOMPARE(render(backward), x);
}

void TestKinds::bandCornerFarBeyond_data()
{
    QTest::addColumn<int>("corner");
    for (int corner = 0; corner < 4; ++corner)
        QTest::addRow("corner %d", corner) << corner;
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

TAVRIN_TEST(TestKinds)
#include "tst_kinds.moc"
