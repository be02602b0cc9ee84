#ifndef AXIS_H
#define AXIS_H

#include "tavrin_global.h"

#include <QColor>
#include <QFont>
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

    /*!
        Sets the font of the tick labels; "Arial" at 8 points by default.
        The axis measures its label band again at once; the chart lays its
        plot out again at its next update (ChartWidget::setAxisLabelFont
        does both).
    */
    void setLabelFont(const QFont &font);
    QFont labelFont() const;

    /*!
        Sets the font of the axis title; "Arial" at 8 points by default.
        As with setLabelFont(), the label band is measured again.
    */
    void setTitleFont(const QFont &font);
    QFont titleFont() const;

    /*!
        Sets the colour of the axis' frame edges and tick marks; black by
        default. Labels and title are drawn in the painter's pen, which on
        the chart is the widget palette's QPalette::WindowText.
    */
    void setFrameColor(QColor color);
    QColor frameColor() const;

    void draw(QPainter *painter, QRect *plot, bool grid);

    AxisPrivate *d;

signals:
    void axisChanged();

private:
    Q_DISABLE_COPY(Axis)
};

#endif // AXIS_H
