// Ranges, transforms, ticks, labels and the drawing of the axes, with the
// worked numbers a chart of known size must give.
#include "fixtures.h"
#include "testmain.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QPaintEngine>

using namespace tavrintest;

namespace {

class ChartStub : public QObject
{
    Q_OBJECT
public:
    int changes = 0;
private slots:
    void on_axis_changed() { ++changes; }
};

int messages = 0;
void countMessage(QtMsgType, const QMessageLogContext &, const QString &) { ++messages; }

// A paint device that keeps the lines with their pens and the boxes of the
// text runs, in device coordinates.
class Recorder : public QPaintDevice, public QPaintEngine
{
public:
    struct Line { QLineF line; QPen pen; };
    struct Text { QRectF box; QString text; };
    QList<Line> lines;
    QList<Text> texts;
    Recorder() : QPaintEngine(QPaintEngine::AllFeatures) {}
    QPaintEngine *paintEngine() const override { return const_cast<Recorder *>(this); }
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return 600;
        case PdmHeight: return 400;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        default: return 1000;
        }
    }
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState &s) override
    {
        if (s.state() & DirtyPen)
            pen = s.pen();
        if (s.state() & DirtyTransform)
            transform = s.transform();
    }
    void drawLines(const QLineF *l, int n) override
    {
        for (int i = 0; i < n; ++i)
            lines.append({transform.map(l[i]), pen});
    }
    void drawLines(const QLine *l, int n) override
    {
        for (int i = 0; i < n; ++i)
            lines.append({transform.map(QLineF(l[i])), pen});
    }
    void drawTextItem(const QPointF &p, const QTextItem &t) override
    {
        texts.append({transform.mapRect(QRectF(p.x(), p.y() - t.ascent(), t.width(), t.ascent() + t.descent())),
                      t.text()});
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    int count(Qt::PenStyle style, qreal width) const
    {
        return int(std::count_if(lines.cbegin(), lines.cend(), [&](const Line &l) {
            return l.pen.style() == style && l.pen.widthF() == width;
        }));
    }
    QString labels() const
    {
        QStringList all;
        for (const Text &t : texts)
            all << t.text;
        return all.join(QLatin1Char(' '));
    }

private:
    QPen pen;
    QTransform transform;
};

const QRect kPlot(60, 20, 500, 340);

// Both axes over one range on the plot, the margin settled.
void prepare(Axes &axes, double lo, double hi)
{
    axes.left()->setRange(lo, hi);
    axes.bottom()->setRange(lo, hi);
    axes.setSize(QSizeF(kPlot.size()));
    for (int i = 0; i < 10; ++i)
        axes.updateTransformData();
    axes.adjust();
}

void record(Axes &axes, Recorder &rec, QRect plot = kPlot, bool grid = true)
{
    QPainter p(&rec);
    axes.draw(&p, &plot, grid);
}

} // namespace

class TestAxes : public QObject
{
    Q_OBJECT
private slots:
    void pair();
    void pairUpdate_data();
    void pairUpdate();
    void update_data();
    void update();
    void transform_data();
    void transform();
    void rangeSetters();
    void ticks_data();
    void ticks();
    void datetimeTicks_data();
    void datetimeTicks();
    void labels();
    void labelBand_data();
    void labelBand();
    void drawnPixels();
    void ticksAndLabels();
    void overlappingLabels();
    void titles();
    void terminates_data();
    void terminates();
};

void TestAxes::pair()
{
    ChartStub chart;
    Axes axes(&chart);
    QCOMPARE(axes.left()->type(), Axis::atLeft);
    QCOMPARE(axes.bottom()->type(), Axis::atBottom);
    emit axes.left()->axisChanged();
    emit axes.bottom()->axisChanged();
    QCOMPARE(chart.changes, 2);
    QVERIFY(!axes.isValid());
    axes.left()->setRange(0, 10);
    QVERIFY(!axes.isValid());
    axes.bottom()->setRange(0, 100);
    QVERIFY(axes.isValid());

    // Worked numbers: 500 x 300 gives lengths 499 and 299, 20 pixels of pad.
    axes.setSize(QSizeF(500, 300));
    QCOMPARE(axes.bottom()->pointToPixel(0), 20.0);
    QCOMPARE(axes.left()->pointToPixel(0), 279.0);
    // A shift moves each axis by its own pixels, and the transform follows.
    const double dx = axes.bottom()->pixelDeltaToPoint(30), dy = axes.left()->pixelDeltaToPoint(-12);
    axes.shift(QPoint(30, -12));
    QCOMPARE(axes.bottom()->d->rawMin, dx);
    QCOMPARE(axes.bottom()->d->rawMax, 100 + dx);
    QCOMPARE(axes.left()->d->rawMax, 10 + dy);
    QCOMPARE(axes.bottom()->pointToPixel(dx), 20.0);
    axes.reset();
    QVERIFY(!axes.isValid());

    // A receiver without the slot is simply not connected, silently.
    messages = 0;
    QtMessageHandler old = qInstallMessageHandler(countMessage);
    QObject plain;
    { Axes other(&plain); Axes none(nullptr); }
    qInstallMessageHandler(old);
    QCOMPARE(messages, 0);
}

void TestAxes::pairUpdate_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<bool>("result");
    QTest::addColumn<double>("bottomMax");
    QTest::addColumn<double>("leftMax");
    QTest::newRow("y outside") << 5.0 << 20.0 << true << 10.0 << 20.0;
    QTest::newRow("x outside") << 30.0 << 5.0 << true << 30.0 << 10.0;
    QTest::newRow("inside") << 5.0 << 5.0 << false << 10.0 << 10.0;
    QTest::newRow("NaN") << NaN << NaN << false << 10.0 << 10.0;
}

// Axis::update alone leaves the ticks stale; the pair refreshes them.
void TestAxes::pairUpdate()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(bool, result);
    QFETCH(double, bottomMax);
    QFETCH(double, leftMax);
    Axes axes;
    for (Axis *a : {axes.left(), axes.bottom()}) {
        a->update(0);
        a->update(10);
    }
    QCOMPARE(axes.left()->d->tickCount, 0);
    QCOMPARE(axes.update(x, y), result);
    QCOMPARE(axes.bottom()->d->rawMax, bottomMax);
    QCOMPARE(axes.left()->d->rawMax, leftMax);
    QVERIFY(axes.left()->d->tickCount >= 7 && axes.bottom()->d->tickCount >= 7);
    // adjust recomputes the ticks for the new lengths.
    axes.setSize(QSizeF(600, 400));
    axes.left()->update(-1);
    axes.left()->update(100);
    axes.adjust();
    QCOMPARE(axes.left()->d->tickStep, 10.0);
}

void TestAxes::update_data()
{
    QTest::addColumn<bool>("ranged"); // starts as 0..10
    QTest::addColumn<bool>("lock");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("result");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::newRow("first 5") << false << false << 5.0 << true << 5 - 1e-9 << 5 + 1e-9;
    QTest::newRow("first 0") << false << false << 0.0 << true << -0.01 << 0.01;
    QTest::newRow("first NaN") << false << false << NaN << false << NaN << NaN;
    QTest::newRow("inside") << true << false << 5.0 << false << 0.0 << 10.0;
    QTest::newRow("NaN") << true << false << NaN << false << 0.0 << 10.0;
    QTest::newRow("below") << true << false << -3.0 << true << -3.0 << 10.0;
    QTest::newRow("above") << true << false << 12.0 << true << 0.0 << 12.0;
    QTest::newRow("locked above") << true << true << 100.0 << true << 0.0 << 10.0;
    QTest::newRow("locked first") << false << true << 5.0 << true << NaN << NaN;
}

void TestAxes::update()
{
    QFETCH(bool, ranged);
    QFETCH(bool, lock);
    QFETCH(double, value);
    QFETCH(bool, result);
    QFETCH(double, min);
    QFETCH(double, max);
    Axis axis(Axis::atBottom);
    axis.d->setLength(500);
    if (ranged)
        axis.setRange(0, 10);
    axis.setScaleLock(lock);
    const double pixel = axis.pointToPixel(7);
    QCOMPARE(axis.update(value), result);
    QCOMPARE(axis.d->rawMin, min);
    QCOMPARE(axis.d->rawMax, max);
    if (!result)
        QCOMPARE(axis.pointToPixel(7), pixel);
}

void TestAxes::transform_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("zeroPixel");
    QTest::newRow("bottom") << int(Axis::atBottom) << 20.0;
    QTest::newRow("left") << int(Axis::atLeft) << 479.0;
}

void TestAxes::transform()
{
    QFETCH(int, type);
    QFETCH(double, zeroPixel);
    Axis axis{Axis::AxisType(type)};
    QCOMPARE(axis.pixelToPoint(100), 0.0);
    QCOMPARE(axis.pointDeltaToPixel(1), 0.0);
    axis.setRange(0, 10);
    axis.d->setLength(500);
    QCOMPARE(axis.pointToPixel(0), zeroPixel);
    QCOMPARE(axis.pointToPixel(axis.min()), type == Axis::atLeft ? 499.0 : 0.0);
    QCOMPARE(axis.pixelToPoint(axis.pointToPixel(3.7)), 3.7);
    QCOMPARE(axis.pixelDeltaToPoint(axis.pointDeltaToPixel(2.5)), 2.5);
    // The margin settles over repeated transforms: 519, 481.97, 479.24 ...
    if (type == Axis::atBottom) {
        QCOMPARE(axis.pointToPixel(10), 519.0);
        for (double expected : {481.97, 479.24, 479.02}) {
            axis.d->updateTransform();
            QVERIFY2(std::fabs(axis.pointToPixel(10) - expected) < 0.01, qPrintable(QString::number(axis.pointToPixel(10))));
        }
    }
    // Locked, nothing moves it; reset keeps it valid but forgets the scale.
    axis.setScaleLock(true);
    axis.setRange(-5, 5);
    axis.shift(3);
    QCOMPARE(axis.d->rawMin, 0.0);
    axis.reset();
    QVERIFY(axis.isValid());
    QCOMPARE(axis.pointDeltaToPixel(1), 0.0);
    axis.setScaleLock(false);
    axis.reset();
    QVERIFY(!axis.isValid());
}

void TestAxes::rangeSetters()
{
    Axis axis(Axis::atLeft);
    axis.setRange(0, 10);
    axis.setRange(50, 60); // a pure pan keeps the step and the first tick
    QCOMPARE(axis.d->firstTick, 0.0);
    axis.setRange(0, 100);
    QCOMPARE(axis.d->tickStep, 10.0);
    axis.setMax(36);
    QCOMPARE(axis.d->tickStep, 5.0);
    axis.setMin(6);
    QCOMPARE(axis.d->tickStep, 2.0);
    QCOMPARE(axis.d->firstTick, 6.0);
    axis.shift(7);
    QCOMPARE(axis.min(), 13.0);
    QCOMPARE(axis.max(), 43.0);
    QCOMPARE(axis.d->firstTick, 14.0);
    // NaN never becomes part of the range.
    axis.setMin(NaN);
    axis.setMax(NaN);
    axis.setRange(NaN, 3);
    axis.shift(NaN);
    QCOMPARE(axis.min(), 13.0);
    QCOMPARE(axis.max(), 43.0);
}

void TestAxes::ticks_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("first");
    QTest::newRow("10") << 0.0 << 10.0 << 1.0 << 0.0;
    QTest::newRow("14.1") << 0.0 << 14.1 << 2.0 << 0.0;
    QTest::newRow("35") << 0.0 << 35.0 << 2.0 << 0.0; // a seventh is exactly 5
    QTest::newRow("36") << 0.0 << 36.0 << 5.0 << 0.0;
    QTest::newRow("100") << 0.0 << 100.0 << 10.0 << 0.0;
    QTest::newRow("offset") << 3.0 << 103.0 << 10.0 << 10.0;
    QTest::newRow("negative") << -0.37 << -0.01 << 0.05 << -0.35;
}

void TestAxes::ticks()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, step);
    QFETCH(double, first);
    Axis axis(Axis::atLeft);
    axis.setRange(min, max);
    QCOMPARE(axis.d->tickStep, step);
    QCOMPARE(axis.d->firstTick, first);
    QVERIFY(axis.d->tickCount >= 7);
}

void TestAxes::datetimeTicks_data()
{
    QTest::addColumn<double>("span");
    QTest::addColumn<double>("step");
    QTest::newRow("3 days") << 3 * 86400.0 << 86400.0;
    QTest::newRow("1 hour") << 3600.0 << 600.0;
    QTest::newRow("10 minutes") << 600.0 << 60.0;
    QTest::newRow("30 seconds") << 30.0 << 2.0;
}

void TestAxes::datetimeTicks()
{
    QFETCH(double, span);
    QFETCH(double, step);
    // Mid-afternoon local time, so a day step has to move to a midnight.
    const double t0 = double(QDateTime(QDate(2024, 3, 14), QTime(15, 17, 23)).toSecsSinceEpoch());
    Axis axis(Axis::atBottom);
    axis.setDatetime(true);
    axis.setRange(t0, t0 + span);
    QCOMPARE(axis.d->tickStep, step);
    QVERIFY(axis.d->tickCount >= 7);
    const double first = axis.d->firstTick;
    QVERIFY(first >= t0 && first < t0 + step);
    if (step >= 86400)
        QCOMPARE(QDateTime::fromSecsSinceEpoch(qint64(first)).time(), QTime(0, 0));
    else
        QCOMPARE(std::fmod(first, step), 0.0);
}

void TestAxes::labels()
{
    Axis axis(Axis::atBottom);
    QCOMPARE(axis.labelString(2.5), QStringLiteral("2.5"));
    QCOMPARE(axis.labelString(1234567), QStringLiteral("1.23457e+06"));
    axis.setDatetime(true);
    QCOMPARE(axis.datetimeFormat(), QStringLiteral("dd.MM.yyyy\r\nhh:mm:ss"));
    const QDateTime dt(QDate(2024, 3, 14), QTime(15, 17, 23));
    QCOMPARE(axis.labelString(double(dt.toSecsSinceEpoch()) + 0.9), QStringLiteral("14.03.2024\r\n15:17:23"));
    QCOMPARE(axis.labelString(Inf), QString());
    // The format outlives the mode but is only reported while it is on.
    axis.setDatetime(false);
    QCOMPARE(axis.datetimeFormat(), QString());
    axis.setDatetimeFormat(QStringLiteral("hh:mm"));
    axis.setDatetime(true);
    QCOMPARE(axis.datetimeFormat(), QStringLiteral("hh:mm"));

    // Custom labels replace all others; keys are single precision, so 0.1
    // and its double neighbours are one entry.
    axis.setCustomLabel(1.0, QStringLiteral("one"));
    QCOMPARE(axis.labelString(1.0), QStringLiteral("one"));
    QCOMPARE(axis.labelString(2.0), QString());
    axis.setCustomLabel(0.1, QStringLiteral("a"));
    axis.setCustomLabel(std::nextafter(0.1, 1.0), QStringLiteral("b"));
    axis.setCustomLabel(std::nextafter(0.1, 0.0), QStringLiteral("c"));
    axis.setCustomLabel(NaN, QStringLiteral("nan"));
    QCOMPARE(axis.labelString(0.1), QStringLiteral("c"));
    QCOMPARE(axis.labelString(NaN), QString());
    axis.clearCustomLabels();
    QCOMPARE(axis.labelString(double(dt.toSecsSinceEpoch())), QStringLiteral("15:17"));
}

void TestAxes::labelBand_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("change");
    QTest::addColumn<int>("lines");    // bottom: label lines
    QTest::addColumn<QString>("widest"); // left: the widest label
    QTest::addColumn<bool>("title");
    const int b = Axis::atBottom, l = Axis::atLeft;
    QTest::newRow("bottom, one line") << b << 0 << 1 << "" << false;
    QTest::newRow("bottom, date-time") << b << 1 << 2 << "" << false;
    QTest::newRow("bottom, one-line format") << b << 2 << 1 << "" << false;
    QTest::newRow("bottom, title") << b << 3 << 1 << "" << true;
    QTest::newRow("left, numbers") << l << 0 << 0 << "-1000" << false;
    QTest::newRow("left, custom label") << l << 4 << 0 << "a very long label" << false;
    QTest::newRow("left, custom labels cleared") << l << 5 << 0 << "-1000" << false;
    QTest::newRow("left, collapsed range") << l << 6 << 0 << "" << false;
    QTest::newRow("left, title") << l << 3 << 0 << "-1000" << true;
}

// The band beside the plot holds the widest label, or the lines of a
// bottom label, plus 5 pixels and the title.
void TestAxes::labelBand()
{
    QFETCH(int, type);
    QFETCH(int, change);
    QFETCH(int, lines);
    QFETCH(QString, widest);
    QFETCH(bool, title);
    Axis axis{Axis::AxisType(type)};
    axis.setRange(-1000, 10);
    switch (change) {
    case 1: axis.setDatetime(true); break;
    case 2: axis.setDatetime(true); axis.setDatetimeFormat(QStringLiteral("hh:mm")); break;
    case 3: axis.setTitle(QStringLiteral("Time")); break;
    case 4: axis.setCustomLabel(-400, QStringLiteral("a very long label")); break;
    case 5: axis.setCustomLabel(-400, QStringLiteral("a very long label")); axis.clearCustomLabels(); break;
    case 6: axis.setRange(5, 5); break;
    }
    const QFontMetrics fm(QFont(QStringLiteral("Arial"), 8));
    int size = 5 + fm.height() * lines + (widest.isEmpty() ? 0 : fm.horizontalAdvance(widest));
    if (title)
        size += fm.boundingRect(QStringLiteral("Time")).height() + 2;
    QCOMPARE(axis.size(), size);
}

// Two-pixel edges, five-pixel ticks outside, dashed grid lines across.
void TestAxes::drawnPixels()
{
    Axes axes;
    prepare(axes, 0, 10);
    axes.setGridColor(QColor(255, 0, 0));
    QImage img(600, 400, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QRect plot = kPlot;
    QPainter p(&img);
    axes.draw(&p, &plot, true);
    p.end();
    const QRgb black = qRgb(0, 0, 0), red = qRgb(255, 0, 0);
    Axis *left = axes.left();
    const int midY = plot.top() + int(left->pointToPixel(4.5));
    QCOMPARE(countColor(img, black, QRect(plot.left() - 3, midY, 6, 1)), 2);
    const int midX = plot.left() + int(axes.bottom()->pointToPixel(4.5));
    QCOMPARE(countColor(img, black, QRect(midX, plot.bottom() - 2, 1, 6)), 2);
    const int tickY = int(plot.bottom() - (5 - left->min()) * left->d->scale);
    QCOMPARE(countColor(img, black, QRect(plot.left() - 5, tickY, 4, 1)), 4);
    const int dashes = countColor(img, red, QRect(plot.left() + 2, tickY, plot.width() - 4, 1));
    QVERIFY2(dashes > plot.width() / 3 && dashes < plot.width() - 10, qPrintable(QString::number(dashes)));
    QCOMPARE(countColor(img, red, QRect(plot.left() + 2, midY, plot.width() - 4, 1)), 0);
}

void TestAxes::ticksAndLabels()
{
    for (double firstTick : {0.0, 1e-17, -0.0}) {
        for (bool grid : {true, false}) {
            Axes axes;
            prepare(axes, 0, 10);
            axes.bottom()->d->firstTick = firstTick;
            Recorder rec;
            QPainter p(&rec);
            QRect plot = kPlot;
            axes.bottom()->draw(&p, &plot, grid);
            p.end();
            QCOMPARE(rec.labels(), QStringLiteral("0 1 2 3 4 5 6 7 8 9 10"));
            QCOMPARE(rec.count(Qt::SolidLine, 1), 11 + 1); // ticks and the thin edge
            QCOMPARE(rec.count(Qt::SolidLine, 2), 1);
            QCOMPARE(rec.count(Qt::DashLine, 1), grid ? 11 : 0);
        }
    }
    // After a reset only the edges; nothing at all without a plot or painter.
    Axes axes;
    Recorder rec;
    record(axes, rec);
    QCOMPARE(rec.lines.size(), 4);
    QVERIFY(rec.texts.isEmpty());
    prepare(axes, 0, 10);
    Recorder none;
    record(axes, none, QRect(QPoint(300, 20), QPoint(100, 200)));
    record(axes, none, QRect());
    QPainter p(&none);
    QRect plot = kPlot;
    axes.draw(nullptr, &plot, true);
    axes.draw(&p, nullptr, true);
    QVERIFY(none.lines.isEmpty() && none.texts.isEmpty());
}

// Every tick is drawn; labels that would collide are left out.
void TestAxes::overlappingLabels()
{
    Axes axes;
    prepare(axes, 0, 10);
    for (int i = 0; i <= 10; ++i)
        axes.bottom()->setCustomLabel(i, i == 7 ? QString() : QStringLiteral("a wide label %1").arg(i));
    axes.left()->setCustomLabel(5, QStringLiteral("five"));
    Recorder rec;
    record(axes, rec);
    QCOMPARE(rec.count(Qt::SolidLine, 1), 2 * 11 + 2);
    for (int i = 0; i < rec.texts.size(); ++i)
        for (int j = i + 1; j < rec.texts.size(); ++j)
            QVERIFY(!rec.texts[i].box.intersects(rec.texts[j].box));
    QVERIFY(rec.texts.size() >= 4 && rec.texts.size() < 11);
    QCOMPARE(rec.texts.constFirst().text, QStringLiteral("five"));
}

void TestAxes::titles()
{
    Axes axes;
    Axis *bottom = axes.bottom();
    bottom->setDatetime(true);
    bottom->setTitle(QStringLiteral("Time"));
    axes.left()->setTitle(QStringLiteral("Pressure, kPa"));
    const double t0 = double(QDateTime(QDate(2024, 3, 14), QTime(15, 17, 23)).toSecsSinceEpoch());
    axes.left()->setRange(-3, 47);
    bottom->setRange(t0, t0 + 3 * 86400);
    QRect plot(QPoint(axes.left()->size() + 10, 20), QPoint(580, 399 - bottom->size() - 5));
    axes.setSize(QSizeF(plot.size()));
    axes.adjust();
    Recorder rec;
    record(axes, rec, plot);
    const int lineHeight = QFontMetrics(bottom->d->labelFont).height();
    int seen = 0, midnights = 0;
    for (const auto &t : rec.texts) {
        if (t.text == QLatin1String("Time")) {
            ++seen;
            QVERIFY(std::fabs(t.box.top() - (plot.bottom() + 7 + 2 * lineHeight)) <= 1);
        } else if (t.text == QLatin1String("Pressure, kPa")) {
            ++seen; // rotated, at the outer edge of the band, centred
            QVERIFY(t.box.height() > t.box.width());
            QVERIFY(std::fabs(t.box.left() - (plot.left() - axes.left()->size())) <= 1);
            QVERIFY(std::fabs(t.box.center().y() - plot.center().y()) <= 2);
        }
        midnights += t.text == QLatin1String("00:00:00");
    }
    QCOMPARE(seen, 2);
    QCOMPARE(midnights, 3);
}

void TestAxes::terminates_data()
{
    QTest::addColumn<int>("scenario");
    QTest::newRow("reversed") << 0;
    QTest::newRow("infinite") << 1;
    QTest::newRow("NaN step") << 2;
    QTest::newRow("huge, tiny span") << 3;
    QTest::newRow("stale first tick") << 4;
    QTest::newRow("denormal span") << 5;
}

// Tick loops end and stay within the pixel range for any range.
void TestAxes::terminates()
{
    QFETCH(int, scenario);
    const double hugeEnd = std::nextafter(std::nextafter(1e300, Inf), Inf);
    Axes axes;
    for (Axis *axis : {axes.left(), axes.bottom()}) {
        switch (scenario) {
        case 0: axis->setRange(10, 0); break;
        case 1: axis->update(1); axis->update(Inf); axis->update(-Inf); break;
        case 3: axis->setRange(1e300, hugeEnd); break;
        case 5: axis->setRange(0, std::numeric_limits<double>::denorm_min()); break;
        default: axis->setRange(0, 10); break;
        }
    }
    axes.setSize(QSizeF(kPlot.size()));
    axes.adjust();
    for (Axis *axis : {axes.left(), axes.bottom()}) {
        if (scenario == 2)
            axis->d->tickStep = NaN;
        if (scenario == 4)
            axis->setRange(1e9, 1e9 + 10); // a pan: the first tick stays at 0
        axis->d->updateSize();
        QVERIFY(axis->isValid());
    }
    Recorder rec;
    record(axes, rec);
    for (const auto &l : rec.lines)
        for (qreal c : {l.line.x1(), l.line.y1(), l.line.x2(), l.line.y2()})
            QVERIFY(std::isfinite(c) && std::fabs(c) < 1e7);
    if (scenario == 4)
        QCOMPARE(rec.count(Qt::DashLine, 1), 2 * 11);
}

TAVRIN_TEST(TestAxes)
#include "tst_axes.moc"
