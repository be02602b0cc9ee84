#include "testmain.h"
#include "fixtures.h"

#include <axes.h>
#include <axis.h>
#include <chartwidget.h>
#include <chartwidget_p.h>
#include <lineseries.h>

#include <QApplication>
#include <QDateTime>
#include <QRegularExpression>
#include <QTest>

namespace {

class CountedLine : public LineSeries
{
public:
    int draws = 0;
    void draw(QPainter *painter) override
    {
        ++draws;
        LineSeries::draw(painter);
    }
};

void hover(ChartWidget &w, QPoint pos)
{
    QMouseEvent event(QEvent::MouseMove, pos, w.mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
    QApplication::processEvents();
}

// Dark pixels in one column of the plot: the crosshair's dashes.
int darkInColumn(ChartWidget &w, int x)
{
    const QImage img = tavrintest::grabImage(&w);
    const QRect plot = w.d->plotRect;
    int n = 0;
    for (int y = plot.top() + 2; y < plot.bottom() - 30; ++y)
        n += qGray(img.pixel(x, y)) < 80 ? 1 : 0;
    return n;
}

} // namespace

class TestCrosshair : public QObject
{
    Q_OBJECT
private slots:
    void followsPointerWithoutRendering_data();
    void followsPointerWithoutRendering();
};

void TestCrosshair::followsPointerWithoutRendering_data()
{
    QTest::addColumn<bool>("datetime");
    QTest::addColumn<QString>("xPattern");
    QTest::newRow("numbers") << false << QStringLiteral("^-?[0-9.e+-]+$");
    QTest::newRow("date-times") << true << QStringLiteral("^\\d\\d\\.\\d\\d \\d\\d:\\d\\d$");
}

void TestCrosshair::followsPointerWithoutRendering()
{
    QFETCH(bool, datetime);
    QFETCH(QString, xPattern);
    ChartWidget w;
    auto *line = new CountedLine;
    line->setColor(Qt::blue);
    const double t0 = QDateTime(QDate(2024, 3, 1), QTime(8, 0)).toSecsSinceEpoch();
    for (int i = 0; i < 50; ++i)
        line->addXY(datetime ? t0 + i * 600 : i, i % 7);
    if (datetime) {
        w.axes()->bottom()->setDatetime(true);
        w.axes()->bottom()->setDatetimeFormat(QStringLiteral("dd.MM hh:mm"));
    }
    w.addSeries(line);
    w.resize(500, 320);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
    const QRect plot = w.d->plotRect;
    const QPoint at = plot.center() + QPoint(31, 0);
    const int baseline = darkInColumn(w, at.x());

    // Off by default: a move shows nothing.
    QVERIFY(!w.hasMouseTracking());
    hover(w, at);
    QCOMPARE(darkInColumn(w, at.x()), baseline);

    w.setCrosshair(true);
    QVERIFY(w.hasMouseTracking());
    const int draws = line->draws;
    for (int dx = 0; dx < 40; dx += 4)
        hover(w, at + QPoint(dx - 40, dx));
    hover(w, at);
    QVERIFY(darkInColumn(w, at.x()) > baseline + plot.height() / 5);
    QCOMPARE(line->draws, draws); // moving the pointer renders no series

    const Axis *x = w.axes()->bottom();
    const Axis *y = w.axes()->left();
    QCOMPARE(w.d->crosshairTexts.size(), 2);
    QCOMPARE(w.d->crosshairTexts.at(0), x->labelString(x->pixelToPoint(at.x() - plot.left())));
    QVERIFY2(QRegularExpression(xPattern).match(w.d->crosshairTexts.at(0)).hasMatch(),
             qPrintable(w.d->crosshairTexts.at(0)));
    QCOMPARE(w.d->crosshairTexts.at(1), y->labelString(y->pixelToPoint(at.y() - plot.top())));

    // Leaving the widget, or the plot, takes it away.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
    QApplication::processEvents();
    QCOMPARE(darkInColumn(w, at.x()), baseline);
    hover(w, at);
    hover(w, QPoint(2, 2));
    QCOMPARE(darkInColumn(w, at.x()), baseline);
    QCOMPARE(line->draws, draws);

    hover(w, at);
    w.setCrosshair(false);
    QApplication::processEvents();
    QCOMPARE(darkInColumn(w, at.x()), baseline);
}

TAVRIN_TEST(TestCrosshair)
#include "tst_crosshair.moc"
