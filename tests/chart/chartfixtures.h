#ifndef CHARTFIXTURES_H
#define CHARTFIXTURES_H

#include <chartwidget.h>
#include <chartwidget_p.h>
#include <lineseries.h>

#include <QApplication>
#include <QTest>

// A line series that counts how often the chart renders it.
class CountingSeries : public LineSeries
{
public:
    int draws = 0;
    void draw(QPainter *painter) override
    {
        ++draws;
        LineSeries::draw(painter);
    }
};

// A shown chart of a given size whose queued rescale has run.
inline void showChart(ChartWidget &w, int width = 600, int height = 400)
{
    w.resize(width, height);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
}

inline LineSeries *lineOf(std::initializer_list<QPointF> pts)
{
    auto *s = new LineSeries;
    for (const QPointF &p : pts)
        s->addPoint(p);
    return s;
}

#endif // CHARTFIXTURES_H
