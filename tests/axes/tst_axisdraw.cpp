#include "testmain.h"
#include "testutil.h"

#include <axes.h>
#include <axis.h>
#include <axis_p.h>

#include <QDateTime>
#include <QPaintEngine>
#include <QPainter>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

// A paint device that keeps what was painted: lines with their pens and the
// boxes of the text runs, in device coordinates.
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
        const QRectF box(p.x(), p.y() - t.ascent(), t.width(), t.ascent() + t.descent());
        texts.append({transform.mapRect(box), t.text()});
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}

    int count(Qt::PenStyle style, qreal width) const
    {
        int n = 0;
        for (const Line &l : lines)
            n += l.pen.style() == style && l.pen.widthF() == width;
        return n;
    }

private:
    QPen pen;
    QTransform transform;
};

const QRect plotRect(60, 20, 500, 340);

void prepare(Axes &axes, double lo, double hi)
{
    axes.left()->setRange(lo, hi);
    axes.bottom()->setRange(lo, hi);
    axes.setSize(QSizeF(plotRect.size()));
    // The margin settles over repeated transforms; let it, so that the
    // data range ends up pad pixels inside both ends.
    for (int i = 0; i < 10; ++i)
        axes.updateTransformData();
    axes.adjust();
}

void record(Axes &axes, Recorder &rec, QRect plot = plotRect, bool grid = true)
{
    QPainter p(&rec);
    axes.draw(&p, &plot, grid);
}

} // namespace

class TestAxisDraw : public QObject
{
    Q_OBJECT
private slots:
    void pixels();
    void ticksAndLabels_data();
    void ticksAndLabels();
    void nothingToDraw();
    void overlappingLabels();
    void titles();
    void terminates_data();
    void terminates();
};

void TestAxisDraw::pixels()
{
    Axes axes;
    prepare(axes, 0, 10);
    axes.setGridColor(QColor(255, 0, 0));
    QImage img(600, 400, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QRect plot = plotRect;
    QPainter p(&img);
    axes.draw(&p, &plot, true);
    p.end();
    img.save(tavrintest::outputDir() + QStringLiteral("/axes_pixels.png"));

    const QRgb black = qRgb(0, 0, 0), red = qRgb(255, 0, 0);
    // Between two ticks: the thick edges are two pixels wide.
    Axis *left = axes.left();
    const int midY = plot.top() + int(left->pointToPixel(4.5));
    QCOMPARE(tavrintest::countColor(img, black, QRect(plot.left() - 3, midY, 6, 1)), 2);
    const int midX = plot.left() + int(axes.bottom()->pointToPixel(4.5));
    QCOMPARE(tavrintest::countColor(img, black, QRect(midX, plot.bottom() - 2, 1, 6)), 2);

    // At tick 5: a 5-pixel tick outside and a dashed red line across.
    const int tickY = int(plot.bottom() - (5 - left->min()) * left->d->scale);
    QCOMPARE(tavrintest::countColor(img, black, QRect(plot.left() - 5, tickY, 4, 1)), 4);
    const int dashes = tavrintest::countColor(img, red, QRect(plot.left() + 2, tickY, plot.width() - 4, 1));
    QVERIFY2(dashes > plot.width() / 3 && dashes < plot.width() - 10, qPrintable(QString::number(dashes)));
    QCOMPARE(tavrintest::countColor(img, red, QRect(plot.left() + 2, midY, plot.width() - 4, 1)), 0);
}

void TestAxisDraw::ticksAndLabels_data()
{
    QTest::addColumn<double>("firstTick");
    QTest::addColumn<bool>("grid");
    QTest::newRow("grid") << 0.0 << true;
    QTest::newRow("no grid") << 0.0 << false;
    QTest::newRow("near zero") << 1e-17 << true;
    QTest::newRow("negative zero") << -0.0 << false;
}

void TestAxisDraw::ticksAndLabels()
{
    QFETCH(double, firstTick);
    QFETCH(bool, grid);

    Axes axes;
    prepare(axes, 0, 10);
    axes.bottom()->d->firstTick = firstTick;
    Recorder rec;
    QPainter p(&rec);
    QRect plot = plotRect;
    axes.bottom()->draw(&p, &plot, grid);
    p.end();

    QStringList labels;
    for (const auto &t : rec.texts)
        labels << t.text;
    QCOMPARE(labels.join(QLatin1Char(' ')), QStringLiteral("0 1 2 3 4 5 6 7 8 9 10"));
    QCOMPARE(rec.count(Qt::SolidLine, 1), 11 + 1); // ticks and the caller's thin edge
    QCOMPARE(rec.count(Qt::SolidLine, 2), 1);
    QCOMPARE(rec.count(Qt::DashLine, 1), grid ? 11 : 0);
    for (const auto &l : rec.lines) {
        if (l.pen.style() == Qt::DashLine)
            QCOMPARE(l.pen.color(), QColor(Qt::white));
    }
}

void TestAxisDraw::nothingToDraw()
{
    Axes axes;
    Recorder rec;
    record(axes, rec); // after a reset: step 0, only the edges
    QCOMPARE(rec.lines.size(), 4);
    QVERIFY(rec.texts.isEmpty());

    prepare(axes, 0, 10);
    Recorder none;
    record(axes, none, QRect(QPoint(300, 20), QPoint(100, 200)));
    record(axes, none, QRect());
    QPainter p(&none);
    QRect plot = plotRect;
    axes.draw(nullptr, &plot, true);
    axes.draw(&p, nullptr, true);
    QVERIFY(none.lines.isEmpty());
    QVERIFY(none.texts.isEmpty());
}

void TestAxisDraw::overlappingLabels()
{
    Axes axes;
    prepare(axes, 0, 10);
    for (int i = 0; i <= 10; ++i)
        axes.bottom()->setCustomLabel(i, i == 7 ? QString() : QStringLiteral("a wide label %1").arg(i));
    axes.left()->setCustomLabel(5, QStringLiteral("five"));
    Recorder rec;
    record(axes, rec);

    // Every tick is drawn; labels that would collide are left out.
    QCOMPARE(rec.count(Qt::SolidLine, 1), 2 * 11 + 2);
    int bottomLabels = 0;
    for (int i = 0; i < rec.texts.size(); ++i) {
        bottomLabels += rec.texts[i].text.startsWith(QLatin1Char('a'));
        for (int j = i + 1; j < rec.texts.size(); ++j)
            QVERIFY(!rec.texts[i].box.intersects(rec.texts[j].box));
    }
    QVERIFY(bottomLabels >= 3 && bottomLabels < 10);
    QCOMPARE(rec.texts.size(), bottomLabels + 1);
    QCOMPARE(rec.texts.constFirst().text, QStringLiteral("five"));
}

void TestAxisDraw::titles()
{
    Axes axes;
    Axis *bottom = axes.bottom();
    bottom->setDatetime(true);
    bottom->setTitle(QStringLiteral("Time"));
    axes.left()->setTitle(QStringLiteral("Pressure, kPa"));
    const double t0 = double(QDateTime(QDate(2024, 3, 14), QTime(15, 17, 23)).toSecsSinceEpoch());
    axes.left()->setRange(-3, 47);
    bottom->setRange(t0, t0 + 3 * 86400);
    QRect plot(axes.left()->size() + 10, 20, 0, 0);
    plot.setBottomRight(QPoint(580, 399 - bottom->size() - 5));
    axes.setSize(QSizeF(plot.size()));
    axes.adjust();
    plot.setLeft(axes.left()->size() + 10);
    axes.setSize(QSizeF(plot.size()));

    Recorder rec;
    record(axes, rec, plot);
    const int lineHeight = QFontMetrics(bottom->d->labelFont).height();
    bool sawTime = false, sawPressure = false, sawMidnight = false;
    for (const auto &t : rec.texts) {
        if (t.text == QLatin1String("Time")) {
            sawTime = true;
            QVERIFY(std::fabs(t.box.top() - (plot.bottom() + 7 + 2 * lineHeight)) <= 1);
        } else if (t.text == QLatin1String("Pressure, kPa")) {
            sawPressure = true;
            // Rotated: tall and narrow, at the outer edge of the label band.
            QVERIFY(t.box.height() > t.box.width());
            QVERIFY(std::fabs(t.box.left() - (plot.left() - axes.left()->size())) <= 1);
            QVERIFY(std::fabs(t.box.center().y() - plot.center().y()) <= 2);
        }
        sawMidnight = sawMidnight || t.text == QLatin1String("00:00:00");
    }
    QVERIFY(sawTime && sawPressure && sawMidnight);

    QImage img(600, 400, QImage::Format_ARGB32);
    img.fill(QColor(235, 235, 235));
    QPainter p(&img);
    axes.draw(&p, &plot, true);
    p.end();
    QVERIFY(img.save(tavrintest::outputDir() + QStringLiteral("/axes_datetime.png")));
}

void TestAxisDraw::terminates_data()
{
    QTest::addColumn<int>("scenario");
    QTest::newRow("reversed") << 0;
    QTest::newRow("infinite") << 1;
    QTest::newRow("NaN step") << 2;
    QTest::newRow("huge, tiny span") << 3;
    QTest::newRow("stale first tick") << 4;
    QTest::newRow("denormal span") << 5;
}

void TestAxisDraw::terminates()
{
    QFETCH(int, scenario);
    const double inf = std::numeric_limits<double>::infinity();
    const double huge = 1e300;
    const double hugeEnd = std::nextafter(std::nextafter(huge, inf), inf);

    Axes axes;
    for (Axis *axis : {axes.left(), axes.bottom()}) {
        switch (scenario) {
        case 0: axis->setRange(10, 0); break;
        case 1: axis->update(1); axis->update(inf); axis->update(-inf); break;
        case 2: axis->setRange(0, 10); break;
        case 3: axis->setRange(huge, hugeEnd); break;
        case 4: axis->setRange(0, 10); break;
        case 5: axis->setRange(0, std::numeric_limits<double>::denorm_min()); break;
        }
    }
    axes.setSize(QSizeF(plotRect.size()));
    axes.adjust();
    for (Axis *axis : {axes.left(), axes.bottom()}) {
        if (scenario == 2)
            axis->d->tickStep = std::numeric_limits<double>::quiet_NaN();
        if (scenario == 4)
            axis->setRange(1e9, 1e9 + 10); // a pan: the first tick stays at 0
        axis->d->updateSize();
        QVERIFY(axis->isValid());
    }

    Recorder rec;
    record(axes, rec);
    for (const auto &l : rec.lines) {
        for (qreal c : {l.line.x1(), l.line.y1(), l.line.x2(), l.line.y2()})
            QVERIFY(std::isfinite(c) && std::fabs(c) < 1e7);
    }
    if (scenario == 4)
        QCOMPARE(rec.count(Qt::DashLine, 1), 2 * 11);
}

TAVRIN_TEST(TestAxisDraw)
#include "tst_axisdraw.moc"
