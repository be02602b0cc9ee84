// A fixed ratio of the scales through gestures, resizes and bad values.
#include "fixtures.h"
#include "testmain.h"

#include <axis_p.h>

#include <QSignalSpy>

#include <cmath>

using namespace tavrintest;

namespace {

// Pixels per unit on the bottom (or top) axis over those on the left axis.
double ratioOf(ChartWidget &w, bool top = false)
{
    const Axis *x = top ? w.axes()->top() : w.axes()->bottom(), *y = w.axes()->left();
    return std::fabs(x->pointDeltaToPixel(1) / y->pointDeltaToPixel(1));
}

} // namespace

class TestAspect : public QObject
{
    Q_OBJECT

private slots:
    void keeps_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("gesture");
        QTest::addColumn<bool>("onTop"); // the circle on the top axis, the bottom one without a range
        const char *names[] = {"shown", "band", "pan", "wheel x only", "resize", "data"};
        for (double r : {1.0, 2.5})
            for (int g = 0; g < 6; ++g)
                QTest::addRow("%g %s", r, names[g]) << r << g << false;
        for (int g = 0; g < 6; ++g)
            QTest::addRow("2.5 %s, top axis", names[g]) << 2.5 << g << true;
    }
    void keeps()
    {
        QFETCH(double, ratio);
        QFETCH(int, gesture);
        QFETCH(bool, onTop);
        ChartWidget w;
        w.setWheelZoom(true);
        auto *circle = new CountingSeries;
        for (int i = 0; i <= 100; ++i)
            circle->addXY(std::cos(i * M_PI / 50), std::sin(i * M_PI / 50));
        if (onTop)
            circle->setAxis(w.axes()->top(), w.axes()->left());
        w.addSeries(circle);
        w.setAspectRatio(ratio);
        showChart(w, 700, 400);
        const QPoint m = w.plotArea().center();
        switch (gesture) {
        case 1: drag(w, Qt::LeftButton, m - QPoint(150, 20), m + QPoint(20, 40)); break;
        case 2: drag(w, Qt::MiddleButton, m, m + QPoint(30, 40)); break;
        case 3: wheel(w, m, 240, Qt::ControlModifier); break;
        case 4: w.resize(400, 600); QApplication::processEvents(); break;
        case 5: circle->addXY(3, 0.5); break;
        }
        QApplication::processEvents();
        QVERIFY2(std::fabs(ratioOf(w, onTop) / ratio - 1) < 0.02, qPrintable(QString::number(ratioOf(w, onTop))));
        // The whole circle stays in view after a reset or new data.
        if (!onTop && (gesture == 0 || gesture >= 4)) {
            QVERIFY(w.mapToValue(w.plotArea().topLeft()).x() <= -1);
            QVERIFY(w.mapToValue(w.plotArea().bottomRight()).x() >= 1);
            QVERIFY(w.mapToValue(w.plotArea().bottomRight()).y() <= -1);
            QVERIFY(w.mapToValue(w.plotArea().topLeft()).y() >= 1);
        }
    }

    void badValues()
    {
        ChartWidget w;
        QSignalSpy spy(&w, &ChartWidget::aspectRatioChanged);
        for (double bad : {-1.0, qQNaN(), qInf(), -qInf()})
            w.setAspectRatio(bad);
        QCOMPARE(w.aspectRatio(), 0.0);
        w.setAspectRatio(2);
        w.setAspectRatio(2);
        w.setAspectRatio(0);
        QCOMPARE(spy.count(), 2);
        // Off again: an empty or logarithmic chart renders as before.
        w.setAspectRatio(1);
        w.axes()->left()->setLogarithmic(true);
        showChart(w);
    }
};

TAVRIN_TEST(TestAspect)
#include "tst_ratio.moc"
