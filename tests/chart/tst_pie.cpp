// Parts of a whole: shares, bad values, drawing against the hit test, the
// axes-free layout, in-place updates, the legend's slices and the exports.
#include "fixtures.h"
#include "testmain.h"

#include <pieseries.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolTip>
#include <QVector3D>

#include <QtMath>

using namespace tavrintest;

namespace {

class CountingPie : public PieSeries
{
public:
    int draws = 0;
    void draw(QPainter *painter) override
    {
        ++draws;
        PieSeries::draw(painter);
    }
};

PieSeries *pieOf(const QVector<double> &values, const QStringList &labels = QStringList())
{
    auto *pie = new PieSeries;
    pie->addSlices(labels, values);
    return pie;
}

QList<QCheckBox *> entries(ChartWidget &w)
{
    QList<QCheckBox *> list;
    for (QCheckBox *box : w.legend()->findChildren<QCheckBox *>())
        if (box->isVisibleTo(w.legend()))
            list.append(box);
    return list;
}

bool sameDouble(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b)) || qFuzzyCompare(1 + a, 1 + b);
}

} // namespace

class TestPie : public QObject
{
    Q_OBJECT
private slots:
    void shares_data();
    void shares();
    void setters_data();
    void setters();
    void drawing_data();
    void drawing();
    void layoutWithoutAxes();
    void valuesInPlaceRenderOnce();
    void legendHidesSlices();
    void tooltip();
    void exports();
    void tenThousandSlices();
};

void TestPie::shares_data()
{
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<int>("hidden"); // -1: none
    QTest::addColumn<QVector<double>>("percent");
    QTest::addColumn<double>("total");
    QTest::newRow("plain") << QVector<double>{1, 1, 2} << -1 << QVector<double>{25, 25, 50} << 4.0;
    QTest::newRow("bad values") << QVector<double>{3, -1, NaN, Inf, 1, -Inf}
                                << -1 << QVector<double>{75, NaN, NaN, NaN, 25, NaN} << 4.0;
    QTest::newRow("all zero") << QVector<double>{0, 0} << -1 << QVector<double>{NaN, NaN} << 0.0;
    QTest::newRow("single") << QVector<double>{5} << -1 << QVector<double>{100} << 5.0;
    QTest::newRow("hidden re-shares") << QVector<double>{1, 1, 2} << 2 << QVector<double>{50, 50, NaN} << 2.0;
    QTest::newRow("huge values") << QVector<double>{1e308, 1e308} << -1 << QVector<double>{50, 50} << Inf;
    QTest::newRow("tiny values") << QVector<double>{1e-320, 3e-320} << -1 << QVector<double>{25, 75} << 4e-320;
}

// The row contract the exports read, the whole and each share.
void TestPie::shares()
{
    QFETCH(QVector<double>, values);
    QFETCH(int, hidden);
    QFETCH(QVector<double>, percent);
    QFETCH(double, total);
    QScopedPointer<PieSeries> pie(pieOf(values, {QStringLiteral("first")}));
    pie->setSliceVisible(hidden, false);
    QVERIFY2(sameDouble(pie->total(), total), qPrintable(QString::number(pie->total())));
    QCOMPARE(pie->pointsCount(), values.size());
    QCOMPARE(pie->dataAxisString(), QStringLiteral("Label;Value;Percentage"));
    for (int i = 0; i < values.size(); ++i) {
        QVERIFY2(sameDouble(pie->percentage(i), percent.at(i)), qPrintable(QString::number(pie->percentage(i))));
        const QList<QVariant> row = pie->point(i);
        QCOMPARE(row.size(), 3);
        QCOMPARE(row.at(0).toString(), i == 0 ? QStringLiteral("first") : QString());
        QVERIFY(sameDouble(row.at(1).toDouble(), values.at(i)) || row.at(1).toDouble() == values.at(i));
        QVERIFY(sameDouble(row.at(2).toDouble(), percent.at(i)));
    }
    QVERIFY(pie->point(-1).isEmpty() && pie->point(values.size()).isEmpty());
    // A pie takes no part in the scaling of x-y series.
    QVERIFY(std::isnan(pie->minX()) && std::isnan(pie->maxY()));
}

void TestPie::setters_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("emitted");
    QTest::newRow("hole") << QByteArray("holeSize") << QVariant(0.5) << QVariant(0.5) << 1;
    QTest::newRow("hole below") << QByteArray("holeSize") << QVariant(-1.0) << QVariant(0.0) << 0;
    QTest::newRow("hole above") << QByteArray("holeSize") << QVariant(2.0) << QVariant(0.95) << 1;
    QTest::newRow("hole NaN") << QByteArray("holeSize") << QVariant(NaN) << QVariant(0.0) << 0;
    QTest::newRow("angle") << QByteArray("startAngle") << QVariant(30.0) << QVariant(30.0) << 1;
    QTest::newRow("angle inf") << QByteArray("startAngle") << QVariant(Inf) << QVariant(0.0) << 0;
    QTest::newRow("direction") << QByteArray("clockwise") << QVariant(false) << QVariant(false) << 1;
    QTest::newRow("same direction") << QByteArray("clockwise") << QVariant(true) << QVariant(true) << 0;
    QTest::newRow("offset above") << QByteArray("explodeOffset") << QVariant(3.0) << QVariant(0.5) << 1;
    QTest::newRow("outside") << QByteArray("labelPosition") << QVariant::fromValue(PieSeries::lpOutside)
                             << QVariant::fromValue(PieSeries::lpOutside) << 1;
}

// Values are taken into range, and change signals come on real changes only.
void TestPie::setters()
{
    QFETCH(QByteArray, property);
    QFETCH(QVariant, value);
    QFETCH(QVariant, stored);
    QFETCH(int, emitted);
    PieSeries pie;
    const QMetaProperty mp = pie.metaObject()->property(pie.metaObject()->indexOfProperty(property));
    QSignalSpy spy(&pie, mp.notifySignal());
    QVERIFY(mp.write(&pie, value));
    QCOMPARE(mp.read(&pie), stored);
    QCOMPARE(spy.count(), emitted);
}

void TestPie::drawing_data()
{
    QTest::addColumn<double>("hole");
    QTest::addColumn<int>("exploded"); // -1: none
    QTest::addColumn<bool>("clockwise");
    QTest::addColumn<QVector<double>>("values");
    // Probes: degrees clockwise from twelve o'clock, distance in radii
    // (of the circle as drawn with nothing pulled out) and the slice
    // expected there, -1 for none.
    QTest::addColumn<QVector<QVector3D>>("probes");
    const QVector<double> quarters{1, 1, 1, 1};
    QTest::newRow("pie") << 0.0 << -1 << true << quarters
                         << QVector<QVector3D>{{45, 0.5, 0}, {135, 0.5, 1}, {225, 0.9, 2}, {315, 0.2, 3}, {45, 1.1, -1}};
    QTest::newRow("counter-clockwise") << 0.0 << -1 << false << quarters
                                       << QVector<QVector3D>{{315, 0.5, 0}, {45, 0.5, 3}};
    QTest::newRow("donut") << 0.5 << -1 << true << quarters
                           << QVector<QVector3D>{{45, 0.3, -1}, {45, 0.7, 0}, {200, 0.9, 2}};
    QTest::newRow("hole clamped") << 7.0 << -1 << true << quarters
                                  << QVector<QVector3D>{{45, 0.9, -1}, {45, 0.98, 0}};
    QTest::newRow("single slice") << 0.0 << -1 << true << QVector<double>{3}
                                  << QVector<QVector3D>{{0, 0.0, 0}, {90, 0.9, 0}, {270, 0.5, 0}};
    QTest::newRow("single ring") << 0.6 << -1 << true << QVector<double>{3}
                                 << QVector<QVector3D>{{0, 0.0, -1}, {300, 0.8, 0}};
    QTest::newRow("bad values skipped") << 0.0 << -1 << true << QVector<double>{1, NaN, -2, Inf, 1}
                                        << QVector<QVector3D>{{90, 0.5, 0}, {270, 0.5, 4}};
    QTest::newRow("all zero") << 0.0 << -1 << true << QVector<double>{0, 0}
                              << QVector<QVector3D>{{0, 0.0, -1}, {90, 0.5, -1}};
    // Drawn 10 % smaller and moved out by 10 % of that radius.
    QTest::newRow("pulled out") << 0.0 << 0 << true << quarters
                                << QVector<QVector3D>{{45, 0.99, 0}, {45, 0.12, 0}, {135, 0.95, -1}, {135, 0.5, 1}};
}

// What is drawn where the hit test says a slice is, in the slice's colour.
void TestPie::drawing()
{
    QFETCH(double, hole);
    QFETCH(int, exploded);
    QFETCH(bool, clockwise);
    QFETCH(QVector<double>, values);
    QFETCH(QVector<QVector3D>, probes);
    Frame f(0, 10, 0, 10, 301, 201);
    PieSeries pie;
    pie.setAxis(&f.x, &f.y);
    pie.addSlices({}, values);
    pie.setHoleSize(hole);
    pie.setClockwise(clockwise);
    pie.setExploded(exploded, true);
    pie.setLabelPosition(PieSeries::lpNone);
    const QImage img = render(pie, QSize(301, 201));
    const QSizeF plot(f.x.d->length + 1, f.y.d->length + 1);
    const QPointF centre(plot.width() / 2, plot.height() / 2);
    const double r = std::min(plot.width(), plot.height()) / 2 - 4;
    for (const QVector3D &p : probes) {
        const double a = qDegreesToRadians(double(p.x()));
        const QPointF at = centre + QPointF(std::sin(a), -std::cos(a)) * (p.y() * r);
        const int want = int(p.z());
        const QString where = QStringLiteral("at %1 degrees, %2 radii").arg(p.x()).arg(p.y());
        QVERIFY2(pie.sliceAt(at) == want, qPrintable(where + QStringLiteral(": slice %1").arg(pie.sliceAt(at))));
        const QRgb got = img.pixel(at.toPoint());
        if (want < 0)
            QVERIFY2(qAlpha(got) == 0, qPrintable(where));
        else
            QVERIFY2(QColor(got) == pie.sliceColor(want), qPrintable(where + QLatin1Char(' ') + QColor(got).name()));
    }
}

// Only pies: no axes, the whole plot area, a round pie centred in it.
void TestPie::layoutWithoutAxes()
{
    ChartWidget w;
    showChart(w, 500, 240);
    const QRect bare = w.rect().adjusted(5, 5, -5, -5);
    QVERIFY(w.d->plotRect != bare);
    auto *pie = pieOf({1, 2, 3});
    pie->setLabelPosition(PieSeries::lpNone);
    const int id = w.addSeries(pie);
    QCoreApplication::processEvents();
    QCOMPARE(w.d->plotRect, bare);
    const QRect ink = inked(plotImage(w));
    QVERIFY2(qAbs(ink.width() - ink.height()) <= 1, qPrintable(QStringLiteral("%1x%2").arg(ink.width()).arg(ink.height())));
    QVERIFY(qAbs(ink.center().x() - bare.width() / 2) <= 1 && qAbs(ink.center().y() - bare.height() / 2) <= 1);
    // Pictures at another shape and at twice the density: round, centred.
    for (const auto &shot : {qMakePair(QSize(200, 420), 1.0), qMakePair(QSize(), 2.0)}) {
        const QImage img = w.toImage(shot.first, shot.second).convertToFormat(QImage::Format_ARGB32);
        const QRect r = inked(img, img.pixel(0, 0));
        QVERIFY2(qAbs(r.width() - r.height()) <= 2 && qAbs(r.center().x() - img.width() / 2) <= 2
                     && qAbs(r.center().y() - img.height() / 2) <= 2,
                 qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())
                                .arg(img.width()).arg(img.height())));
    }
    // Beside x-y series the axes come back and the pie is drawn over them.
    const int line = w.addSeries(lineOf({QPointF(0, 0), QPointF(1, 1)}));
    QCoreApplication::processEvents();
    QVERIFY(w.d->plotRect.left() > bare.left() && w.d->plotRect.bottom() < bare.bottom());
    w.setAutoScale(false);
    w.removeSeries(line);
    QCOMPARE(w.d->plotRect, bare);
    w.removeSeries(id);
    QVERIFY(w.d->plotRect != bare);
}

// A live gauge: any number of changes in a row render once, from the event
// loop; nothing renders for no change, and under the lock only at release.
void TestPie::valuesInPlaceRenderOnce()
{
    ChartWidget w;
    auto *pie = new CountingPie;
    pie->addSlices({QStringLiteral("used"), QStringLiteral("free")}, {30, 70});
    w.addSeries(pie);
    showChart(w);
    const int before = pie->draws;
    pie->setValue(0, 40);
    pie->setValue(1, 60);
    pie->setValues({45, 55});
    pie->setExploded(0, true);
    QCOMPARE(pie->draws, before);
    QCoreApplication::processEvents();
    QCOMPARE(pie->draws, before + 1);
    pie->setValues({45, 55});
    pie->setValue(7, 1);
    QCoreApplication::processEvents();
    QCOMPARE(pie->draws, before + 1);
    w.setDrawingLock(true);
    pie->setValues({50, 50});
    QCoreApplication::processEvents();
    QCOMPARE(pie->draws, before + 1);
    w.setDrawingLock(false);
    QCoreApplication::processEvents();
    QCOMPARE(pie->draws, before + 2);
    QCOMPARE(pie->percentage(0), 50.0);
}

// One entry per slice; its box hides the slice and the rest re-share.
void TestPie::legendHidesSlices()
{
    ChartWidget w;
    w.legend()->setVisible(true);
    w.addSeries(lineOf({QPointF(0, 1)}, QStringLiteral("line")));
    auto *pie = pieOf({1, 1, 2}, {QStringLiteral("a"), QString(), QString(1000, QLatin1Char('x'))});
    const int id = w.addSeries(pie);
    showChart(w);
    QList<QCheckBox *> boxes = entries(w);
    QCOMPARE(boxes.size(), 4);
    QCOMPARE(boxes.at(0)->text(), QStringLiteral("line"));
    QCOMPARE(boxes.at(1)->text(), QStringLiteral("a"));
    QCOMPARE(boxes.at(2)->text(), QStringLiteral("Slice 2"));
    QVERIFY(boxes.at(3)->text().size() < 100 && boxes.at(3)->text().endsWith(QChar(0x2026)));
    boxes.at(3)->click();
    QVERIFY(!pie->isSliceVisible(2) && pie->isVisible());
    QCOMPARE(pie->percentage(0), 50.0);
    pie->setSliceVisible(0, false);
    QVERIFY(!boxes.at(1)->isChecked());
    // New slices and labels rebuild the pie's entries in place.
    pie->addSlice(QStringLiteral("d"), 4);
    pie->setSliceLabel(0, QStringLiteral("A"));
    // Rebuilt from the event loop, shown at its next turn.
    QTRY_COMPARE(entries(w).size(), 5);
    boxes = entries(w);
    QCOMPARE(boxes.at(1)->text(), QStringLiteral("A"));
    QVERIFY(!boxes.at(1)->isChecked() && !boxes.at(3)->isChecked() && boxes.at(4)->isChecked());
    QCOMPARE(boxes.at(4)->text(), QStringLiteral("d"));
    w.removeSeries(id);
    QCoreApplication::processEvents();
    QCOMPARE(entries(w).size(), 1);
}

void TestPie::tooltip()
{
    ChartWidget w;
    w.enableTooltip(true);
    auto *pie = pieOf({1, 3}, {QStringLiteral("idle"), QStringLiteral("busy")});
    w.addSeries(pie);
    showChart(w, 400, 400);
    const QPoint centre = w.d->plotRect.center();
    // Clockwise from twelve o'clock: the first quarter holds "idle".
    const QPoint idle = centre + QPoint(40, -40), busy = centre + QPoint(-40, 40);
    for (const auto &probe : {qMakePair(idle, QStringLiteral("idle\r\nValue: 1\r\nShare: 25.0 %")),
                              qMakePair(busy, QStringLiteral("busy\r\nValue: 3\r\nShare: 75.0 %"))}) {
        QHelpEvent event(QEvent::ToolTip, probe.first, w.mapToGlobal(probe.first));
        QVERIFY(w.d->eventFilter(&w, &event));
        QCOMPARE(QToolTip::text(), probe.second);
    }
    QCOMPARE(pie->tooltip(QPoint(1, 1)), QString());
}

// Slices reach SVG and PDF as vectors (the rows are in the export tests).
void TestPie::exports()
{
    ChartWidget w;
    auto *pie = new PieSeries;
    pie->addSlice(QStringLiteral("a"), 1);
    pie->addSlice(QString(), 3);
    w.addSeries(pie);
    showChart(w);
    QTemporaryDir dir;
    const QString svg = dir.filePath(QStringLiteral("pie.svg"));
    QVERIFY(w.exportSvg(svg));
    QVERIFY(readAll(svg).contains("<path"));
    // The copy is there to look at.
    const QString pdf = outputDir() + QStringLiteral("/pie.pdf");
    QVERIFY(w.exportPdf(pdf));
    QVERIFY(readAll(pdf).startsWith("%PDF"));
}

// Labels thin out and drawing stays quick.
void TestPie::tenThousandSlices()
{
    ChartWidget w;
    w.legend()->setVisible(true);
    auto *pie = new CountingPie;
    QVector<double> values(10000);
    QStringList labels;
    for (int i = 0; i < values.size(); ++i) {
        values[i] = i < 3 ? 5000 : 1;
        labels << QStringLiteral("slice %1").arg(i);
    }
    pie->addSlices(labels, values);
    pie->setLabelPosition(PieSeries::lpOutside);
    w.addSeries(pie);
    showChart(w);
    QCOMPARE(pie->sliceCount(), 10000);
    // The legend lists the first hundred.
    QCOMPARE(entries(w).size(), 100);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 5; ++i)
        w.repaint();
    QVERIFY2(timer.elapsed() < 2500, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!inked(plotImage(w)).isEmpty());
    // Slices added one by one render and rebuild the legend once.
    const int draws = pie->draws;
    timer.restart();
    for (int i = 0; i < 3000; ++i)
        pie->addXY(0, 1);
    QCoreApplication::processEvents();
    QVERIFY2(timer.elapsed() < 2500, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(pie->draws, draws + 1);
    QTRY_COMPARE(entries(w).size(), 100);
}

TAVRIN_TEST(TestPie)
#include "tst_pie.moc"
