#ifndef EXPORTFIXTURES_H
#define EXPORTFIXTURES_H

#include <chartseries.h>
#include <chartwidget.h>
#include <lineseries.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A series with free column names and rows, for the row contract as the
// exports read it.
class TableSeries : public ChartSeries
{
public:
    TableSeries(const QString &name, const QString &columns, const QList<QList<double>> &rows = {})
        : columns(columns), rows(rows)
    {
        setName(name);
    }
    void draw(QPainter *) override {}
    seriesType type() override { return stLine; }
    int pointsCount() override { return rows.size(); }
    QString dataAxisString() override { return columns; }
    QList<QVariant> point(int i) override
    {
        QList<QVariant> values;
        if (i >= 0 && i < rows.size())
            for (double v : rows.at(i))
                values << QVariant(v);
        return values;
    }
    QIcon icon(int) override { return QIcon(); }

    QString columns;
    QList<QList<double>> rows;
};

inline LineSeries *namedLine(const QString &name, std::initializer_list<QPointF> pts)
{
    auto *s = new LineSeries;
    s->setName(name);
    for (const QPointF &p : pts)
        s->addPoint(p);
    return s;
}

// Chart contents shared by the CSV and spreadsheet tests.
using ChartSetup = void (*)(ChartWidget &);
Q_DECLARE_METATYPE(ChartSetup)

namespace setups {

inline void longerFirst(ChartWidget &w)
{
    w.addSeries(namedLine("A", {{1, 10}, {2, 20}, {3, 30}}));
    w.addSeries(namedLine("B", {{5, 0.5}}));
}

inline void shorterFirst(ChartWidget &w)
{
    w.addSeries(namedLine("A", {{5, 0.5}}));
    w.addSeries(namedLine("B", {{1, 10}, {2, 20}, {3, 30}}));
}

inline void hiddenBetween(ChartWidget &w)
{
    w.addSeries(namedLine("A", {{1, 10}}));
    LineSeries *hidden = namedLine("H", {{7, 70}, {8, 80}});
    hidden->setVisible(false);
    w.addSeries(hidden);
    w.addSeries(namedLine("B", {{2, 20}}));
}

inline void emptyFirst(ChartWidget &w)
{
    w.addSeries(new TableSeries("E", "X;Y"));
    w.addSeries(namedLine("A", {{1, 10}, {2, 20}}));
}

inline void nothingVisible(ChartWidget &w)
{
    LineSeries *hidden = namedLine("H", {{7, 70}});
    hidden->setVisible(false);
    w.addSeries(hidden);
}

inline void threeColumns(ChartWidget &w)
{
    w.addSeries(new TableSeries("G", "X1;X2;Y", {{1, 2.5, -3}}));
}

} // namespace setups

inline QByteArray readAll(const QString &fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

inline bool writeAll(const QString &fileName, const QByteArray &data)
{
    QFile f(fileName);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

#endif // EXPORTFIXTURES_H
