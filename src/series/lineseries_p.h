#ifndef LINESERIES_P_H
#define LINESERIES_P_H

#include "lineseries.h"
#include "seriesdata_p.h"

#include <QLine>
#include <QVector>

class LineSeriesPrivate
{
public:
    QList<QPointF> points;
    // Handed out for out-of-range operator[]; reset before each use so a
    // write through it never shows up in a later read.
    QPointF dummy;
    int maximumPoints = 0;
    tavrin::BlockSummaries summaries;

    void appended(double x, double y)
    {
        if (summaries.isValid())
            summaries.append(points.size() - 1, x, y);
    }
};

#endif // LINESERIES_P_H
