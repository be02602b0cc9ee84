// The inset legend over the plot, the entries' signals and colours, and
// entries that a host's style sheet leaves as they are.
#include "fixtures.h"
#include "testmain.h"

#include <legend_p.h>

#include <QCheckBox>
#include <QMetaProperty>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QSvgRenderer>
#include <QTemporaryDir>

using namespace tavrintest;

Q_DECLARE_METATYPE(Legend::Placement)

namespace {

// The entries in the order they were made, which is the legend's order here.
QList<QCheckBox *> entriesOf(Legend *legend) { return legend->findChildren<QCheckBox *>(); }

// Where an inset legend of that size belongs in the plot.
QPoint cornerOf(Legend::Placement p, const QRect &plot, const QSize &legend)
{
    const bool left = p == Legend::plInsetTopLeft || p == Legend::plInsetBottomLeft;
    const bool top = p == Legend::plInsetTopLeft || p == Legend::plInsetTopRight;
    return QPoint(left ? plot.left() + 6 : plot.right() - 5 - legend.width(),
                  top ? plot.top() + 6 : plot.bottom() - 5 - legend.height());
}

// Two series of sines and a set of bars: enough ink under a corner.
void addWaves(ChartWidget &w)
{
    auto *a = new LineSeries;
    auto *b = new LineSeries;
    auto *bars = new BarSeries;
    a->setName(QStringLiteral("inlet"));
    b->setName(QStringLiteral("outlet temperature"));
    bars->setName(QStringLiteral("flow"));
    for (int i = 0; i <= 60; ++i) {
        a->addXY(i / 6.0, 5 + 4 * std::sin(i / 7.0));
        b->addXY(i / 6.0, 5 + 4 * std::cos(i / 5.0));
        if (i % 6 == 0)
            bars->addXY(i / 6.0, 1 + i % 4);
    }
    for (ChartSeries *s : std::initializer_list<ChartSeries *>{bars, a, b})
        w.addSeries(s);
}

// The chart's SVG drawn over its window colour.
QImage svgImage(ChartWidget &w)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("chart.svg"));
    if (!w.exportSvg(file))
        return QImage();
    QImage image(w.size(), QImage::Format_ARGB32);
    image.fill(w.palette().color(QPalette::Window));
    QPainter painter(&image);
    QSvgRenderer(file).render(&painter);
    return image;
}

// The largest difference of two colours in one channel.
int distance(QRgb a, QRgb b)
{
    return qMax(qMax(qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b))), qAbs(qBlue(a) - qBlue(b)));
}

} // namespace

class TestInsetLegend : public QObject
{
    Q_OBJECT
private slots:
    void inset_data();
    void inset();
    void properties_data();
    void properties();
    void clicks_data();
    void clicks();
    void styleSheets_data();
    void styleSheets();
    void pictures_data();
    void pictures();
    void scrolledInVectors();
};

void TestInsetLegend::inset_data()
{
    QTest::addColumn<Legend::Placement>("placement");
    QTest::newRow("top right") << Legend::plInsetTopRight;
    QTest::newRow("top left") << Legend::plInsetTopLeft;
    QTest::newRow("bottom right") << Legend::plInsetBottomRight;
    QTest::newRow("bottom left") << Legend::plInsetBottomLeft;
}

// Inset, the legend sits 6 pixels inside a corner of the plot and follows
// it, takes no room and costs no rendering; back on an edge it is the
// legend it was before.
void TestInsetLegend::inset()
{
    QFETCH(Legend::Placement, placement);
    ChartWidget w, plain;
    for (ChartWidget *c : {&w, &plain}) {
        showChart(*c, 601, 401);
        c->addSeries(lineOf({{0, 0}, {10, 10}}, QStringLiteral("one")));
        c->addSeries(lineOf({{0, 5}, {10, 2}}, QStringLiteral("two")));
    }
    auto *counted = new CountingSeries;
    counted->addXY(3, 3);
    w.addSeries(counted);
    plain.addSeries(lineOf({{3, 3}}));
    QApplication::processEvents();
    const QRect bare = w.d->plotRect;
    const int draws = counted->draws;
    Legend *legend = w.legend();
    legend->setPlacement(placement);
    legend->setVisible(true);
    QApplication::processEvents();
    QCOMPARE(w.d->plotRect, bare);
    QCOMPARE(counted->draws, draws);
    QCOMPARE(legend->pos(), cornerOf(placement, bare, legend->size()));
    QCOMPARE(legend->frameWidth(), 1);
    QVERIFY(legend->width() < bare.width() / 2);

    // The plot moves with a title and grows with the chart.
    w.setTitle(QStringLiteral("Title"));
    w.resize(700, 460);
    QApplication::processEvents();
    QVERIFY(w.d->plotRect.top() > bare.top() && w.d->plotRect.right() > bare.right());
    QCOMPARE(legend->pos(), cornerOf(placement, w.d->plotRect, legend->size()));
    legend->setInsetBorderWidth(3);
    QCOMPARE(legend->pos(), cornerOf(placement, w.d->plotRect, legend->size()));
    QCOMPARE(legend->frameWidth(), 3);

    // On an edge again, it is a legend that was never inset.
    w.resize(601, 401);
    w.setTitle(QString());
    legend->setPlacement(Legend::plRight);
    plain.legend()->setVisible(true);
    QApplication::processEvents();
    QCOMPARE(legend->size(), plain.legend()->size());
    QCOMPARE(legend->frameStyle(), plain.legend()->frameStyle());
    QCOMPARE(w.d->plotRect, plain.d->plotRect);
    QCOMPARE(grabImage(legend), grabImage(plain.legend()));
}

void TestInsetLegend::properties_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("background") << QByteArray("insetBackground") << QVariant(QColor(10, 20, 30, 40))
                                << QVariant(QColor(10, 20, 30, 40));
    QTest::newRow("border colour") << QByteArray("insetBorderColor") << QVariant(QColor(Qt::red))
                                   << QVariant(QColor(Qt::red));
    QTest::newRow("border width") << QByteArray("insetBorderWidth") << QVariant(4) << QVariant(4);
    QTest::newRow("no border") << QByteArray("insetBorderWidth") << QVariant(-2) << QVariant(0);
    QTest::newRow("series colour") << QByteArray("textInSeriesColor") << QVariant(true) << QVariant(true);
}

// Each property announces a real change once, with the value it took, and
// nothing when set to what it is.
void TestInsetLegend::properties()
{
    QFETCH(QByteArray, name);
    QFETCH(QVariant, value);
    QFETCH(QVariant, stored);
    Legend legend;
    const QMetaProperty p = legend.metaObject()->property(legend.metaObject()->indexOfProperty(name));
    QSignalSpy spy(&legend, QByteArray("2" + p.notifySignal().methodSignature()).constData());
    const QVariant initial = p.read(&legend);
    QVERIFY(p.write(&legend, initial) && spy.isEmpty());
    QVERIFY(p.write(&legend, value) && p.write(&legend, stored));
    QCOMPARE(p.read(&legend), stored);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0), stored);
    QVERIFY(p.write(&legend, initial) && spy.count() == 2);
}

void TestInsetLegend::clicks_data()
{
    QTest::addColumn<Legend::Placement>("placement");
    QTest::newRow("right") << Legend::plRight;
    QTest::newRow("inset") << Legend::plInsetBottomLeft;
}

// The user's clicks, and only those, are reported with their series; the
// box still toggles, and a host may rename the series on a double click.
void TestInsetLegend::clicks()
{
    QFETCH(Legend::Placement, placement);
    ChartWidget w;
    showChart(w);
    LineSeries *a = lineOf({{0, 0}, {1, 1}}, QStringLiteral("a")), *b = lineOf({{0, 1}, {1, 0}}, QStringLiteral("b"));
    w.addSeries(a), w.addSeries(b);
    Legend *legend = w.legend();
    legend->setPlacement(placement);
    legend->setVisible(true);
    QApplication::processEvents();
    QSignalSpy clicked(legend, &Legend::entryClicked);
    QSignalSpy doubled(legend, &Legend::entryDoubleClicked);
    connect(legend, &Legend::entryDoubleClicked, legend,
            [](ChartSeries *s) { s->setName(s->name() + QStringLiteral(" renamed")); });
    const QList<QCheckBox *> boxes = entriesOf(legend);
    QCOMPARE(boxes.size(), 2);
    const QPoint at = boxes[1]->rect().center();

    QTest::mouseClick(boxes[1], Qt::LeftButton, Qt::NoModifier, at);
    QVERIFY(!b->isVisible() && a->isVisible() && clicked.count() == 1);
    QCOMPARE(clicked.at(0).at(0).value<ChartSeries *>(), b);

    // Code and keys toggle without a report; a right click does nothing.
    boxes[0]->click();
    boxes[0]->setFocus();
    QTest::keyClick(boxes[0], Qt::Key_Space);
    QTest::mouseClick(boxes[0], Qt::RightButton, Qt::NoModifier, at);
    // A press that leaves the box before its release is no click.
    QTest::mousePress(boxes[0], Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(boxes[0], Qt::LeftButton, Qt::NoModifier, QPoint(-20, -20));
    QVERIFY(a->isVisible() && clicked.count() == 1 && doubled.isEmpty());

    // A double click as the system delivers it: press, release, double
    // click, release. The box ends as it began.
    QTest::mousePress(boxes[0], Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(boxes[0], Qt::LeftButton, Qt::NoModifier, at);
    mouse(boxes[0], QEvent::MouseButtonDblClick, Qt::LeftButton, at);
    QTest::mouseRelease(boxes[0], Qt::LeftButton, Qt::NoModifier, at);
    QVERIFY(a->isVisible() && clicked.count() == 3 && doubled.count() == 1);
    QCOMPARE(doubled.at(0).at(0).value<ChartSeries *>(), a);
    QCOMPARE(boxes[0]->text(), QStringLiteral("a renamed"));

    // A host that removes the series when it is hidden: the series goes
    // once its own call has returned, so the click still reports it alive.
    connect(b, &ChartSeries::visible, &w, [&w](bool) { w.removeSeries(2); });
    QTest::mouseClick(boxes[1], Qt::LeftButton, Qt::NoModifier, at);
    QTRY_COMPARE(entriesOf(legend).size(), 1);
    QVERIFY(clicked.count() == 4 && w.seriesList().size() == 1);
}

void TestInsetLegend::styleSheets_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<bool>("onChart"); // on the chart's window, not the application
    QTest::addColumn<bool>("before");  // in effect before the series were added
    const QString indicator = QStringLiteral("QCheckBox::indicator { width: 40px; height: 30px; }");
    const QString box = QStringLiteral("QCheckBox { font-size: 30px; color: red; spacing: 20px; padding: 6px; }");
    QTest::newRow("application, indicator") << indicator << false << false;
    QTest::newRow("application, box") << box << false << false;
    QTest::newRow("application, from the start") << indicator + box << false << true;
    QTest::newRow("chart, indicator") << indicator << true << false;
    QTest::newRow("chart, box") << box << true << true;
}

// A host's rules for check boxes leave the legend's entries, their click
// areas and their pictures on screen and in the images as they were.
void TestInsetLegend::styleSheets()
{
    QFETCH(QString, sheet);
    QFETCH(bool, onChart);
    QFETCH(bool, before);
    const auto build = [](ChartWidget &w) {
        showChart(w, 420, 280);
        w.legend()->setPlacement(Legend::plInsetTopRight);
        w.legend()->setTextInSeriesColor(true);
        w.legend()->setVisible(true);
        addWaves(w);
        QApplication::processEvents();
    };
    ChartWidget plain;
    build(plain);
    const QImage screen = grabImage(plain.legend());
    const QImage image = plain.toImage();
    const QString svg = outputDir() + QStringLiteral("/sheet-%1.svg");
    QVERIFY(plain.exportSvg(svg.arg(0)));

    ChartWidget w;
    const auto setSheet = [&](const QString &text) { onChart ? w.setStyleSheet(text) : qApp->setStyleSheet(text); };
    const auto unset = qScopeGuard([&] { setSheet(QString()); });
    if (before)
        setSheet(sheet);
    build(w);
    if (!before)
        setSheet(sheet);
    QVERIFY(entriesOf(w.legend())[0]->style()->inherits("QStyleSheetStyle"));
    QApplication::processEvents();
    QCOMPARE(w.legend()->geometry(), plain.legend()->geometry());
    QVERIFY(grabImage(w.legend()) == screen && w.toImage() == image && w.exportSvg(svg.arg(1)));
    QCOMPARE(readAll(svg.arg(1)), readAll(svg.arg(0)));
    QCheckBox *first = entriesOf(w.legend())[0];
    QTest::mouseClick(first, Qt::LeftButton, Qt::NoModifier, QPoint(first->width() - 2, first->height() / 2));
    QVERIFY(!w.series(1)->isVisible());
}

void TestInsetLegend::pictures_data()
{
    QTest::addColumn<bool>("dark"); // the row's name names the reference picture
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

// The inset legend in the light and the dark look, drawn by the Qt 5 build
// and looked at; the images show it as the screen does, and the SVG over
// the series at the same corner. TAVRIN_UPDATE_PICTURES=1 rewrites the
// references.
void TestInsetLegend::pictures()
{
    QFETCH(bool, dark);
    const QString name = QStringLiteral("picture-inset-%1").arg(QLatin1String(QTest::currentDataTag()));
    ChartWidget w;
    showChart(w, 420, 280);
    w.setTitle(QStringLiteral("inset"));
    w.axes()->bottom()->setTitle(QStringLiteral("x"));
    w.axes()->left()->setTitle(QStringLiteral("y"));
    Legend *legend = w.legend();
    if (dark) {
        w.setTheme(ChartWidget::thDark);
        legend->setPlacement(Legend::plInsetBottomLeft);
        legend->setTextInSeriesColor(true);
    } else {
        legend->setPlacement(Legend::plInsetTopRight);
        legend->setInsetBackground(QColor(255, 255, 240, 160));
        legend->setInsetBorderColor(QColor(0, 0, 128));
    }
    legend->setVisible(true);
    addWaves(w);
    QApplication::processEvents();

    const QString base = outputDir() + QLatin1Char('/') + name;
    const QImage got = grabImage(&w);
    got.save(base + QStringLiteral(".png"));
    QVERIFY(w.exportSvg(base + QStringLiteral(".svg")));
    QVERIFY(w.exportPdf(base + QStringLiteral(".pdf")));

    // The image outputs are the screen's picture.
    const QRect box = legend->geometry();
    QCOMPARE(w.toImage().convertToFormat(QImage::Format_ARGB32).copy(box), got.copy(box));
    // Where a series runs under the box, clear of the entries, the SVG
    // shows it through the box as the screen does: the box lies over the
    // series, at the same corner.
    const QImage shown = svgImage(w);
    legend->setVisible(false);
    const QImage bare = svgImage(w);
    legend->setVisible(true);
    QRegion entries;
    for (QCheckBox *e : entriesOf(legend))
        entries += QRect(e->mapTo(&w, QPoint(0, 0)), e->size());
    const QRgb plot = bare.pixel(box.center());
    QPoint under;
    for (int y = box.top() + 3; y < box.bottom() - 3; ++y)
        for (int x = box.left() + 3; x < box.right() - 3; ++x)
            if (!entries.contains(QPoint(x, y)) && distance(bare.pixel(x, y), plot) > distance(bare.pixel(under), plot))
                under = QPoint(x, y);
    QVERIFY2(distance(bare.pixel(under), plot) > 100, "no series under the legend");
    QVERIFY(distance(shown.pixel(under), got.pixel(under)) <= 8);
    QVERIFY(distance(shown.pixel(under), bare.pixel(under)) > 40);

    checkPicture(got, QFINDTESTDATA("data"), name + QStringLiteral(".png"), {w.titleFont(), w.legendFont()});
}

// A legend that scrolls keeps the entries out of view inside its box in a
// vector file too, which clips nothing.
void TestInsetLegend::scrolledInVectors()
{
    ChartWidget w;
    showChart(w, 360, 220);
    for (int k = 0; k < 9; ++k)
        w.addSeries(lineOf({{0, 0}, {10, double(k)}}, QStringLiteral("channel %1, a long name").arg(k)));
    w.legend()->setPlacement(Legend::plInsetTopLeft);
    w.legend()->setVisible(true);
    QApplication::processEvents();
    QVERIFY(w.legend()->verticalScrollBar()->isVisible());
    const QImage shown = svgImage(w);
    w.legend()->setVisible(false);
    const QImage bare = svgImage(w);
    const QRect box = w.legend()->geometry();
    const QRect below(box.left(), box.bottom() + 1, box.width(), w.height() - box.bottom() - 1);
    QCOMPARE(shown.copy(below), bare.copy(below));
    QVERIFY(shown.copy(box) != bare.copy(box));
}

TAVRIN_TEST(TestInsetLegend)
#include "tst_insetlegend.moc"
