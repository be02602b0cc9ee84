// A host of the installed library. With an argument it writes the chart to
// that PNG file instead of showing it.
#include <QApplication>
#include <chartwidget.h>
#include <lineseries.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ChartWidget chart;
    chart.setTitle(QStringLiteral("Squares"));
    auto *series = new LineSeries;
    for (int i = 0; i <= 20; ++i)
        series->addXY(i, i * i);
    chart.addSeries(series);
    chart.resize(480, 320);
    if (argc > 1)
        return chart.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
    chart.show();
    return app.exec();
}
