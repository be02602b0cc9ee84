#include "testmain.h"

#include <axis.h>
#include <axis_p.h>
#include <barseries.h>
#include <boxandwhiskersseries.h>
#include <ganttseries.h>

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <functional>

namespace {

struct Frame {
    Axis x{Axis::atBottom};
    Axis y{Axis::atLeft};
    Frame()
    {
        x.setRange(0, 100);
        y.setRange(0, 100);
        x.d->setLength(300);
        y.d->setLength(200);
        for (int i = 0; i < 4; ++i) {
            x.d->updateTransform();
            y.d->updateTransform();
        }
    }
};

QImage render(ChartSeries &s, bool aa)
{
    QImage img(300, 200, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, aa);
    s.draw(&p);
    return img;
}

// Fills a series with one item whose far ends are at `far` (in data units
// beyond the view on both sides).
using Fill = std::function<void(ChartSeries &, double far)>;

} // namespace

// Box-and-whiskers boxes and Gantt bars reaching far beyond the plot are cut
// to what the painter can show, as bars are: the picture is the one of an
// item that ends just outside the plot, and it takes no longer to draw.
class TestGeometry : public QObject
{
    Q_OBJECT
private slots:
    void farEndsAreCut_data();
    void farEndsAreCut();
};

void TestGeometry::farEndsAreCut_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("aa");
    for (const char *kind : {"box", "gantt", "bar"}) {
        QTest::addRow("%s", kind) << QString(kind) << false;
        QTest::addRow("%s, antialiased", kind) << QString(kind) << true;
    }
}

void TestGeometry::farEndsAreCut()
{
    QFETCH(QString, kind);
    QFETCH(bool, aa);
    auto make = [&](double far) -> ChartSeries * {
        if (kind == QLatin1String("box")) {
            auto *s = new BoxAndWhiskersSeries;
            s->addCandle(50, 50, -far, 100 + far, -far, 100 + far);
            return s;
        }
        if (kind == QLatin1String("gantt")) {
            auto *s = new GanttSeries;
            s->addBar(-far, 100 + far, 50, QColor(Qt::darkGreen), QString());
            return s;
        }
        auto *s = new BarSeries;
        s->addXY(50, 100 + far);
        return s;
    };
    Frame f;
    QScopedPointer<ChartSeries> nearSeries(make(30)), farSeries(make(1e9));
    for (ChartSeries *s : {nearSeries.data(), farSeries.data()}) {
        s->setAxis(&f.x, &f.y);
        s->setColor(Qt::black);
        s->setFillColor(QColor(200, 80, 80));
    }
    const QImage nearImg = render(*nearSeries, aa);
    QElapsedTimer t;
    t.start();
    const QImage farImg = render(*farSeries, aa);
    const qint64 ms = t.elapsed();
    QCOMPARE(farImg, nearImg);
    // Uncut, a box a billion pixels tall is walked scan line by scan line.
    QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
}

TAVRIN_TEST(TestGeometry)
#include "tst_geometry.moc"
