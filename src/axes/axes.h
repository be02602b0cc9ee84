#ifndef AXES_H
#define AXES_H

#include "tavrin_global.h"

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QSizeF>

class QPainter;
class QRect;
class Axis;
class AxesPrivate;

// The left and bottom axis of one chart. `chart` is the object whose
// on_axis_changed() slot hears both axes' axisChanged(); it may be null.
class TAVRIN_EXPORT Axes : public QObject
{
    Q_OBJECT
public:
    explicit Axes(QObject *chart = nullptr);
    ~Axes() override;

    Axis *left() const;
    Axis *bottom() const;

    void setSize(QSizeF size);
    bool update(double x, double y);
    void adjust();
    void updateTransformData();
    bool isValid() const;
    void reset();
    void setGridColor(QColor color);
    void draw(QPainter *painter, QRect *plot, bool grid);
    void shift(QPoint d);

    AxesPrivate *d;

private:
    Q_DISABLE_COPY(Axes)
};

#endif // AXES_H
