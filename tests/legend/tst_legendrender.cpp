#include "testmain.h"
#include "testutil.h"

#include <chartwidget.h>
#include <chartwidget_p.h>
#include <legend.h>
#include <lineseries.h>

#include <QApplication>
#include <QMetaEnum>
#include <QScrollBar>
#include <QTest>
#include <cmath>

Q_DECLARE_METATYPE(Legend::Placement)

class TestLegendRender : public QObject
{
    Q_OBJECT
private slots:
    void placements_data();
    void placements();
};

void TestLegendRender::placements_data()
{
    QTest::addColumn<Legend::Placement>("placement");
    const QMetaEnum e = QMetaEnum::fromType<Legend::Placement>();
    for (int i = 0; i < e.keyCount(); ++i)
        QTest::newRow(e.key(i)) << Legend::Placement(e.value(i));
}

// Renders five series with the legend on each edge and writes the images
// for a look by eye.
void TestLegendRender::placements()
{
    QFETCH(Legend::Placement, placement);
    ChartWidget w;
    w.setTitle(QStringLiteral("Legend %1").arg(QTest::currentDataTag()));
    w.resize(600, 400);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (int k = 0; k < 5; ++k) {
        auto *s = new LineSeries;
        s->setName(QStringLiteral("Wave %1").arg(k + 1));
        for (int i = 0; i <= 100; ++i)
            s->addXY(i, std::sin(i / 10.0 + k) * (k + 1));
        w.addSeries(s);
    }
    w.legend()->setVisible(true);
    w.legend()->setPlacement(placement);
    QApplication::processEvents();

    const QImage image = tavrintest::grabImage(&w);
    const QString file = tavrintest::outputDir() + QStringLiteral("/legend_%1.png").arg(QTest::currentDataTag());
    QVERIFY(image.save(file));

    const QRect legend = w.legend()->geometry();
    QVERIFY(w.legend()->isVisible());
    QVERIFY(w.rect().contains(legend));
    QVERIFY(!legend.intersects(w.d->plotRect));
    // Along the edge five short names fit; stacked across it they exceed
    // 30% of the chart and the legend scrolls instead.
    const bool across = placement % 2 == 1;
    const bool sideways = placement <= Legend::plLeftInverted;
    QCOMPARE(w.legend()->horizontalScrollBar()->isVisible(), across && sideways);
    QCOMPARE(w.legend()->verticalScrollBar()->isVisible(), across && !sideways);
    // The legend hugs its edge.
    switch (placement) {
    case Legend::plRight:
    case Legend::plRightInverted:
        QCOMPARE(legend.right(), w.width() - 2);
        break;
    case Legend::plLeft:
    case Legend::plLeftInverted:
        QCOMPARE(legend.left(), 0);
        break;
    case Legend::plTop:
    case Legend::plTopInverted:
        QCOMPARE(legend.top(), QFontMetrics(w.titleFont()).height());
        break;
    case Legend::plBottom:
    case Legend::plBottomInverted:
        QCOMPARE(legend.bottom(), w.height() - 2);
        break;
    }
}

TAVRIN_TEST(TestLegendRender)
#include "tst_legendrender.moc"
