#include "testmain.h"
#include "testutil.h"

#include <axes.h>
#include <axis.h>
#include <axis_p.h>
#include <chartwidget.h>
#include <highlowseries.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

struct Frame {
    Axis x{Axis::atBottom};
    Axis y{Axis::atLeft};
    Frame(double x0, double x1, double y0, double y1, int w = 300, int h = 200)
    {
        x.setRange(x0, x1);
        y.setRange(y0, y1);
        x.d->setLength(w);
        y.d->setLength(h);
    }
    // Pixel rectangle between two value corners.
    QRect area(double x0, double y0, double x1, double y1) const
    {
        return QRect(QPoint(int(x.pointToPixel(x0)), int(y.pointToPixel(y1))),
                     QPoint(int(x.pointToPixel(x1)), int(y.pointToPixel(y0))));
    }
};

QImage render(ChartSeries &s, int w = 300, int h = 200)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    s.draw(&p);
    return img;
}

const QRgb green = qRgb(0, 255, 0);
const QRgb black = qRgb(0, 0, 0);

} // namespace

class TestHighLowSeries : public QObject
{
    Q_OBJECT
private slots:
    void rows_data();
    void rows();
    void pointsEditsBypassBounds();
    void drawnOrNot_data();
    void drawnOrNot();
    void bandPixels();
    void crossingBandFillsBothTriangles();
    void backwardsSegmentDrawsLikeForward();
    void farValuesStayOnScreen();
    void icon();
    void lookAtIt();
};

void TestHighLowSeries::rows_data()
{
    QTest::addColumn<int>("how");
    QTest::addColumn<QList<double>>("row");
    QTest::newRow("values") << 0 << QList<double>{2, 6, 3};
    QTest::newRow("struct") << 1 << QList<double>{2, 6, 3};
    QTest::newRow("date-time") << 2 << QList<double>{1704164645, 6, 3};
    QTest::newRow("invalid date-time") << 3 << QList<double>{4294967295.0, 6, 3};
    QTest::newRow("addXY") << 4 << QList<double>{2, 6, 6};
}

void TestHighLowSeries::rows()
{
    QFETCH(int, how);
    QFETCH(QList<double>, row);
    HighLowSeries s;
    QSignalSpy added(&s, &ChartSeries::pointAdded);
    s.addPoint(1, 5, 2);
    switch (how) {
    case 0: s.addPoint(2, 6, 3); break;
    case 1: s.addPoint(HighLowSeries::HighLowPoint{2, 6, 3}); break;
    case 2: s.addPoint(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC), 6, 3); break;
    case 3: s.addPoint(QDateTime(), 6, 3); break;
    case 4: s.addXY(2, 6); break;
    }
    QCOMPARE(s.type(), ChartSeries::stHighLow);
    QCOMPARE(s.dataAxisString(), QStringLiteral("X;Y1;Y2"));
    QCOMPARE(s.pointsCount(), 2);
    const QList<QVariant> r = s.point(1);
    QCOMPARE(r.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(r.at(i).userType(), int(QMetaType::Double));
        QCOMPARE(r.at(i).toDouble(), row.at(i));
    }
    QVERIFY(s.point(2).isEmpty());
    // Both values of each point are announced and widen the bounds.
    QCOMPARE(added.count(), 4);
    QCOMPARE(added.at(2), (QList<QVariant>{row.at(0), row.at(1)}));
    QCOMPARE(added.at(3), (QList<QVariant>{row.at(0), row.at(2)}));
    QCOMPARE(s.minY(), 2.0);
    QCOMPARE(s.maxY(), 6.0);
    QCOMPARE(s.tooltip(QPoint(0, 0)), QString());
    QCOMPARE(s.metaObject()->className(), "HighLowSeries");
}

void TestHighLowSeries::pointsEditsBypassBounds()
{
    HighLowSeries s;
    s.addPoint(1, 5, 2);
    QSignalSpy added(&s, &ChartSeries::pointAdded);
    s.points().append(HighLowSeries::HighLowPoint{9, 100, -100});
    s.points()[0].y1 = 50;
    QCOMPARE(s.pointsCount(), 2);
    QCOMPARE(s.point(0).at(1).toDouble(), 50.0);
    QCOMPARE(s.maxY(), 5.0);
    QCOMPARE(s.maxX(), 1.0);
    QCOMPARE(added.count(), 0);
    s.clear();
    QCOMPARE(s.pointsCount(), 0);
    QVERIFY(std::isnan(s.maxY()));
}

void TestHighLowSeries::drawnOrNot_data()
{
    QTest::addColumn<QList<double>>("points"); // groups of three
    QTest::addColumn<bool>("drawn");
    QTest::newRow("one point") << QList<double>{5, 2, 8} << false;
    QTest::newRow("four equal values") << QList<double>{2, 5, 5, 8, 5, 5} << false;
    QTest::newRow("same x") << QList<double>{5, 2, 8, 5, 3, 7} << false;
    QTest::newRow("outside the view") << QList<double>{12, 2, 8, 18, 2, 8} << false;
    QTest::newRow("NaN") << QList<double>{2, 2, 8, 8, std::nan(""), 7} << false;
    QTest::newRow("flat but distinct values") << QList<double>{2, 5, 6, 8, 5, 6} << true;
}

void TestHighLowSeries::drawnOrNot()
{
    QFETCH(QList<double>, points);
    QFETCH(bool, drawn);
    Frame f(0, 10, 0, 10);
    HighLowSeries s;
    s.setAxis(&f.x, &f.y);
    for (int i = 0; i + 2 < points.size(); i += 3)
        s.addPoint(points[i], points[i + 1], points[i + 2]);
    const QImage img = render(s);
    int painted = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            painted += qAlpha(img.pixel(x, y)) ? 1 : 0;
    QCOMPARE(painted > 0, drawn);
}

void TestHighLowSeries::bandPixels()
{
    Frame f(0, 10, 0, 10);
    HighLowSeries s;
    s.setAxis(&f.x, &f.y);
    s.setColor(Qt::blue);
    s.addPoint(2, 7, 3);
    s.addPoint(8, 7, 3);
    const QImage img = render(s);
    const int x = int(f.x.pointToPixel(5));
    QCOMPARE(img.pixel(x, int(f.y.pointToPixel(7))), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(x, int(f.y.pointToPixel(3))), qRgb(0, 0, 255));

    const QRect inside = f.area(3, 4, 7, 6);
    const int hatch = tavrintest::countColor(img, green, inside);
    // Dense6Pattern: a sparse hatch, well under half the pixels.
    QVERIFY(hatch > inside.width() * inside.height() / 20);
    QVERIFY(hatch < inside.width() * inside.height() / 2);
    QCOMPARE(tavrintest::countColor(img, green, f.area(0, 7.5, 10, 10)), 0);
    QCOMPARE(tavrintest::countColor(img, green, f.area(0, 0, 10, 2.5)), 0);
    QCOMPARE(tavrintest::countColor(img, green, f.area(0, 0, 1.5, 10)), 0);
    // The brush of the series plays no part.
    QCOMPARE(tavrintest::countColor(img, qRgb(255, 0, 0)), 0);

    // The hatch goes on after the lines: a wide line's inner half shows it.
    s.setWidth(7);
    const QImage wide = render(s);
    const int y7 = int(f.y.pointToPixel(7));
    const QRect innerHalf(int(f.x.pointToPixel(3)), y7 + 1, int(f.x.pointToPixel(7)) - int(f.x.pointToPixel(3)), 2);
    QVERIFY(tavrintest::countColor(wide, green, innerHalf) > 0);
    QVERIFY(tavrintest::countColor(wide, qRgb(0, 0, 255), innerHalf) > 0);
}

void TestHighLowSeries::crossingBandFillsBothTriangles()
{
    Frame f(0, 10, 0, 10);
    HighLowSeries s;
    s.setAxis(&f.x, &f.y);
    s.addPoint(1, 9, 1);
    s.addPoint(9, 1, 9);
    const QImage img = render(s);
    QVERIFY(tavrintest::countColor(img, green, f.area(1.5, 4, 3, 6)) > 10); // left triangle
    QVERIFY(tavrintest::countColor(img, green, f.area(7, 4, 8.5, 6)) > 10); // right triangle
    QCOMPARE(tavrintest::countColor(img, green, f.area(4.5, 7, 5.5, 9)), 0); // above the crossing
    QCOMPARE(tavrintest::countColor(img, green, f.area(4.5, 1, 5.5, 3)), 0); // below it
}

void TestHighLowSeries::backwardsSegmentDrawsLikeForward()
{
    Frame f(0, 10, 0, 10);
    HighLowSeries forward, backward;
    forward.setAxis(&f.x, &f.y);
    backward.setAxis(&f.x, &f.y);
    forward.addPoint(2, 8, 4);
    forward.addPoint(8, 6, 2);
    backward.addPoint(8, 6, 2);
    backward.addPoint(2, 8, 4);
    QCOMPARE(render(backward), render(forward));
}

void TestHighLowSeries::farValuesStayOnScreen()
{
    // A zoomed-in view of a band whose upper edge lies far above it: the
    // hatch must still fill the view above the lower line.
    Frame f(0, 10, 0, 10);
    HighLowSeries s;
    s.setAxis(&f.x, &f.y);
    s.addPoint(-1e300, 5, 1e300);
    s.addPoint(1e300, 5, 1e300);
    const QImage img = render(s);
    QVERIFY(tavrintest::countColor(img, green, f.area(1, 6, 9, 9)) > 100);
    QCOMPARE(tavrintest::countColor(img, green, f.area(1, 1, 9, 4)), 0);
    QCOMPARE(img.pixel(int(f.x.pointToPixel(5)), int(f.y.pointToPixel(5))), black);
}

void TestHighLowSeries::icon()
{
    HighLowSeries s;
    s.setColor(Qt::blue);
    const QImage img = s.icon(16).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(img.size(), QSize(16, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            QCOMPARE(qAlpha(img.pixel(x, y)) != 0, y == 8);
    QCOMPARE(img.pixel(0, 8), qRgb(0, 0, 255));
}

void TestHighLowSeries::lookAtIt()
{
    ChartWidget w;
    w.resize(600, 400);
    w.setTitle(QStringLiteral("Daily temperature range, March"));
    w.axes()->bottom()->setDatetime(true);
    w.axes()->bottom()->setDatetimeFormat(QStringLiteral("dd.MM"));
    auto *s = new HighLowSeries;
    s->setName(QStringLiteral("min / max"));
    const QDateTime first(QDate(2024, 3, 1), QTime(0, 0), Qt::LocalTime);
    for (int i = 0; i < 31; ++i) {
        const double mid = 6 + 4 * std::sin(i / 4.0) + i * 0.2;
        s->addPoint(first.addDays(i), mid + 3 + (i % 3), mid - 3 - (i % 4));
    }
    w.addSeries(s);
    w.show();
    QApplication::processEvents();
    const QImage img = tavrintest::grabImage(&w);
    QVERIFY(img.save(tavrintest::outputDir() + QStringLiteral("/highlow.png")));
    QVERIFY(tavrintest::countColor(img, green) > 1000);
}

TAVRIN_TEST(TestHighLowSeries)

#include "tst_highlowseries.moc"
