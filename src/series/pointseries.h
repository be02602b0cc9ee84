#ifndef POINTSERIES_H
#define POINTSERIES_H

#include "chartseries.h"

#include <QPointF>

class PointSeriesPrivate;

/*!
    \class PointSeries
    \brief Markers without connecting lines: dots, squares or circles.

    A point equal to one already stored (both coordinates equal within
    1e-12 of their size) is not stored again, though it still widens the
    bounds and emits ChartSeries::pointAdded(). A point may carry a label,
    which is its tooltip. A marker is drawn only when its point lies inside
    the visible range.

    On screen the markers are stamped from a small image rendered in the
    series' colours; the SVG export draws them as vector shapes instead. The
    setters that change the look (setSize(), setColor(), setFillColor(),
    setVectorRendering()) emit ChartSeries::refresh(), so a registered series
    renders the chart at once.

    Rows have the columns "X;Y".
*/
class TAVRIN_EXPORT PointSeries : public ChartSeries
{
    Q_OBJECT
    /*!
        The most points the series keeps; 0, the default, keeps every point.
        Works as LineSeries::maximumPoints does; labels go with their points.
    */
    Q_PROPERTY(int maximumPoints READ maximumPoints WRITE setMaximumPoints NOTIFY maximumPointsChanged)
public:
    /*!
        The shape of a marker: \c psPoint (0) a one-pixel dot in the series'
        pen, \c psSquare (1) a filled square, \c psCircle (2) a filled
        circle. Any other value draws a circle.
    */
    enum PointStyle : int { psPoint = 0, psSquare = 1, psCircle = 2 };

    /*!
        Constructs an empty series of dots (psPoint), with no parent.
    */
    PointSeries();
    /*!
        Constructs an empty series whose markers have the given \a style, with
        no parent. The marker size is 7 pixels.
    */
    explicit PointSeries(PointStyle style);
    /*!
        Destroys the series.
    */
    ~PointSeries() override;

    using ChartSeries::addXY;
    /*!
        Adds the point (\a x, \a y) unless an equal point is stored; see
        ChartSeries::addXY().
    */
    void addXY(double x, double y) override;
    /*!
        \overload
        Adds the point (\a x, \a y) with \a label as its tooltip text. When an
        equal point is already stored, the label is dropped and that point
        keeps its own tooltip.
    */
    void addXY(double x, double y, const QString &label);
    /*!
        Returns point \a i. The index must be valid: 0 <= \a i <
        pointsCount().
    */
    const QPointF &pt(int i) const;

    /*!
        Returns the most points the series keeps; 0, the default, means no
        limit. See the maximumPoints property.
    */
    int maximumPoints() const;
    /*!
        Sets the most points the series keeps to \a count; a negative value
        counts as 0, no limit. When the series holds more, the oldest are
        dropped at once and pointsRemoved() is emitted before
        maximumPointsChanged().
    */
    void setMaximumPoints(int count);
    /*!
        Drops the oldest points whose x is less than \a x, as
        LineSeries::removeBefore() does, and returns how many went.
    */
    Q_INVOKABLE int removeBefore(double x);

    /*!
        Removes every point and label; see ChartSeries::clear().
    */
    void clear() override;
    /*!
        Returns ChartSeries::stPoint.
    */
    seriesType type() override;
    /*!
        Returns the number of stored points.
    */
    int pointsCount() override;
    /*!
        Returns "X;Y".
    */
    QString dataAxisString() override;
    /*!
        Returns x and y of point \a i, or an empty list when \a i is out of
        range.
    */
    QList<QVariant> point(int i) override;

    /*!
        Returns the marker's edge length in pixels (default: 7).
    */
    int size() const;
    /*!
        Sets the marker's edge length to \a n pixels, at least 3, and emits
        ChartSeries::refresh() when it changes. Tooltips answer within a
        marker-sized square around the mouse.
    */
    void setSize(int n);
    /*!
        Returns whether markers are drawn as vector shapes rather than stamped
        from an image (default: false).
    */
    bool vectorRendering() const;
    /*!
        Draws markers as vector shapes when \a on is true, else stamps them
        from an image; emits ChartSeries::refresh() when it changes. The SVG
        export switches it on for its own drawing and restores it.
    */
    void setVectorRendering(bool on);
    /*!
        Sets the outline colour to \a c; when it changes, renders the marker
        image again and emits ChartSeries::refresh().
    */
    void setColor(QColor c) override;
    /*!
        Sets the marker fill to \a c; when it changes, renders the marker
        image again and emits ChartSeries::refresh().
    */
    void setFillColor(QColor c) override;

    /*!
        Draws a marker at each point inside the visible range.
    */
    void draw(QPainter *painter) override;
    /*!
        Returns the marker shape (a circle for psPoint) in the middle of a
        transparent square of \a size pixels.
    */
    QIcon icon(int size) override;
    /*! Returns the item at \a pos; see ChartSeries::indexAt() (\a radius). */
    int indexAt(const QPointF &pos, double radius) const override;
    /*!
        Returns the value at \a x, interpolated between the neighbouring
        points; see ChartSeries::valueAt().
    */
    double valueAt(double x) const override;
    /*!
        Returns the label of the first point, in the order added, within a
        marker-sized square around \a pos, or "X: <x>\r\nY: <y>" in the
        axes' label format when it has none; an empty string when no point is
        there.
    */
    QString tooltip(const QPoint &pos) override;

    /*!
        The series' private implementation; not part of the API a host uses.
    */
    PointSeriesPrivate *d;

signals:
    /*!
        Emitted by setMaximumPoints() when the limit changes, with the new
        \a maximumPoints (a negative value set shows as 0).
    */
    void maximumPointsChanged(int maximumPoints);

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

#endif // POINTSERIES_H
