#include "testmain.h"
#include "testutil.h"

#include <axis.h>
#include <axis_p.h>
#include <chartwidget.h>
#include <minmaxpointseries.h>
#include <pointseries.h>
#include <pointseries_p.h>
#include <barseries.h>

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <limits>
#include <memory>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

// Axes showing 0..10 on 500 pixels without margin: value v sits on pixel
// 50 v across and 500 - 50 v down, so markers land on known pixels.
struct Plot {
    Axis x{Axis::atBottom};
    Axis y{Axis::atLeft};
    Plot()
    {
        for (Axis *a : {&x, &y}) {
            a->setRange(0, 10);
            a->d->setLength(501);
            a->d->margin = 0;
            a->d->scale = 50;
            a->d->offset = a == &y ? 500 : 0;
        }
    }
};

QImage render(ChartSeries &s, bool aa = false)
{
    QImage img(501, 501, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, aa);
    s.draw(&p);
    return img;
}

// Box around the pixels that differ from the background.
QRect inked(const QImage &img, QRgb background = qRgb(255, 255, 255))
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != background)
                r |= QRect(x, y, 1, 1);
    return r;
}

// Values that put the fuzzy equality to work: both zeros, values around the
// 1e-12 zero tolerance, pairs on either side of the relative tolerance, and
// values that equal nothing.
QVector<double> trickyValues()
{
    QVector<double> v = {0.0,   -0.0,   1e-13,  -1e-13, 1e-12,  -1e-12, 1.0000001e-12,
                         2e-12, 3e-12,  5e-324, 1e-300, 1,      -1,     1e300,
                         NaN,   Inf,    -Inf,   std::numeric_limits<double>::max()};
    for (double base : {1.0, 3.7, -2.5, 1e-3, 1e8, 1e-11, 7e-12}) {
        for (double k : {-4.0, -1.0000001, -1.0, -0.9999999, 0.5, 0.9999999, 1.0, 1.0000001, 3.9})
            v << base * (1 + k * 1e-12);
        v << base << std::nextafter(base, Inf) << std::nextafter(base, -Inf);
    }
    return v;
}

} // namespace

class tst_PointSeries : public QObject
{
    Q_OBJECT

private slots:
    void duplicates_data();
    void duplicates();
    void duplicateTestMatchesFullScan_data();
    void duplicateTestMatchesFullScan();
    void tooltip_data();
    void tooltip();
    void setters();
    void stampedMarkers_data();
    void stampedMarkers();
    void markersOutsideNotDrawn();
    void vectorMarkersMatchStamps_data();
    void vectorMarkersMatchStamps();
    void kinds_data();
    void kinds();
    void chart();
};

void tst_PointSeries::duplicates_data()
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

// A repeated point is stored once but still reported every time.
void tst_PointSeries::duplicates()
{
    QFETCH(QVector<QPointF>, added);
    QFETCH(int, stored);

    PointSeries s;
    QSignalSpy spy(&s, &ChartSeries::pointAdded);
    MinMaxPointSeries m;
    for (const QPointF &p : added) {
        s.addXY(p.x(), p.y());
        m.addPoint(p.x(), p.y(), 0, 1);
    }
    QCOMPARE(s.pointsCount(), stored);
    QCOMPARE(m.pointsCount(), stored);
    QCOMPARE(spy.count(), added.size());
}

void tst_PointSeries::duplicateTestMatchesFullScan_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("minMax");
    for (quint32 seed : {1u, 2u, 3u}) {
        QTest::addRow("points %u", seed) << seed << false;
        QTest::addRow("min-max %u", seed) << seed << true;
    }
}

// The indexed duplicate test must keep exactly what a scan of every stored
// point with QPointF's operator== keeps.
void tst_PointSeries::duplicateTestMatchesFullScan()
{
    QFETCH(quint32, seed);
    QFETCH(bool, minMax);

    QRandomGenerator rng(seed);
    const QVector<double> tricky = trickyValues();
    auto value = [&]() {
        switch (rng.bounded(4)) {
        case 0:
            return double(rng.bounded(5)); // small integers collide often
        case 1:
            return (rng.generateDouble() - 0.5) * 4e-12;
        default:
            return tricky.at(rng.bounded(tricky.size()));
        }
    };

    PointSeries points;
    MinMaxPointSeries minMaxPoints;
    ChartSeries &series = minMax ? static_cast<ChartSeries &>(minMaxPoints) : points;
    QVector<QPointF> kept;
    for (int i = 0; i < 3000; ++i) {
        QPointF p(value(), value());
        // Nudge an earlier point by about the relative tolerance.
        if (!kept.isEmpty() && rng.bounded(3) == 0) {
            const QPointF q = kept.at(rng.bounded(kept.size()));
            const double k = (rng.generateDouble() - 0.5) * 4e-12;
            p = rng.bounded(2) ? QPointF(q.x() * (1 + k), q.y()) : QPointF(q.x(), q.y() * (1 + k));
        }
        if (std::none_of(kept.cbegin(), kept.cend(), [&](const QPointF &q) { return q == p; }))
            kept << p;
        series.addXY(p.x(), p.y());
        if (series.pointsCount() != kept.size())
            QFAIL(qPrintable(QStringLiteral("after adding (%1, %2): %3 stored, full scan keeps %4")
                                 .arg(p.x(), 0, 'g', 17)
                                 .arg(p.y(), 0, 'g', 17)
                                 .arg(series.pointsCount())
                                 .arg(kept.size())));
    }
    auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    for (int i = 0; i < kept.size(); ++i) {
        const QList<QVariant> row = series.point(i);
        QVERIFY(same(row.at(0).toDouble(), kept.at(i).x()) && same(row.at(1).toDouble(), kept.at(i).y()));
    }
}

void tst_PointSeries::tooltip_data()
{
    QTest::addColumn<QVector<QPointF>>("points");
    QTest::addColumn<QStringList>("labels"); // empty: added without a label
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<QString>("expected");

    // (2, 2) is pixel (100, 400); size 7 probes 3.5 pixels each way.
    const QVector<QPointF> one{{2, 2}}, two{{2, 2}, {2.04, 2}};
    QTest::newRow("on the point") << one << QStringList{""} << QPoint(100, 400) << "X: 2\r\nY: 2";
    QTest::newRow("box edge") << one << QStringList{""} << QPoint(103, 400) << "X: 2\r\nY: 2";
    QTest::newRow("outside") << one << QStringList{""} << QPoint(104, 400) << "";
    QTest::newRow("earlier wins") << two << QStringList{"", ""} << QPoint(101, 400) << "X: 2\r\nY: 2";
    QTest::newRow("later only") << two << QStringList{"", ""} << QPoint(105, 400) << "X: 2.04\r\nY: 2";
    QTest::newRow("label") << two << QStringList{"", "b"} << QPoint(105, 400) << "b";
    QTest::newRow("label text kept as is") << one << QStringList{"50%1 %2"} << QPoint(100, 400)
                                           << "50%1 %2";
    QTest::newRow("labelled duplicate keeps none")
        << QVector<QPointF>{{2, 2}, {2, 2}} << QStringList{"", "late"} << QPoint(100, 400)
        << "X: 2\r\nY: 2";
}

void tst_PointSeries::tooltip()
{
    QFETCH(QVector<QPointF>, points);
    QFETCH(QStringList, labels);
    QFETCH(QPoint, cursor);
    QFETCH(QString, expected);

    Plot plot;
    PointSeries s;
    QCOMPARE(s.tooltip(cursor), QString());
    s.setAxis(&plot.x, &plot.y);
    for (int i = 0; i < points.size(); ++i) {
        if (labels.at(i).isEmpty())
            s.addXY(points.at(i).x(), points.at(i).y());
        else
            s.addXY(points.at(i).x(), points.at(i).y(), labels.at(i));
    }
    QCOMPARE(s.tooltip(cursor), expected);
}

void tst_PointSeries::setters()
{
    PointSeries s(PointSeries::psSquare);
    QSignalSpy refresh(&s, &ChartSeries::refresh);
    const qint64 fresh = s.d->marker.cacheKey();

    s.setSize(7);
    s.setVectorRendering(false);
    s.setColor(Qt::black);
    s.setFillColor(Qt::red);
    QCOMPARE(refresh.count(), 0);
    QCOMPARE(s.d->marker.cacheKey(), fresh);

    s.setSize(1);
    QCOMPARE(s.size(), 3);
    QCOMPARE(s.d->halfWidth, 1.5);
    QCOMPARE(s.d->marker.size(), QSize(3, 3));
    s.setSize(2);
    s.setVectorRendering(true);
    QCOMPARE(refresh.count(), 2);

    // A colour change reaches the stamped marker at once.
    s.setSize(9);
    s.setFillColor(Qt::blue);
    s.setColor(Qt::green);
    QCOMPARE(refresh.count(), 5);
    const QImage marker = s.d->marker.toImage();
    QCOMPARE(marker.pixel(4, 4), qRgb(0, 0, 255));
    QVERIFY(qGreen(marker.pixel(4, 1)) > 100 && qRed(marker.pixel(4, 1)) == 0);
}

void tst_PointSeries::stampedMarkers_data()
{
    QTest::addColumn<int>("style");
    QTest::newRow("square") << int(PointSeries::psSquare);
    QTest::newRow("circle") << int(PointSeries::psCircle);
    QTest::newRow("other value as circle") << 7;
}

void tst_PointSeries::stampedMarkers()
{
    QFETCH(int, style);

    Plot plot;
    PointSeries s{PointSeries::PointStyle(style)};
    s.setAxis(&plot.x, &plot.y);
    s.addXY(5, 5);
    s.addXY(NaN, 5);
    s.addXY(2, NaN);
    const QImage img = render(s);

    // One 7 x 7 marker centred on (250, 250), filled red, outlined in black.
    QCOMPARE(inked(img), QRect(247, 247, 7, 7));
    QCOMPARE(img.pixel(250, 250), qRgb(255, 0, 0));
    QVERIFY(qRed(img.pixel(247, 250)) < 160 && qGreen(img.pixel(247, 250)) < 160);
    // Inside the corner a square is dark, a circle light.
    QCOMPARE(qRed(img.pixel(248, 248)) < 128, style == PointSeries::psSquare);

    // psPoint: a single pixel in the pen colour.
    PointSeries dots;
    dots.setAxis(&plot.x, &plot.y);
    dots.setColor(Qt::blue);
    dots.addXY(5, 5);
    const QImage dotImg = render(dots);
    QCOMPARE(inked(dotImg), QRect(250, 250, 1, 1));
    QCOMPARE(dotImg.pixel(250, 250), qRgb(0, 0, 255));
}

void tst_PointSeries::markersOutsideNotDrawn()
{
    Plot plot;
    PointSeries s(PointSeries::psSquare);
    s.setAxis(&plot.x, &plot.y);
    // Centres just outside, though half their markers would show.
    s.addXY(10.01, 5);
    s.addXY(5, -0.01);
    s.addXY(1e300, 1e300);
    QVERIFY(inked(render(s)).isNull());
    s.addXY(10, 5); // on the edge counts as inside; the image ends at 500
    QCOMPARE(inked(render(s)), QRect(497, 247, 4, 7));
}

void tst_PointSeries::vectorMarkersMatchStamps_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("penWidth");
    QTest::addColumn<bool>("antialiased");
    for (int style : {int(PointSeries::psSquare), int(PointSeries::psCircle)}) {
        for (bool aa : {false, true}) {
            const char *name = style == PointSeries::psSquare ? "square" : "circle";
            const char *mode = aa ? "antialiased" : "aliased";
            QTest::addRow("%s 7 %s", name, mode) << style << 7 << 1 << aa;
            QTest::addRow("%s 12 %s", name, mode) << style << 12 << 1 << aa;
            QTest::addRow("%s 10 pen 2 %s", name, mode) << style << 10 << 2 << aa;
            QTest::addRow("%s 9 pen 3 %s", name, mode) << style << 9 << 3 << aa;
        }
    }
}

// The SVG export draws vector markers; they must have the size and place
// of the stamps seen on screen.
void tst_PointSeries::vectorMarkersMatchStamps()
{
    QFETCH(int, style);
    QFETCH(int, size);
    QFETCH(int, penWidth);
    QFETCH(bool, antialiased);

    Plot plot;
    // Whole, half and odd fractional pixel positions.
    for (const QPointF &place : {QPointF(2, 2), QPointF(4.01, 6), QPointF(6.03, 3.07), QPointF(8.05, 8.13)}) {
        PointSeries s{PointSeries::PointStyle(style)};
        s.setWidth(penWidth);
        s.setSize(size);
        s.setAxis(&plot.x, &plot.y);
        s.addXY(place.x(), place.y());
        const QRect stamped = inked(render(s, antialiased));
        s.setVectorRendering(true);
        QCOMPARE(stamped.size(), QSize(size, size));
        QCOMPARE(inked(render(s, antialiased)), stamped);
    }
}

void tst_PointSeries::kinds_data()
{
    QTest::addColumn<int>("kind"); // 0 points, 1 min-max points, 2 bars
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QRect>("glyph");
    QTest::addColumn<bool>("cornerInked");

    const QRect marker(4, 4, 9, 9); // QRect(4, 4, 8, 8) outlined by the pen
    QTest::newRow("point dot") << 0 << 0 << "X;Y" << marker << false;
    QTest::newRow("point square") << 0 << 1 << "X;Y" << marker << true;
    QTest::newRow("point circle") << 0 << 2 << "X;Y" << marker << false;
    QTest::newRow("min-max dot") << 1 << 0 << "X;Y1;Y2;Y3" << marker << false;
    QTest::newRow("min-max square") << 1 << 1 << "X;Y1;Y2;Y3" << marker << true;
    QTest::newRow("min-max circle") << 1 << 2 << "X;Y1;Y2;Y3" << marker << false;
    QTest::newRow("bar") << 2 << 0 << "X;Y" << QRect(4, 0, 9, 16) << true;
}

// Type, rows and legend glyph of each kind.
void tst_PointSeries::kinds()
{
    QFETCH(int, kind);
    QFETCH(int, style);
    QFETCH(QString, columns);
    QFETCH(QRect, glyph);
    QFETCH(bool, cornerInked);

    std::unique_ptr<ChartSeries> s;
    if (kind == 0)
        s.reset(new PointSeries(PointSeries::PointStyle(style)));
    else if (kind == 1)
        s.reset(new MinMaxPointSeries(MinMaxPointSeries::PointStyle(style)));
    else
        s.reset(new BarSeries);
    const ChartSeries::seriesType types[] = {ChartSeries::stPoint, ChartSeries::stMinMaxPoint,
                                             ChartSeries::stBar};
    QCOMPARE(s->type(), types[kind]);
    QCOMPARE(s->dataAxisString(), columns);
    QCOMPARE(QString::fromLatin1(s->metaObject()->className()),
             QString::fromLatin1(kind == 0 ? "PointSeries" : kind == 1 ? "MinMaxPointSeries" : "ChartSeries"));

    s->addXY(2.5, 7.0);
    const QList<QVariant> row = s->point(0);
    QCOMPARE(row.size(), columns.count(';') + 1);
    for (int i = 0; i < row.size(); ++i) {
        QCOMPARE(row.at(i).userType(), int(QMetaType::Double));
        QCOMPARE(row.at(i).toDouble(), i ? 7.0 : 2.5);
    }
    QVERIFY(s->point(-1).isEmpty());
    QVERIFY(s->point(1).isEmpty());

    s->setColor(Qt::blue);
    QImage img = s->icon(16).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(img.size(), QSize(16, 16));
    QCOMPARE(inked(img, 0), glyph);
    QCOMPARE(img.pixel(8, 8), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(8, glyph.top()), qRgb(0, 0, 255));
    QCOMPARE(qAlpha(img.pixel(glyph.topLeft())) != 0, cornerInked);
    // Drawn afresh in the current colours.
    s->setFillColor(Qt::green);
    QCOMPARE(s->icon(16).pixmap(16, 16).toImage().pixel(8, 8), qRgb(0, 255, 0));
}

// Registered with a chart, a series with automatic colours gets its palette
// colour into the stamped markers too.
void tst_PointSeries::chart()
{
    ChartWidget w;
    w.resize(600, 400);
    auto *squares = new PointSeries(PointSeries::psSquare);
    auto *circles = new PointSeries(PointSeries::psCircle);
    circles->setSize(11);
    auto *dots = new PointSeries;
    for (int i = 0; i <= 40; ++i) {
        const double x = i * 0.25;
        squares->addXY(x, std::sin(x) * 3 + 5);
        circles->addXY(x, std::cos(x) * 3 + 5, QStringLiteral("c%1").arg(i));
        dots->addXY(x, x * 0.5);
    }
    w.addSeries(squares);
    w.addSeries(circles);
    w.addSeries(dots);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.repaint();
    const QImage img = tavrintest::grabImage(&w);
    img.save(tavrintest::outputDir() + QStringLiteral("/pointseries.png"));

    QCOMPARE(squares->d->marker.toImage().pixel(3, 3), squares->fillColor().rgb());
    QVERIFY(tavrintest::countColor(img, squares->color().rgb()) > 41 * 9);
    QVERIFY(tavrintest::countColor(img, circles->color().rgb()) > 41 * 20);
    QVERIFY(tavrintest::countColor(img, dots->color().rgb()) >= 20);
}

TAVRIN_TEST(tst_PointSeries)
#include "tst_pointseries.moc"
