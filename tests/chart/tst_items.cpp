// Items over the plot: how they look, how the user drags them with real
// mouse events, what the chart refuses, and what survives hostile input.

#include "testmain.h"
#include "fixtures.h"
#include "../../fuzz/chartops.h"

#include <chartitem.h>
#include <chartitem_p.h>
#include <lineitem.h>
#include <rangeitem.h>
#include <textitem.h>

#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <functional>
#include <random>

using namespace tavrintest;

namespace {

// A shown chart with a line from (0, 0) to (100, 50) and hand-set ranges
// 0..100 and 0..50, so that pixels and values map the same in every run.
struct Scene {
    ChartWidget w;
    CountingSeries *line = new CountingSeries;
    explicit Scene(int width = 600, int height = 400)
    {
        line->setColor(Qt::blue);
        line->addXY(0, 0);
        line->addXY(100, 50);
        w.addSeries(line);
        showChart(w, width, height);
        w.setAutoScale(false);
        x()->setRange(0, 100);
        y()->setRange(0, 50);
        for (int i = 0; i < 5; ++i)
            w.axes()->updateTransformData();
        w.repaint();
        QApplication::processEvents();
    }
    Axis *x() const { return w.axes()->bottom(); }
    Axis *y() const { return w.axes()->left(); }
    // The plot's corner where an axis has no range (after clear()).
    QPoint at(double vx, double vy) const
    {
        auto pixel = [](double v) { return std::isfinite(v) ? int(std::floor(v)) : 0; };
        return w.d->plotRect.topLeft() + QPoint(pixel(x()->pointToPixel(vx)), pixel(y()->pointToPixel(vy)));
    }
};

// Every kind of item, as a host would put them on a recorded signal.
void addEveryKind(ChartWidget &w)
{
    auto *signal = new LineSeries;
    signal->setColor(QColor(30, 120, 200));
    for (int i = 0; i <= 200; ++i)
        signal->addXY(i * 0.5, 20 + 15 * std::sin(i / 9.0) + (i == 130 ? 12 : 0));
    w.addSeries(signal);
    auto *band = new RangeItem(Qt::Horizontal, 30, 45, QColor(255, 80, 0, 50));
    band->setPen(QPen(QColor(255, 80, 0), 1, Qt::DotLine));
    w.addItem(band);
    auto *window = new RangeItem(Qt::Vertical, 55, 70, QColor(0, 160, 0, 40));
    window->setPen(QPen(QColor(0, 130, 0)));
    w.addItem(window);
    auto *threshold = new LineItem(Qt::Horizontal, 35, QColor(200, 0, 0), 2);
    threshold->setPen(QPen(QColor(200, 0, 0), 2, Qt::DashLine));
    threshold->setLabel(QStringLiteral("limit 35"));
    w.addItem(threshold);
    auto *cursor = new LineItem(Qt::Vertical, 20, QColor(120, 0, 160));
    cursor->setLabel(QStringLiteral("A"));
    w.addItem(cursor);
    auto *note = new TextItem(QStringLiteral("peak\n47.0"));
    note->setAnchor(QPointF(40, 10));
    note->setBoxBrush(QColor(128, 128, 128, 60));
    note->setBoxPen(QPen(Qt::darkGray));
    note->setArrowTarget(QPointF(65, 47));
    w.addItem(note);
    auto *corner = new TextItem(QStringLiteral("top right"));
    corner->setAnchor(QPointF(0.98, 0.02), TextItem::amPlot);
    corner->setAlignment(Qt::AlignRight | Qt::AlignTop);
    w.addItem(corner);
    // Half of it is outside the plot: the plot's edge cuts it.
    auto *cut = new TextItem(QStringLiteral("cut at the edge"));
    cut->setAnchor(QPointF(0, 5));
    w.addItem(cut);
}

} // namespace

class TestItems : public QObject
{
    Q_OBJECT
private slots:
    void pictures_data();
    void pictures();
    void drag_data();
    void drag();
    void hoverCursor();
    void leaveDuringDrag_data();
    void leaveDuringDrag();
    void registration_data();
    void registration();
    void hostile_data();
    void hostile();
    void svgVectors();
    void operations();
};

void TestItems::pictures_data()
{
    QTest::addColumn<int>("theme");
    QTest::addColumn<bool>("log");
    QTest::newRow("light") << int(ChartWidget::thLight) << false;
    QTest::newRow("dark") << int(ChartWidget::thDark) << false;
    QTest::newRow("log") << int(ChartWidget::thDefault) << true;
}

// Every kind in both themes and on a logarithmic axis, through the screen
// and through toImage(), which must agree.
void TestItems::pictures()
{
    QFETCH(int, theme);
    QFETCH(bool, log);
    ChartWidget w;
    const QFont labels = w.axisLabelFont();
    w.setTheme(ChartWidget::Theme(theme));
    showChart(w, 480, 320);
    if (log)
        w.axes()->left()->setLogarithmic(true);
    addEveryKind(w);
    QApplication::processEvents();
    const QImage shown = grabImage(&w);
    QCOMPARE(w.toImage().convertToFormat(QImage::Format_ARGB32), shown);
    checkPicture(shown, QFINDTESTDATA("data"), QStringLiteral("picture-items-%1.png").arg(QString::fromLatin1(QTest::currentDataTag())),
                 {labels, QFont(QStringLiteral("Arial"), 8)});
}

void TestItems::drag_data()
{
    QTest::addColumn<QString>("kind");  // hline, vline, from, to, fixed
    QTest::addColumn<QPointF>("grab");  // the value pressed at
    QTest::addColumn<QPointF>("drop");  // the value moved to
    QTest::addColumn<bool>("escape");   // Escape before the release
    QTest::addColumn<double>("want");   // the dragged value afterwards, to a pixel; Inf: the axis' end
    QTest::addColumn<int>("changes");   // change signals
    QTest::addColumn<int>("finished");  // dragFinished signals
    QTest::addColumn<bool>("zoomed");   // the press started a zoom band instead
    QTest::addColumn<bool>("log");      // a logarithmic y axis from 1 to 50
    QTest::newRow("vertical line") << "vline" << QPointF(40, 20) << QPointF(60, 30) << false << 60.0 << 1 << 1 << false << false;
    QTest::newRow("horizontal line") << "hline" << QPointF(30, 25) << QPointF(70, 10) << false << 10.0 << 1 << 1 << false << false;
    QTest::newRow("grab 3 pixels off") << "vline" << QPointF(40.5, 20) << QPointF(60.5, 30) << false << 60.0 << 1 << 1 << false << false;
    QTest::newRow("range's upper edge") << "to" << QPointF(60, 5) << QPointF(80, 40) << false << 80.0 << 1 << 1 << false << false;
    QTest::newRow("range's lower edge") << "from" << QPointF(30, 5) << QPointF(10, 40) << false << 10.0 << 1 << 1 << false << false;
    QTest::newRow("past the plot's end") << "vline" << QPointF(40, 20) << QPointF(140, 30) << false << Inf << 1 << 1 << false << false;
    QTest::newRow("escape") << "vline" << QPointF(40, 20) << QPointF(60, 30) << true << 40.0 << 2 << 0 << false << false;
    QTest::newRow("click without moving") << "vline" << QPointF(40, 20) << QPointF(40, 20) << false << 40.0 << 0 << 0 << false << false;
    QTest::newRow("too far from the line") << "vline" << QPointF(45, 20) << QPointF(60, 30) << false << 40.0 << 0 << 0 << true << false;
    QTest::newRow("on a logarithmic axis") << "hline" << QPointF(30, 25) << QPointF(70, 2) << false << 2.0 << 1 << 1 << false << true;
    QTest::newRow("not movable") << "fixed" << QPointF(40, 20) << QPointF(60, 30) << false << 40.0 << 0 << 0 << true << false;
}

void TestItems::drag()
{
    QFETCH(QString, kind);
    QFETCH(QPointF, grab);
    QFETCH(QPointF, drop);
    QFETCH(bool, escape);
    QFETCH(double, want);
    QFETCH(int, changes);
    QFETCH(int, finished);
    QFETCH(bool, zoomed);
    QFETCH(bool, log);
    Scene s;
    if (log) {
        s.y()->setLogarithmic(true);
        s.y()->setRange(1, 50);
        for (int i = 0; i < 5; ++i)
            s.w.axes()->updateTransformData();
    }
    // Moving a line paints the widget; it must not render the series again.
    const int renders = s.line->draws;
    ChartItem *item = nullptr;
    std::function<double()> value;
    if (kind == QLatin1String("from") || kind == QLatin1String("to")) {
        auto *range = new RangeItem(Qt::Vertical, 30, 60);
        value = [range, kind] { return kind == QLatin1String("from") ? range->from() : range->to(); };
        item = range;
    } else {
        auto *line = new LineItem(kind == QLatin1String("hline") ? Qt::Horizontal : Qt::Vertical,
                                  kind == QLatin1String("hline") ? 25 : 40);
        value = [line] { return line->value(); };
        item = line;
    }
    item->setMovable(kind != QLatin1String("fixed"));
    QVERIFY(s.w.addItem(item));
    QCOMPARE(s.w.hasMouseTracking(), item->isMovable());
    QSignalSpy changed(item, item->metaObject()->indexOfSignal("valueChanged(double)") >= 0 ? SIGNAL(valueChanged(double))
                                                                                            : SIGNAL(rangeChanged(double,double)));
    QSignalSpy done(item, item->metaObject()->indexOfSignal("dragFinished(double)") >= 0 ? SIGNAL(dragFinished(double))
                                                                                         : SIGNAL(dragFinished(double,double)));
    const QPoint from = s.at(grab.x(), grab.y()), to = s.at(drop.x(), drop.y());
    mouse(&s.w, QEvent::MouseButtonPress, Qt::LeftButton, from);
    QCOMPARE(s.w.d->zooming, zoomed);
    if (!zoomed)
        QCOMPARE(s.w.cursor().shape(), kind == QLatin1String("hline") ? Qt::SplitVCursor : Qt::SplitHCursor);
    mouse(&s.w, QEvent::MouseMove, Qt::LeftButton, to);
    if (escape)
        QTest::keyClick(&s.w, Qt::Key_Escape);
    mouse(&s.w, QEvent::MouseButtonRelease, Qt::LeftButton, to);
    QApplication::processEvents();
    const Axis *axis = kind == QLatin1String("hline") ? s.y() : s.x();
    if (std::isinf(want))
        want = axis->max();
    // The pointer's pixels are all the drag knows; a line not taken stays put.
    const double pixel = changes ? std::abs(axis->pixelToPoint(axis->pointToPixel(want) + 1) - want) : 0;
    QVERIFY2(std::abs(value() - want) <= pixel, qPrintable(QString::number(value())));
    QCOMPARE(changed.count(), changes);
    QCOMPARE(done.count(), finished);
    if (finished)
        QCOMPARE(done.last().at(kind == QLatin1String("to") ? 1 : 0).toDouble(), value());
    QVERIFY(!s.w.d->dragItem);
    if (!zoomed) {
        QCOMPARE(s.line->draws, renders);
        QCOMPARE(s.w.cursor().shape(), Qt::ArrowCursor);
    }
}

// The pointer shows where a drag would take a line, and only there.
void TestItems::hoverCursor()
{
    Scene s;
    const QPoint near = s.at(50, 20) + QPoint(2, 0), away = s.at(60, 20);
    s.w.addItem(new LineItem(Qt::Vertical, 50)); // not movable
    s.w.addItem(new LineItem(Qt::Horizontal, 25));
    QVERIFY(!s.w.hasMouseTracking());
    mouse(&s.w, QEvent::MouseMove, Qt::NoButton, near);
    QCOMPARE(s.w.cursor().shape(), Qt::ArrowCursor);
    s.w.items().first()->setMovable(true);
    QVERIFY(s.w.hasMouseTracking());
    mouse(&s.w, QEvent::MouseMove, Qt::NoButton, near);
    QCOMPARE(s.w.cursor().shape(), Qt::SplitHCursor);
    mouse(&s.w, QEvent::MouseMove, Qt::NoButton, away);
    QCOMPARE(s.w.cursor().shape(), Qt::ArrowCursor);
    s.w.items().first()->setVisible(false);
    mouse(&s.w, QEvent::MouseMove, Qt::NoButton, near);
    QCOMPARE(s.w.cursor().shape(), Qt::ArrowCursor);
}

void TestItems::leaveDuringDrag_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("removed from its own signal") << "signal";
    QTest::newRow("removed between moves") << "remove";
    QTest::newRow("removed twice") << "twice";
    QTest::newRow("chart cleared") << "clear";
    QTest::newRow("made fixed") << "fixed";
    QTest::newRow("chart destroyed") << "destroy";
    QTest::newRow("deleted by the host") << "delete";
}

// Whatever takes the dragged line away, the drag ends quietly and the
// chart goes on as if there had been none.
void TestItems::leaveDuringDrag()
{
    QFETCH(QString, how);
    auto s = std::make_unique<Scene>();
    QPointer<LineItem> line = new LineItem(Qt::Vertical, 40);
    line->setMovable(true);
    s->w.addItem(line);
    QSignalSpy done(line.data(), SIGNAL(dragFinished(double)));
    if (how == QLatin1String("signal"))
        connect(line.data(), &LineItem::valueChanged, &s->w, [&] { QVERIFY(s->w.removeItem(line)); });
    mouse(&s->w, QEvent::MouseButtonPress, Qt::LeftButton, s->at(40, 20));
    QVERIFY(s->w.d->dragItem);
    mouse(&s->w, QEvent::MouseMove, Qt::LeftButton, s->at(50, 20));
    if (how == QLatin1String("remove") || how == QLatin1String("twice")) {
        ChartItem *gone = line;
        QVERIFY(s->w.removeItem(gone));
        if (how == QLatin1String("twice"))
            QVERIFY(!s->w.removeItem(gone));
    } else if (how == QLatin1String("delete")) {
        delete line;
    } else if (how == QLatin1String("clear")) {
        s->w.clear();
    } else if (how == QLatin1String("fixed")) {
        line->setMovable(false);
    } else if (how == QLatin1String("destroy")) {
        s.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!line);
        return;
    }
    QVERIFY(!s->w.d->dragItem);
    QCOMPARE(s->w.cursor().shape(), Qt::ArrowCursor);
    mouse(&s->w, QEvent::MouseMove, Qt::LeftButton, s->at(60, 20));
    QTest::keyClick(&s->w, Qt::Key_Escape);
    mouse(&s->w, QEvent::MouseButtonRelease, Qt::LeftButton, s->at(60, 20));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(done.count(), 0);
    QCOMPARE(bool(line), how == QLatin1String("fixed"));
    QCOMPARE(s->w.items().size(), how == QLatin1String("fixed") ? 1 : 0);
    if (line)
        QVERIFY(std::abs(line->value() - 50) < 1); // no Escape reached it: the drag had ended
}

void TestItems::registration_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("yAxis"); // 0 left, 1 right
    QTest::newRow("no axes") << "none" << true << 0;
    QTest::newRow("right axis") << "right" << true << 1;
    QTest::newRow("another chart's axes") << "foreign" << false << 0;
    QTest::newRow("registered with another chart") << "other" << false << 0;
    QTest::newRow("registered here before") << "again" << true << 0;
    QTest::newRow("null") << "null" << false << 0;
}

void TestItems::registration()
{
    QFETCH(QString, how);
    QFETCH(bool, taken);
    QFETCH(int, yAxis);
    ChartWidget w, other;
    auto *item = how == QLatin1String("null") ? nullptr : new LineItem(Qt::Horizontal, 1);
    std::unique_ptr<ChartItem> keep(item);
    if (how == QLatin1String("right"))
        item->setAxis(w.axes()->bottom(), w.axes()->right());
    else if (how == QLatin1String("foreign"))
        item->setAxis(other.axes()->bottom(), other.axes()->left());
    else if (how == QLatin1String("other"))
        QVERIFY(other.addItem(keep.release()));
    else if (how == QLatin1String("again"))
        QVERIFY(w.addItem(keep.release()));
    QCOMPARE(w.addItem(item), taken);
    QCOMPARE(w.items().contains(item), taken);
    if (taken) {
        keep.release();
        QCOMPARE(item->xAxis(), w.axes()->bottom());
        QCOMPARE(item->yAxis(), yAxis ? w.axes()->right() : w.axes()->left());
        QCOMPARE(w.items().size(), 1);
        // Once registered, only this chart's axes are taken.
        QVERIFY(!item->setAxis(other.axes()->bottom(), other.axes()->left()));
        QVERIFY(!item->setAxis(w.axes()->left(), w.axes()->bottom()));
        QVERIFY(item->setAxis(w.axes()->bottom(), w.axes()->right()));
        QCOMPARE(item->yAxis(), w.axes()->right());
    } else if (item) {
        QCOMPARE(w.items().size(), 0);
        QVERIFY(item->xAxis() != w.axes()->bottom());
    }
}

void TestItems::hostile_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<bool>("drawn"); // changes the picture
    QTest::newRow("NaN line") << 0 << false;
    QTest::newRow("infinite line") << 1 << false;
    QTest::newRow("range to infinity") << 2 << false;
    QTest::newRow("range with a NaN end") << 3 << false;
    QTest::newRow("note at NaN") << 4 << false;
    QTest::newRow("note at a plot fraction of infinity") << 5 << false;
    QTest::newRow("arrow to NaN") << 6 << true;
    QTest::newRow("line beyond the view") << 7 << false;
    QTest::newRow("range beyond the view") << 8 << false;
    QTest::newRow("huge font") << 9 << true;
    QTest::newRow("huge text") << 10 << true;
    QTest::newRow("range over 1e300") << 11 << true;
    QTest::newRow("zero on a logarithmic axis") << 12 << false;
}

// Positions no axis can place draw nothing and leave the item registered;
// texts and fonts no screen holds are drawn cut, not stalled on.
void TestItems::hostile()
{
    QFETCH(int, which);
    QFETCH(bool, drawn);
    Scene s;
    if (which == 12) {
        s.y()->setLogarithmic(true);
        s.y()->setRange(1, 50);
        s.w.axes()->updateTransformData();
    }
    const QImage before = s.w.toImage();
    ChartItem *item = nullptr;
    TextItem *note = nullptr;
    if ((which >= 4 && which <= 6) || which == 9 || which == 10)
        item = note = new TextItem(QStringLiteral("note"));
    switch (which) {
    case 0: item = new LineItem(Qt::Horizontal, NaN); break;
    case 1: item = new LineItem(Qt::Vertical, -Inf); break;
    case 2: item = new RangeItem(Qt::Vertical, 10, Inf); break;
    case 3: item = new RangeItem(Qt::Horizontal, NaN, 10); break;
    case 4: note->setAnchor(QPointF(NaN, 10)); break;
    case 5: note->setAnchor(QPointF(0.5, Inf), TextItem::amPlot); break;
    case 6: note->setArrowTarget(QPointF(NaN, 3)); break;
    case 7: item = new LineItem(Qt::Horizontal, 60); break;
    case 8: item = new RangeItem(Qt::Vertical, 110, 200); break;
    case 9: note->setFont(QFont(QStringLiteral("Arial"), 100000)); break;
    case 10: note->setText(QString(1 << 20, QLatin1Char('W'))); break;
    case 11: item = new RangeItem(Qt::Vertical, 1e300, -1e300); break;
    case 12: item = new LineItem(Qt::Horizontal, 0); break;
    }
    QVERIFY(s.w.addItem(item));
    QApplication::processEvents();
    const QImage after = s.w.toImage();
    QCOMPARE(after != before, drawn);
    QCOMPARE(s.w.items().size(), 1);
    QVERIFY(s.w.removeItem(item));
    QCOMPARE(s.w.toImage(), before);
}

// Items reach a vector file as shapes and text, not as a picture.
void TestItems::svgVectors()
{
    Scene s;
    auto *band = new RangeItem(Qt::Vertical, 20, 40, QColor(0x12, 0x34, 0x56));
    s.w.addItem(band);
    auto *line = new LineItem(Qt::Horizontal, 30, QColor(0xab, 0xcd, 0xef));
    s.w.addItem(line);
    auto *note = new TextItem(QStringLiteral("noted here"));
    note->setArrowTarget(QPointF(90, 45));
    s.w.addItem(note);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("items.svg"));
    QVERIFY(s.w.exportSvg(file));
    const QByteArray svg = readAll(file);
    QVERIFY(!svg.contains("<image"));
    QVERIFY(svg.contains("noted here"));
    QVERIFY(svg.contains("#123456"));
    QVERIFY(svg.contains("#abcdef"));
}

// The operations fuzzer's item calls on inputs made of little else: adds,
// removals (twice too), changes and drags with Escape, removal and clear()
// in the middle, with the numbers that break arithmetic.
void TestItems::operations()
{
    QTemporaryDir dir;
    QElapsedTimer clock;
    clock.start();
    for (unsigned seed = 1; seed <= 100; ++seed) {
        std::mt19937 rng(seed);
        QByteArray input(200 + int(rng() % 300), Qt::Uninitialized);
        for (char &b : input) {
            // Mostly bytes that decode as item calls; some that add series
            // (the items need axes with ranges), give the special numbers
            // or make the other calls.
            const unsigned r = rng(), k = r % 20;
            b = char(k < 14 ? 33 + 37 * (r / 20 % 6) + (r / 120 % 4) : k < 18 ? r / 20 % 2 : r / 20 % 30);
        }
        input[0] = char(0xC0 | (rng() & 0x1F));
        chartops::run(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()), dir.path());
    }
    QVERIFY2(clock.elapsed() < 60000, "operations took too long");
}

TAVRIN_TEST(TestItems)
#include "tst_items.moc"
