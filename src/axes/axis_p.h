#ifndef AXIS_P_H
#define AXIS_P_H

#include "axis.h"

#include <QColor>
#include <QRect>
#include <QFont>
#include <QMap>
#include <QString>
#include <QVector>

#include <cmath>
#include <limits>

class TAVRIN_EXPORT AxisPrivate
{
public:
    AxisPrivate(Axis *axis, Axis::AxisType axisType);

    void updateTransform();
    void setLength(double extent);
    void updateTicks();
    void updateFirstTick();
    void updateSize();

    // Key under which a custom label for `v` is stored; values beyond the
    // float range saturate instead of overflowing the conversion.
    static float labelKey(double v);

    // The transform works on these units: the value itself, or its log10 on
    // a logarithmic axis (NaN for values that have no logarithm).
    double toScale(double v) const
    {
        if (!logarithmic)
            return v;
        return v > 0 ? std::log10(v) : std::numeric_limits<double>::quiet_NaN();
    }
    double fromScale(double u) const { return logarithmic ? powerOfTen(u) : u; }
    // 10^u kept a finite positive double: the pad beyond data near the ends
    // of the double range would otherwise give an end of 0 or infinity.
    static double powerOfTen(double u)
    {
        const double v = std::pow(10.0, u);
        if (v > std::numeric_limits<double>::max())
            return std::numeric_limits<double>::max();
        if (v < std::numeric_limits<double>::denorm_min())
            return std::numeric_limits<double>::denorm_min();
        return v;
    }
    // min() and span() in transform units.
    double scaleMin() const;
    double scaleSpan() const;
    void updateLogTicks();
    // Minor ticks (and their grid) of a linear axis along plot rectangle r.
    void drawMinorTicks(QPainter *painter, const QRect &r, bool grid) const;

    double margin = 0;     // distance kept below rawMin and above rawMax, in transform units
    double pad = 20.0;     // pixels kept free at each end of the axis
    bool visible = true;
    int preferredTicks = 0; // 0: about seven
    double fixedStep = 0;   // 0: chosen from the range
    int minorTicks = 0;
    bool minorGrid = false;
    Qt::PenStyle gridStyle = Qt::DashLine;
    QColor minorGridColor;
    Qt::PenStyle minorGridStyle = Qt::DotLine;
    double length = 0;     // usable pixels: plot extent minus 1
    double scale;          // pixels per value unit
    double offset = 0;     // pixel position of the value 0
    bool datetime = false;
    QString datetimeFormat;
    int labelLines = 1;
    double tickStep = 0;   // 0: no ticks
    double firstTick;
    int tickCount = 0;     // ticks measured for the label band
    Axis::AxisType type;
    QString title;
    QFont titleFont;
    QFont labelFont;
    int size = 0;          // label band thickness in pixels
    QMap<float, QString> customLabels;
    Axis *q;
    double rawMin;
    double rawMax;
    QColor gridColor;
    QColor frameColor = Qt::black;
    int frameWidth = 2;    // of the left and bottom edges; themes change it
    QColor textColor;      // of labels and title; invalid: the frame colour
    bool scaleLock = false;
    bool logarithmic = false;
    // Ticks of a logarithmic axis, ascending; they are not evenly spaced, so
    // drawing walks this list instead of stepping by tickStep.
    QVector<double> logTicks;
};

#endif // AXIS_P_H
