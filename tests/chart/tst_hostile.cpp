#include "chartfixtures.h"
#include "testmain.h"
#include "testutil.h"

#include "../../fuzz/chartops.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

void drag(ChartWidget &w, Qt::MouseButton button, QPoint from, QPoint to)
{
    chartops::mouse(&w, QEvent::MouseButtonPress, button, from);
    chartops::mouse(&w, QEvent::MouseMove, button, to);
    chartops::mouse(&w, QEvent::MouseButtonRelease, button, to);
}

} // namespace

// Values and inputs no sensible host would send, which must still leave a
// working chart: no crash, no endless loop, no failure reported as success.
class TestHostile : public QObject
{
    Q_OBJECT
private slots:
    void extremeValues_data();
    void extremeValues();
    void hostileRanges_data();
    void hostileRanges();
    void randomFilesRefused();
    void fuzzRegressions_data();
    void fuzzRegressions();

private:
    QTemporaryDir dir;
};

void TestHostile::extremeValues_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    const char *kinds[] = {"line", "point", "minmax", "bar", "box", "highlow", "gantt"};
    const struct {
        const char *name;
        double x, y;
    } values[] = {
        {"NaN", kNaN, kNaN}, {"+inf", kInf, kInf}, {"-inf", -kInf, -kInf},
        {"1e308", 1e308, -1e308}, {"-0.0", -0.0, -0.0}, {"NaN y", 1, kNaN}, {"inf x", kInf, 2},
    };
    for (int k = 0; k < 7; ++k)
        for (const auto &v : values)
            QTest::addRow("%s %s", kinds[k], v.name) << k << v.x << v.y;
}

// Every entry point with one hostile point among ordinary ones.
void TestHostile::extremeValues()
{
    QFETCH(int, kind);
    QFETCH(double, x);
    QFETCH(double, y);

    ChartWidget w;
    w.legend()->setVisible(true);
    showChart(w, 300, 200);
    ChartSeries *s = chartops::makeSeries(kind);
    // The extra values of the wider kinds (whiskers, second y, bar end) are NaN.
    const uint8_t same[] = {0, 0, 0, 0};
    chartops::Reader r(same, 0);
    chartops::addPoint(s, 0, 1, r);
    chartops::addPoint(s, x, y, r);
    chartops::addPoint(s, 2, 3, r);
    w.addSeries(s);
    w.addVLine(new VLine(x, Qt::red, 1));
    QCoreApplication::processEvents();
    QVERIFY(!w.grab().isNull());

    const QRect plot = w.d->plotRect;
    drag(w, Qt::LeftButton, plot.topLeft() + QPoint(5, 5), plot.center());
    drag(w, Qt::MiddleButton, plot.center(), plot.center() + QPoint(30, 20));
    QHelpEvent tip(QEvent::ToolTip, plot.center(), w.mapToGlobal(plot.center()));
    QCoreApplication::sendEvent(&w, &tip);
    w.grab();
    for (const QSize &size : {QSize(0, 0), QSize(1, 1), QSize(300, 200)}) {
        w.resize(size);
        QCoreApplication::processEvents();
        w.grab();
    }

    QVERIFY(w.exportCsv(dir.filePath("x.csv")));
    QVERIFY(w.exportXml(dir.filePath("x.xml")));
    QVERIFY(w.exportSvg(dir.filePath("x.svg")));
    QVERIFY(w.save(ChartWidget::dfBinary, dir.filePath("x.tn")));
    QVERIFY(w.load(ChartWidget::dfBinary, dir.filePath("x.tn")));
    QCOMPARE(s->pointsCount(), 3);
}

void TestHostile::hostileRanges_data()
{
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("hi");
    QTest::newRow("reversed") << 10.0 << -10.0;
    QTest::newRow("empty") << 5.0 << 5.0;
    QTest::newRow("NaN") << kNaN << 1.0;
    QTest::newRow("both NaN") << kNaN << kNaN;
    QTest::newRow("infinite") << -kInf << kInf;
    QTest::newRow("beyond double") << -1e308 << 1e308;
    QTest::newRow("denormal span") << 0.0 << std::numeric_limits<double>::denorm_min();
    QTest::newRow("huge, tiny span") << 1e300 << 1e300 * (1 + 1e-15);
    QTest::newRow("signed zeros") << -0.0 << 0.0;
}

// Ranges the tick loops and the transforms have to live with, on both axes,
// with and without date-time labels; each must render in bounded time.
void TestHostile::hostileRanges()
{
    QFETCH(double, lo);
    QFETCH(double, hi);
    for (bool datetime : {false, true}) {
        ChartWidget w;
        showChart(w, 300, 200);
        w.addSeries(lineOf({{0, 0}, {1, 1}, {2, 4}}));
        w.setAutoScale(false);
        w.axes()->bottom()->setDatetime(datetime);
        w.axes()->bottom()->setRange(lo, hi);
        w.axes()->left()->setRange(lo, hi);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!w.grab().isNull());
        const QRect plot = w.d->plotRect;
        drag(w, Qt::LeftButton, plot.topLeft() + QPoint(5, 5), plot.center());
        drag(w, Qt::MiddleButton, plot.center(), plot.center() + QPoint(-40, 10));
        w.grab();
        QVERIFY2(clock.elapsed() < 5000, "rendering hung on the range");
        QVERIFY(w.exportSvg(dir.filePath("r.svg")));
    }
}

// Settings files of random bytes, and random bytes after a valid version,
// are refused and leave the widget as it was.
void TestHostile::randomFilesRefused()
{
    ChartWidget w;
    w.setTitle(QStringLiteral("kept"));
    QRandomGenerator rng(11);
    QByteArray valid;
    {
        ChartWidget other;
        QVERIFY(other.save(ChartWidget::dfBinary, dir.filePath("valid.tn")));
        QFile f(dir.filePath("valid.tn"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        valid = f.readAll();
    }
    for (int i = 0; i < 200; ++i) {
        QByteArray bytes(int(rng.bounded(1, 200)), Qt::Uninitialized);
        for (char &c : bytes)
            c = char(rng.bounded(256));
        if (i % 2)
            bytes = valid.left(16) + bytes; // version "tn 1.0", then noise
        const QString name = dir.filePath(QStringLiteral("random.tn"));
        QFile f(name);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        if (!w.load(ChartWidget::dfBinary, name))
            QCOMPARE(w.title(), QStringLiteral("kept"));
        w.setTitle(QStringLiteral("kept"));
    }
}

void TestHostile::fuzzRegressions_data()
{
    QTest::addColumn<QByteArray>("input");
    // Each row is an input of the operations fuzzer that once failed.
    QTest::newRow("empty") << QByteArray();
    // A bar a few million pixels tall took seconds per rendering.
    QTest::newRow("tall bar") << QByteArray::fromBase64(
        "AAADBYAAfwCC/////////////////////////////////wB+AIMAfQCEAHwACAcAigB1dGY4AQABDBV1dGY4DAEBAwwSARcM");
    // Points inside the visible range whose pixels overflowed int, because
    // the transform was out of step with the range at that moment.
    QTest::newRow("stale transform") << QByteArray::fromBase64(
        "AAYBgQCBAIV9AIQAfAAABwCKAHYADAcBAAABANAHgwAFAAYACkEUBRMeEQEDAwQDFtXV1dXV1dXV1dXV1dXV1dU0CDQIDAMADA==");
}

void TestHostile::fuzzRegressions()
{
    QFETCH(QByteArray, input);
    QElapsedTimer clock;
    clock.start();
    chartops::run(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()), dir.path());
    QVERIFY2(clock.elapsed() < 10000, "operations took too long");
}

TAVRIN_TEST(TestHostile)

#include "tst_hostile.moc"
