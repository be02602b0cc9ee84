#include "testmain.h"
#include "testutil.h"

#include <axis.h>
#include <axis_p.h>
#include <chartwidget.h>
#include <chartwidget_p.h>
#include <minmaxpointseries.h>
#include <minmaxpointseries_p.h>

#include <QDateTime>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

// Axes showing x0..x0 + 10 and 0..10 on 500 pixels without margin: x value
// v sits on pixel 50 (v - x0), y value v on pixel 500 - 50 v.
struct Plot {
    Axis x{Axis::atBottom};
    Axis y{Axis::atLeft};
    explicit Plot(double x0 = 0)
    {
        x.setRange(x0, x0 + 10);
        y.setRange(0, 10);
        for (Axis *a : {&x, &y}) {
            a->d->setLength(501);
            a->d->margin = 0;
            a->d->scale = 50;
        }
        x.d->offset = -50 * x0;
        y.d->offset = 500;
    }
};

QImage render(ChartSeries &s)
{
    QImage img(501, 501, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    s.draw(&p);
    return img;
}

int inkedPixels(const QImage &img)
{
    return img.width() * img.height() - tavrintest::countColor(img, qRgb(255, 255, 255));
}

} // namespace

class tst_MinMaxPointSeries : public QObject
{
    Q_OBJECT

private slots:
    void adding();
    void draw();
    void visibility_data();
    void visibility();
    void tooltip_data();
    void tooltip();
    void dateTimeTooltip();
    void chart();
};

void tst_MinMaxPointSeries::adding()
{
    MinMaxPointSeries s;
    QSignalSpy added(&s, &ChartSeries::pointAdded);
    s.addPoint(1, 2, 0, 5);
    s.addPoint(1, 2, -3, 9); // a duplicate still widens the bounds
    s.addPoint(1, 2.0000000000001, 0, 5);
    QCOMPARE(s.pointsCount(), 1);
    QCOMPARE(s.point(0), (QList<QVariant>{1.0, 2.0, 0.0, 5.0}));
    QCOMPARE(s.minY(), -3.0);
    QCOMPARE(s.maxY(), 9.0);
    QCOMPARE(added.count(), 0);

    // The point's own y stays out of the bounds; addXY has an empty range.
    s.clear();
    QCOMPARE(s.pointsCount(), 0);
    s.addPoint(4, 100, 1, 2);
    QCOMPARE(s.maxY(), 2.0);
    s.addXY(3, 4);
    QCOMPARE(s.point(1), (QList<QVariant>{3.0, 4.0, 4.0, 4.0}));
    QCOMPARE(s.minX(), 3.0);
    QCOMPARE(s.maxY(), 4.0);

    s.setSize(1);
    QCOMPARE(s.size(), 3);
    QCOMPARE(s.d->halfWidth, 1.5);
    QCOMPARE(s.d->marker.size(), QSize(3, 3));
}

// Caps at max and min as wide as the marker, the range line between them,
// the marker over it.
void tst_MinMaxPointSeries::draw()
{
    Plot plot;
    MinMaxPointSeries s(MinMaxPointSeries::psSquare);
    s.setAxis(&plot.x, &plot.y);
    s.setColor(Qt::blue);
    s.addPoint(5, 5, 3, 7); // x 250, y 250, max at 150, min at 350
    const QImage img = render(s);

    const QRgb blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    for (int y : {150, 200, 300, 350})
        QCOMPARE(img.pixel(250, y), blue);
    QCOMPARE(img.pixel(250, 149), white);
    QCOMPARE(img.pixel(250, 351), white);
    QCOMPARE(img.pixel(251, 200), white);
    for (int y : {150, 350}) {
        QCOMPARE(img.pixel(246, y), blue);
        QCOMPARE(img.pixel(253, y), blue);
        QCOMPARE(img.pixel(245, y), white);
        QCOMPARE(img.pixel(254, y), white);
    }
    QCOMPARE(img.pixel(250, 250), qRgb(255, 0, 0)); // marker fill over the line

    // psPoint: the pen's dot, no marker.
    MinMaxPointSeries dots;
    dots.setAxis(&plot.x, &plot.y);
    dots.addPoint(5, 5, 3, 7);
    const QImage dotImg = render(dots);
    QCOMPARE(inkedPixels(dotImg), 201 + 2 * 7); // the caps share a pixel with the line
    QCOMPARE(dotImg.pixel(250, 250), qRgb(0, 0, 0));
}

void tst_MinMaxPointSeries::visibility_data()
{
    QTest::addColumn<QVector<double>>("point"); // x, y, min, max
    QTest::addColumn<bool>("drawn");

    QTest::newRow("empty range is lifted") << QVector<double>{5, 5, 5, 5} << true;
    QTest::newRow("range crosses the plot") << QVector<double>{5, 20, -10, 30} << true;
    QTest::newRow("range far beyond") << QVector<double>{5, 5, -1e300, 1e300} << true;
    QTest::newRow("marker edge reaches in") << QVector<double>{-0.05, 5, 4, 6} << true;
    QTest::newRow("left of the plot") << QVector<double>{-0.5, 5, 4, 6} << false;
    QTest::newRow("above the plot") << QVector<double>{5, 12, 11, 13} << false;
    QTest::newRow("NaN range") << QVector<double>{5, 5, NaN, 6} << false;
}

void tst_MinMaxPointSeries::visibility()
{
    QFETCH(QVector<double>, point);
    QFETCH(bool, drawn);

    Plot plot;
    MinMaxPointSeries s(MinMaxPointSeries::psCircle);
    s.setAxis(&plot.x, &plot.y);
    s.addPoint(point[0], point[1], point[2], point[3]);
    QCOMPARE(inkedPixels(render(s)) > 0, drawn);
}

void tst_MinMaxPointSeries::tooltip_data()
{
    QTest::addColumn<QVector<QPointF>>("points"); // ranges y - 1 .. y + 2
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<QString>("expected");

    QTest::newRow("hit") << QVector<QPointF>{{2, 2}} << QPoint(100, 400)
                         << "Ymin: 1\r\nX: 2\r\nYmax: 4\r\nY: 2";
    QTest::newRow("range is no hit") << QVector<QPointF>{{2, 2}} << QPoint(100, 380) << "";
    QTest::newRow("same x, the one under the cursor") << QVector<QPointF>{{2, 2}, {2, 4}} << QPoint(100, 300)
                                                      << "Ymin: 3\r\nX: 2\r\nYmax: 6\r\nY: 4";
    QTest::newRow("earlier wins") << QVector<QPointF>{{2, 2}, {2.02, 2}} << QPoint(101, 400)
                                  << "Ymin: 1\r\nX: 2\r\nYmax: 4\r\nY: 2";
    // The scan stops at the first point right of the probe box.
    QTest::newRow("out of order") << QVector<QPointF>{{8, 8}, {2, 2}} << QPoint(100, 400) << "";
}

void tst_MinMaxPointSeries::tooltip()
{
    QFETCH(QVector<QPointF>, points);
    QFETCH(QPoint, cursor);
    QFETCH(QString, expected);

    Plot plot;
    MinMaxPointSeries s;
    QCOMPARE(s.tooltip(cursor), QString());
    s.setAxis(&plot.x, &plot.y);
    for (const QPointF &p : points)
        s.addPoint(p.x(), p.y(), p.y() - 1, p.y() + 2);
    QCOMPARE(s.tooltip(cursor), expected);
}

// On a date-time x axis only X is a date; the range ends are y values.
void tst_MinMaxPointSeries::dateTimeTooltip()
{
    const double t0 = QDateTime(QDate(2020, 5, 17), QTime(12, 0)).toSecsSinceEpoch();
    Plot plot(t0);
    plot.x.setDatetime(true);
    plot.x.setDatetimeFormat(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    MinMaxPointSeries s;
    s.setAxis(&plot.x, &plot.y);
    s.addPoint(t0 + 2, 2.5, 1.25, 3.75);
    QCOMPARE(s.tooltip(QPoint(100, 375)),
             QStringLiteral("Ymin: 1.25\r\nX: 17.05.2020 12:00:02\r\nYmax: 3.75\r\nY: 2.5"));
}

// Palette colours handed out by the chart reach the markers, not only the
// lines: no marker keeps its black outline.
void tst_MinMaxPointSeries::chart()
{
    ChartWidget w;
    w.resize(600, 400);
    auto *squares = new MinMaxPointSeries(MinMaxPointSeries::psSquare);
    auto *circles = new MinMaxPointSeries(MinMaxPointSeries::psCircle);
    circles->setSize(9);
    for (int i = 0; i <= 20; ++i) {
        const double x = i * 0.5;
        squares->addPoint(x, std::sin(x) * 3 + 5, std::sin(x) * 3 + 4, std::sin(x) * 3 + 6.5);
        circles->addPoint(x + 0.25, x, x - 0.5 - i % 3, x + 0.5);
    }
    w.addSeries(squares);
    w.addSeries(circles);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.repaint();
    const QImage img = tavrintest::grabImage(&w);
    img.save(tavrintest::outputDir() + QStringLiteral("/minmaxpointseries.png"));

    QCOMPARE(tavrintest::countColor(img, qRgb(0, 0, 0), w.d->plotRect.adjusted(2, 2, -2, -2)), 0);
    QVERIFY(tavrintest::countColor(img, squares->color().rgb()) > 21 * 25);
    QVERIFY(tavrintest::countColor(img, circles->color().rgb()) > 21 * 30);
}

TAVRIN_TEST(tst_MinMaxPointSeries)
#include "tst_minmaxpointseries.moc"
