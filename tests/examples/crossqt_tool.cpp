// Writes what a host can see of the library into files, so that the test of
// another Qt build can compare them byte for byte. (Pixels: the series
// pictures of the series tests were drawn by the Qt 5 build and hold in both.)
//
//   tavrin_crossqt write DIR      settings files, CSV, spreadsheet and menu
//                                 texts, into DIR
#include <boxandwhiskersseries.h>
#include <axes.h>
#include <axis.h>
#include <chartwidget.h>
#include <chartwidget_p.h>
#include <ganttseries.h>
#include <highlowseries.h>
#include <legend.h>
#include <lineseries.h>
#include <minmaxpointseries.h>
#include <pointseries.h>
#include <barseries.h>
#include <vline.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QThread>

namespace {

const QDateTime kStart(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);

// Numbers whose text Qt 5 and Qt 6 would write differently if the exports
// left it to QVariant (exponents, halves, thirds, huge and tiny values).
const double kAwkward[] = {1e-4, -5e5, 1.0 / 3, 0.1, 1e21, -7.25e-7, 123456789.0, 2.5};

// Every kind of series, with the values and date-times that test the
// exports' texts.
ChartWidget *makeChart()
{
    auto *chart = new ChartWidget;
    chart->resize(640, 400);

    auto *line = new LineSeries;
    line->setName(QStringLiteral("line"));
    for (int i = 0; i < 200; ++i)
        line->addXY(i, (i % 17) * 0.75 - 4);
    chart->addSeries(line);

    auto *points = new PointSeries(PointSeries::psCircle);
    points->setName(QStringLiteral("points; quoted \"x\""));
    int i = 0;
    for (double v : kAwkward) {
        ++i;
        points->addXY(i * 20, v, QStringLiteral("<%1>").arg(i));
    }
    chart->addSeries(points);

    auto *minmax = new MinMaxPointSeries;
    minmax->addPoint(30, 2, 1, 3.5);
    minmax->addPoint(90, -1, -2.25, 0);
    chart->addSeries(minmax);

    auto *bars = new BarSeries;
    for (int k = 0; k < 8; ++k)
        bars->addXY(10 + k * 24, (k - 3) * 1.5);
    chart->addSeries(bars);

    auto *candles = new BoxAndWhiskersSeries;
    candles->addCandle(kStart, 5, 1, 9, 3, 7);
    candles->addCandle(kStart.addDays(1), 6, 2, 8, 4, 7.5);
    chart->addSeries(candles);

    auto *band = new HighLowSeries;
    band->addPoint(kStart, 1, 3);
    band->addPoint(kStart.addSecs(3600), 2, 5);
    chart->addSeries(band);

    auto *gantt = new GanttSeries;
    gantt->addBar(20, 80, 3, QColor(200, 80, 40), QStringLiteral("first"));
    gantt->addBar(100, 160, -2, QColor(), QString());
    chart->addSeries(gantt);

    chart->addVLine(new VLine(120.0, Qt::darkGreen, 2));
    chart->legend()->setVisible(true);
    chart->setTitle(QStringLiteral("Cross-build chart \u00e4\u00df"));
    return chart;
}

// Points queued from a worker, as a live host delivers them, and a legend
// entry handed over from there.
void feedFromWorker(ChartWidget *chart)
{
    auto *series = new LineSeries;
    series->setName(QStringLiteral("worker"));
    series->setLegendVisible(false);
    chart->addSeries(series);
    series->setLegendVisible(true); // for the hand-over below
    QThread *worker = QThread::create([series, chart] {
        for (int k = 0; k < 50; ++k)
            QMetaObject::invokeMethod(series, "addXY", Qt::QueuedConnection,
                                      Q_ARG(QDateTime, kStart.addSecs(k * 60)), Q_ARG(double, k * 0.5));
        chart->legend()->addSeries(series);
    });
    worker->start();
    while (!worker->wait(10))
        QCoreApplication::processEvents();
    delete worker;
    QCoreApplication::processEvents();
}

bool writeText(const QString &fileName, const QString &text)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(text.toUtf8()) >= 0;
}

int write(const QDir &dir)
{
    ChartWidget plain;
    if (!plain.save(ChartWidget::dfBinary, dir.filePath(QStringLiteral("default.tn"))))
        return 1;

    ChartWidget *chart = makeChart();
    chart->setAutoScale(false);
    chart->setDrawingLock(true);
    chart->setTitle(QStringLiteral("two\nlines \u20ac"));
    chart->d->titleFont = QFont(QStringLiteral("Liberation Serif"), 11, QFont::Bold, true);
    const bool saved = chart->save(ChartWidget::dfBinary, dir.filePath(QStringLiteral("styled.tn")));
    delete chart;

    chart = makeChart();
    feedFromWorker(chart);

    QString menu;
    for (QAction *action : chart->actions())
        menu += action->text() + QLatin1Char('\n');
    const bool ok = saved && chart->exportCsv(dir.filePath(QStringLiteral("data.csv")))
        && chart->exportXml(dir.filePath(QStringLiteral("data.xml")))
        && writeText(dir.filePath(QStringLiteral("menu.txt")), menu);
    delete chart;
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("write")) {
        QDir().mkpath(args[2]);
        return write(QDir(args[2]));
    }
    QTextStream(stderr) << "usage: tavrin_crossqt write DIR\n";
    return 2;
}
