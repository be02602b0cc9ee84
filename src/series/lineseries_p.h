#ifndef LINESERIES_P_H
#define LINESERIES_P_H

#include "lineseries.h"
#include "seriesdata_p.h"

#include <QLine>
#include <QVector>

class LineSeriesPrivate
{
public:
    ~LineSeriesPrivate() { delete list; }

    // The points live in a plain array until a caller asks for them by
    // mutable reference (points(), operator[]), which on Qt 5 means a
    // QList<QPointF> of one heap node per point: then they move into such a
    // list for good, since the caller may hold on to it. The array costs
    // 16 bytes a point and no allocation per point.
    tavrin::PointBuffer buffer;
    QList<QPointF> *list = nullptr;

    QList<QPointF> &asList()
    {
        if (!list) {
            list = new QList<QPointF>;
            list->reserve(buffer.size());
            for (const QPointF &p : buffer)
                list->append(p);
            buffer.release();
        }
        return *list;
    }

    // Calls f with whichever container holds the points.
    template <typename F>
    auto with(F f)
    {
        return list ? f(*list) : f(buffer);
    }

    int size() const { return list ? list->size() : buffer.size(); }
    const QPointF &at(int i) const { return list ? list->at(i) : buffer.at(i); }
    QPointF &ref(int i) { return list ? (*list)[i] : buffer.ref(i); }

    void append(const QPointF &p)
    {
        if (list)
            list->append(p);
        else
            buffer.append(p);
        if (summaries.isValid())
            summaries.append(size() - 1, p.x(), p.y());
    }

    // Handed out for out-of-range operator[]; reset before each use so a
    // write through it never shows up in a later read.
    QPointF dummy;
    int maximumPoints = 0;
    tavrin::BlockSummaries summaries;
};

#endif // LINESERIES_P_H
