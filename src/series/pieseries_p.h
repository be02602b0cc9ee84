#ifndef PIESERIES_P_H
#define PIESERIES_P_H

#include "pieseries.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

class PieSeriesPrivate
{
public:
    explicit PieSeriesPrivate(PieSeries *q) : q(q) {}

    struct Slice {
        QString label;
        double value = 0;
        QColor color; // invalid: the chart's colour for the index
        bool visible = true;
        bool exploded = false;
    };

    // Where the slices lie in a plot of a given size; angles in Qt's
    // degrees (counter-clockwise from three o'clock).
    struct Geometry {
        QRectF frame; // the part of the plot the series takes, in pixels
        QPointF centre;
        double radius = 0;
        double hole = 0; // radius of the hole in pixels
        struct Wedge {
            int index;
            double start, span;
            QPointF centre; // moved when the slice is pulled out
        };
        QVector<Wedge> wedges;
    };

    PieSeries *const q;
    QVector<Slice> slices;
    double holeSize = 0;
    double startAngle = 0;
    bool clockwise = true;
    double explodeOffset = 0.1;
    PieSeries::LabelPosition labelPosition = PieSeries::lpInside;
    PieSeries::LabelContent labelContent = PieSeries::lcLabel | PieSeries::lcPercentage;
    QFont labelFont{QStringLiteral("Arial"), 8};
    QRectF area{0, 0, 1, 1};

    bool counts(const Slice &s) const;
    QColor colorOf(int index) const;
    QString labelText(int index) const;
    // The plot size the series draws in: its axes' lengths.
    QSizeF plotSize() const;
    Geometry geometry(const QSizeF &plot) const;
    // Asks the chart for one rendering soon.
    void changed();
    // changed() and the legend's rebuild.
    void structureChanged();
};

#endif // PIESERIES_P_H
