#ifndef MINMAXPOINTSERIES_P_H
#define MINMAXPOINTSERIES_P_H

#include "minmaxpointseries.h"
#include "pointseries_p.h"

#include <QPixmap>
#include <QVector>

// One point with the ends of its vertical range, in row order.
struct MinMaxPoint {
    double x;
    double y;
    double min;
    double max;
};
Q_DECLARE_TYPEINFO(MinMaxPoint, Q_PRIMITIVE_TYPE);

namespace tavrin {
template <>
struct RowTraits<MinMaxPoint> {
    static MinMaxPoint fromXY(double x, double y) { return MinMaxPoint{x, y, y, y}; }
    // The range widens the bounds, the marker's own y does not.
    template <typename F>
    static void ends(const MinMaxPoint &p, F f)
    {
        f(p.x, p.min);
        f(p.x, p.max);
    }
    static QList<QVariant> values(const MinMaxPoint &p) { return {p.x, p.y, p.min, p.max}; }
};
} // namespace tavrin

class MinMaxPointSeriesPrivate
{
public:
    explicit MinMaxPointSeriesPrivate(const int *leaving) : index(leaving) {}

    QVector<MinMaxPoint> points;
    QPixmap marker;
    tavrin::DenseMarker denseMarker;
    double halfWidth = 0;
    double halfHeight = 0;
    MinMaxPointSeries::PointStyle style = MinMaxPointSeries::psPoint;
    int size = 0;

    tavrin::DuplicateIndex index;

    auto toPoint() const
    {
        return [this](int i) { return QPointF(points.at(i).x, points.at(i).y); };
    }
    bool insertIfNew(double x, double y) { return index.insertIfNew(QPointF(x, y), points.size(), toPoint()); }
};

#endif // MINMAXPOINTSERIES_P_H
