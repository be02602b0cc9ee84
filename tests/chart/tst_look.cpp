#include "testmain.h"
#include "fixtures.h"

#include <axes.h>
#include <axis.h>
#include <chartwidget.h>
#include <chartwidget_p.h>
#include <legend.h>
#include <lineseries.h>
#include <pointseries.h>

#include <QApplication>
#include <QCheckBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

LineSeries *ramp(int k)
{
    auto *s = new LineSeries;
    for (int i = 0; i < 20; ++i)
        s->addXY(i, i * (k + 1));
    return s;
}

void show(ChartWidget &w)
{
    w.resize(520, 340);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
}

} // namespace

class TestLook : public QObject
{
    Q_OBJECT
private slots:
    void seriesColors();
    void fontsLayOutAgain();
    void titleFontInSettingsFile();
    void darkThemeAndBack();
    void themeBeforeShow();
};

void TestLook::seriesColors()
{
    ChartWidget w;
    QVERIFY(w.seriesColors().isEmpty());
    auto *first = ramp(0);
    w.addSeries(first);
    QCOMPARE(first->color(), QColor(Qt::red));
    const QList<QColor> colors{QColor("#123456"), QColor("#abcdef")};
    w.setSeriesColors(colors);
    QCOMPARE(w.seriesColors(), colors);
    QList<QColor> got;
    for (int i = 0; i < 3; ++i) {
        auto *s = ramp(i);
        w.addSeries(s);
        got << s->color();
    }
    QCOMPARE(got, (QList<QColor>{colors[0], colors[1], colors[0]}));
    QCOMPARE(first->color(), QColor(Qt::red)); // registered series keep theirs
    w.clear();
    auto *again = ramp(0);
    w.addSeries(again);
    QCOMPARE(again->color(), colors[0]);
    w.setSeriesColors({});
    auto *builtIn = ramp(1);
    w.addSeries(builtIn);
    QCOMPARE(builtIn->color(), QColor(Qt::red)); // clear() started the cycle again
}

void TestLook::fontsLayOutAgain()
{
    ChartWidget w;
    w.setTitle(QStringLiteral("Title"));
    w.axes()->left()->setTitle(QStringLiteral("Left"));
    w.addSeries(ramp(0));
    w.legend()->setVisible(true);
    show(w);
    QCOMPARE(w.axisLabelFont(), QFont(QStringLiteral("Arial"), 8));
    QCOMPARE(w.axisTitleFont(), QFont(QStringLiteral("Arial"), 8));
    const QRect before = w.d->plotRect;
    QSignalSpy spy(&w, SIGNAL(titleFontChanged(QFont)));

    w.setTitleFont(QFont(QStringLiteral("Arial"), 16));
    w.setTitleFont(QFont(QStringLiteral("Arial"), 16));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(w.d->plotRect.top(), 5 + QFontMetrics(QFont(QStringLiteral("Arial"), 16)).height());
    w.setAxisLabelFont(QFont(QStringLiteral("Arial"), 14));
    QCOMPARE(w.axes()->left()->labelFont().pointSize(), 14);
    QVERIFY(w.d->plotRect.left() > before.left());
    QVERIFY(w.d->plotRect.bottom() < before.bottom());
    const int left = w.d->plotRect.left();
    w.setAxisTitleFont(QFont(QStringLiteral("Arial"), 20));
    QVERIFY(w.d->plotRect.left() > left);

    const QCheckBox *box = w.legend()->findChild<QCheckBox *>();
    QVERIFY(box);
    const int legendWidth = w.legend()->width();
    w.setLegendFont(QFont(QStringLiteral("Arial"), 18));
    QCOMPARE(box->font().pointSize(), 18);
    QCOMPARE(w.legendFont().pointSize(), 18);
    QVERIFY(w.legend()->width() > legendWidth);
    QCOMPARE(w.d->plotRect.right(), w.width() - 1 - 5 - w.legend()->width());
}

void TestLook::titleFontInSettingsFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bold.tn"));
    const QFont font(QStringLiteral("Liberation Serif"), 13, QFont::Bold);
    ChartWidget a;
    a.setTitleFont(font);
    QVERIFY(a.save(ChartWidget::dfBinary, file));
    ChartWidget b;
    QVERIFY(b.load(ChartWidget::dfBinary, file));
    QCOMPARE(b.titleFont().family(), font.family());
    QCOMPARE(b.titleFont().pointSize(), 13);
    QVERIFY(b.titleFont().bold());
}

void TestLook::darkThemeAndBack()
{
    ChartWidget w;
    w.setTitle(QStringLiteral("Theme"));
    auto *automatic = ramp(0);
    auto *chosen = ramp(1);
    chosen->setColor(QColor(Qt::magenta));
    auto *marks = new PointSeries(PointSeries::psCircle);
    for (int i = 0; i < 10; ++i)
        marks->addXY(i * 2, 15);
    w.addSeries(automatic);
    w.addSeries(chosen);
    w.addSeries(marks);
    w.legend()->setVisible(true);
    show(w);
    const QImage light = tavrintest::grabImage(&w);
    QSignalSpy spy(&w, SIGNAL(themeChanged(ChartWidget::Theme)));

    w.setTheme(ChartWidget::thDark);
    w.setTheme(ChartWidget::thDark);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(w.theme(), ChartWidget::thDark);
    QApplication::processEvents();
    const QImage dark = tavrintest::grabImage(&w);
    // Dark ground around and behind the plot, light text.
    QVERIFY(qGray(dark.pixel(1, 1)) < 60);
    QVERIFY(qGray(dark.pixel(w.d->plotRect.center())) < 80);
    QVERIFY(qGray(w.palette().color(QPalette::WindowText).rgb()) > 180);
    // The series the chart coloured follow the theme; the host's keep theirs.
    QVERIFY(automatic->color() != QColor(Qt::red));
    QCOMPARE(marks->color(), w.seriesColors().at(1));
    QCOMPARE(chosen->color(), QColor(Qt::magenta));
    QVERIFY(tavrintest::countColor(dark, automatic->color().rgb(), w.d->plotRect) > 20);
    QVERIFY(tavrintest::countColor(dark, w.axes()->left()->frameColor().rgb()) > 100);
    QCOMPARE(w.axes()->left()->gridColor(), w.axes()->bottom()->gridColor());
    QVERIFY(w.axes()->left()->gridColor() != QColor(Qt::white));

    // Back to the default: the very same pixels as before.
    w.setTheme(ChartWidget::thDefault);
    QApplication::processEvents();
    QCOMPARE(automatic->color(), QColor(Qt::red));
    QVERIFY(tavrintest::grabImage(&w) == light);
    QVERIFY(!w.testAttribute(Qt::WA_SetPalette));
}

// A host sets the look before its window appears; the legend must still
// fit its entries once the chart has its size.
void TestLook::themeBeforeShow()
{
    ChartWidget w;
    for (int i = 0; i < 4; ++i)
        w.addSeries(ramp(i));
    w.legend()->setVisible(true);
    w.setTheme(ChartWidget::thDark);
    show(w);
    QVERIFY(!w.legend()->verticalScrollBar()->isVisible());
    QVERIFY(!w.legend()->horizontalScrollBar()->isVisible());
    for (const QCheckBox *box : w.legend()->findChildren<QCheckBox *>())
        QVERIFY(w.legend()->rect().contains(box->mapTo(w.legend(), box->rect().bottomRight())));
}

TAVRIN_TEST(TestLook)
#include "tst_look.moc"
