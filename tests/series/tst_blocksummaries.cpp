#include "testmain.h"
#include "fixtures.h"

#include <axis.h>
#include <axis_p.h>
#include <lineseries.h>
#include <lineseries_p.h>

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>
#include <cmath>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

struct Frame {
    Axis x{Axis::atBottom};
    Axis y{Axis::atLeft};
    Frame(const QRectF &view, int w, int h)
    {
        x.setRange(view.left(), view.right());
        y.setRange(view.top(), view.bottom());
        x.d->setLength(w);
        y.d->setLength(h);
        for (int i = 0; i < 4; ++i) {
            x.d->updateTransform();
            y.d->updateTransform();
        }
    }
};

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// Every segment on its own, as the picture must look.
QImage everySegment(const QList<QPointF> &pts, const Axis &xa, const Axis &ya, QColor color, int w, int h)
{
    QImage img = blank(w, h);
    QPainter p(&img);
    p.setPen(QPen(QBrush(color), 1));
    const QRectF box(xa.min(), ya.min(), xa.span(), ya.span());
    for (int i = 1; i < pts.size(); ++i) {
        const QPointF a = pts.at(i - 1), b = pts.at(i);
        if (std::isnan(a.x()) || std::isnan(a.y()) || std::isnan(b.x()) || std::isnan(b.y()))
            continue;
        QRectF seg(a, QSizeF(b.x() - a.x(), b.y() - a.y()));
        if (seg.width() == 0)
            seg.setWidth(0.01);
        if (seg.height() == 0)
            seg.setHeight(0.01);
        if (!box.intersects(seg))
            continue;
        p.drawLine(int(xa.pointToPixel(a.x())), int(ya.pointToPixel(a.y())), int(xa.pointToPixel(b.x())),
                   int(ya.pointToPixel(b.y())));
    }
    return img;
}

} // namespace

// Dense sorted data is drawn a block of points at a time from summaries;
// the picture must be the one every segment gives.
class TestBlockSummaries : public QObject
{
    Q_OBJECT
private slots:
    void sameAsEverySegment_data();
    void sameAsEverySegment();
    void editsAfterDrawing();
};

void TestBlockSummaries::sameAsEverySegment_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QRectF>("view");
    QTest::addColumn<int>("limit");
    const QRectF all(0, -120, 200000, 240);
    QTest::newRow("sorted dense") << 0 << all << 0;
    QTest::newRow("NaN holes") << 1 << all << 0;
    QTest::newRow("spikes out of view") << 2 << all << 0;
    QTest::newRow("zoomed") << 0 << QRectF(50000, -60, 3000, 90) << 0;
    QTest::newRow("flat") << 3 << all << 0;
    QTest::newRow("streaming, oldest dropped") << 0 << QRectF(100000, -120, 100000, 240) << 77777;
    QTest::newRow("unsorted") << 4 << all << 0;
}

void TestBlockSummaries::sameAsEverySegment()
{
    QFETCH(int, kind);
    QFETCH(QRectF, view);
    QFETCH(int, limit);
    const int w = 400, h = 250, n = 200000;
    Frame f(view, w, h);
    LineSeries s;
    s.setAxis(&f.x, &f.y);
    s.setColor(Qt::blue);
    s.setMaximumPoints(limit);
    QRandomGenerator rng(99 + kind);
    QVector<QPointF> block;
    for (int i = 0; i < n; ++i) {
        double x = i, y = std::sin(i / 9000.0) * 100 + rng.bounded(8.0);
        if (kind == 1 && rng.bounded(400) == 0)
            y = NaN;
        if (kind == 2 && rng.bounded(3000) == 0)
            y = 1e4;
        if (kind == 3)
            y = (i / 5000) % 3 * 30.0;
        if (kind == 4)
            x = i + rng.bounded(1500.0);
        block << QPointF(x, y);
        // Blocks of odd sizes and single points, so blocks of summaries
        // start anywhere in what was added.
        if (block.size() == 1 + i % 997) {
            s.addPoints(block);
            block.clear();
        } else if (i % 1777 == 0) {
            s.addXY(block.last().x(), block.last().y());
            block.removeLast();
        }
    }
    s.addPoints(block);
    QImage fast = blank(w, h);
    {
        QPainter p(&fast);
        s.draw(&p);
    }
    QVERIFY(!s.d->list); // drawn from the array, with summaries
    QVERIFY(s.d->summaries.isValid());
    const QImage plain = everySegment(s.points(), f.x, f.y, Qt::blue, w, h);
    if (fast != plain) {
        fast.save(tavrintest::outputDir() + QStringLiteral("/summaries-%1.png").arg(QTest::currentDataTag()));
        plain.save(tavrintest::outputDir() + QStringLiteral("/summaries-%1-plain.png").arg(QTest::currentDataTag()));
    }
    QCOMPARE(fast, plain);
}

// A point changed in place after a drawing must show in the next one.
void TestBlockSummaries::editsAfterDrawing()
{
    const int w = 300, h = 200;
    Frame f(QRectF(0, -10, 100000, 120), w, h);
    LineSeries s;
    s.setAxis(&f.x, &f.y);
    QVector<QPointF> pts;
    for (int i = 0; i < 100000; ++i)
        pts << QPointF(i, 50);
    s.addPoints(pts);
    QImage first = blank(w, h);
    {
        QPainter p(&first);
        s.draw(&p);
    }
    s.changePoint(50000, QPointF(50000, 100));
    s[60000].setY(0);
    QImage second = blank(w, h);
    {
        QPainter p(&second);
        s.draw(&p);
    }
    QVERIFY(first != second);
    QCOMPARE(second, everySegment(s.points(), f.x, f.y, s.color(), w, h));
}

TAVRIN_TEST(TestBlockSummaries)
#include "tst_blocksummaries.moc"
