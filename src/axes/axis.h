#ifndef AXIS_H
#define AXIS_H

#include "tavrin_global.h"

#include <QColor>
#include <QObject>
#include <QString>

class QPainter;
class QRect;
class AxisPrivate;

class TAVRIN_EXPORT Axis : public QObject
{
    Q_OBJECT
public:
    // Enums take any int: hosts and files may hand over values outside the
    // named ones, which must be well-defined to hold and compare.
    enum AxisType : int { atBottom = 0, atLeft = 1 };

    explicit Axis(AxisType type);
    ~Axis() override;

    AxisType type() const;

    double min() const;
    double max() const;
    double span() const;
    bool isValid() const;
    int size() const;

    void setMin(double v);
    void setMax(double v);
    void setRange(double min, double max);
    bool update(double v);
    void shift(double d);
    void reset();
    void setScaleLock(bool lock);
    bool scaleLock() const;

    double pointToPixel(double v) const;
    double pixelToPoint(double p) const;
    double pointDeltaToPixel(double d) const;
    double pixelDeltaToPoint(double d) const;

    void setDatetime(bool on);
    bool isDatetime() const;
    void setDatetimeFormat(const QString &format);
    QString datetimeFormat() const;

    void setCustomLabel(double v, const QString &text);
    void clearCustomLabels();
    QString labelString(double v) const;

    QString title() const;
    void setTitle(const QString &title);
    void setGridColor(QColor color);
    QColor gridColor() const;

    void draw(QPainter *painter, QRect *plot, bool grid);

    AxisPrivate *d;

signals:
    void axisChanged();

private:
    Q_DISABLE_COPY(Axis)
};

#endif // AXIS_H
