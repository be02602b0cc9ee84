#ifndef BARSERIES_H
#define BARSERIES_H

#include "chartseries.h"

class BarSeriesPrivate;

/*!
    \class BarSeries
    \brief Vertical bars, 15 pixels wide and centred on x, that rise from the
    zero line to each value, or hang below it for a negative value.

    Opt-in modes change the layout: a width in data units (setBarWidth(),
    setBarWidthUnit()), horizontal bars (setOrientation()), stacking on
    another bar series (setStackedOn()), several series side by side at the
    same x (setGroup()) and value labels (setValueLabelsVisible()). Rows,
    exports and the legend icon are the same in every mode.

    The outline is drawn in the series' colour, the bar filled with its fill
    colour. The bounds take in the zero line; in a registered series they
    also take in the bar's half width at the current scale.

    Unlike most kinds, adding a bar emits no ChartSeries::pointAdded() and
    does not start the chart's refresh timer: a registered chart hears of a
    bar only when it widens the bounds. After adding bars inside the bounds,
    call ChartWidget::repaint().

    Rows have the columns "X;Y".
*/
class TAVRIN_EXPORT BarSeries : public ChartSeries
{
    Q_OBJECT
    /*!
        \property BarSeries::maximumPoints
        \brief The most bars the series keeps; 0, the default, keeps
        every one. Works as LineSeries::maximumPoints does: past the limit
        the oldest bars go with pointsRemoved(), and the bounds follow
        what is left.
    */
    Q_PROPERTY(int maximumPoints READ maximumPoints WRITE setMaximumPoints NOTIFY maximumPointsChanged)
    /*!
        The bar's width across its position axis, in barWidthUnit()
        (default: 15 pixels). In a group it is the width of the whole slot,
        which the members share. A width that is not finite and positive
        (0, negative, NaN, infinite) is ignored and the old width kept.
    */
    Q_PROPERTY(double barWidth READ barWidth WRITE setBarWidth NOTIFY barWidthChanged)
    /*!
        Whether barWidth() counts pixels (the default) or units of the
        position axis. A width in data units keeps its proportion to the
        data when the chart zooms, so neighbouring bars can touch; the
        automatic scaling then widens the range by half a bar on each side
        so that the edge bars are whole. On a logarithmic position axis a
        width in data units is taken in decades.
    */
    Q_PROPERTY(WidthUnit barWidthUnit READ barWidthUnit WRITE setBarWidthUnit NOTIFY barWidthUnitChanged)
    /*!
        Qt::Vertical (the default): x is the bar's position on the x axis,
        y its value on the y axis. Qt::Horizontal: bars grow from the left,
        x is the position read on the series' y axis and y the value read on
        its x axis; the bounds, automatic scaling, tooltips, hit tests and
        selection rings follow. The rows keep the columns "X;Y" in both.
    */
    Q_PROPERTY(Qt::Orientation orientation READ orientation WRITE setOrientation NOTIFY orientationChanged)
    /*!
        Whether each bar carries its value as text at its end: above a
        positive bar and below a negative one, or right and left of it when
        horizontal, in the value axis' label format and font and the chart's
        text colour (default: false). Exported as text to SVG and PDF.
    */
    Q_PROPERTY(bool valueLabelsVisible READ valueLabelsVisible WRITE setValueLabelsVisible NOTIFY valueLabelsVisibleChanged)
public:
    /*!
        The unit of barWidth(): \c Pixels (0) pixels, the same at any zoom;
        \c DataUnits (1) units of the position axis.
    */
    enum WidthUnit { Pixels, DataUnits };
    Q_ENUM(WidthUnit)

    /*!
        Constructs an empty bar series with no parent.
    */
    BarSeries();
    /*!
        Destroys the series.
    */
    ~BarSeries() override;

    using ChartSeries::addXY;
    /*!
        Adds a bar at \a x of the value \a y.
    */
    void addXY(double x, double y) override;

    /*!
        Removes every bar; see ChartSeries::clear().
    */
    void clear() override;
    /*!
        Returns ChartSeries::stBar.
    */
    seriesType type() override;
    /*!
        Returns the number of bars.
    */
    int pointsCount() override;
    /*!
        Returns "X;Y".
    */
    QString dataAxisString() override;
    /*!
        Returns x and y of bar \a i, or an empty list when \a i is out of
        range.
    */
    QList<QVariant> point(int i) override;

    /*!
        Draws the bars that reach into the visible range.
    */
    void draw(QPainter *painter) override;
    /*!
        Returns a bar in the series' colours on a transparent square of
        \a size pixels.
    */
    QIcon icon(int size) override;
    /*! Returns the item at \a pos; see ChartSeries::indexAt() (\a radius). */
    int indexAt(const QPointF &pos, double radius) const override;
    /*!
        Returns "X: <x>\r\nY: <y>" of the bar under \a pos, in the axes'
        label format, or an empty string. The search stops at the first bar
        right of the mouse, so bars are expected in ascending x.
    */
    QString tooltip(const QPoint &pos) override;

    /*! Returns the bar width; see the property barWidth. */
    double barWidth() const;
    /*! Sets the bar width to \a width; see the property barWidth. */
    void setBarWidth(double width);
    /*! Returns the unit of the bar width; see barWidthUnit. */
    WidthUnit barWidthUnit() const;
    /*! Sets the unit of the bar width to \a unit; see barWidthUnit. */
    void setBarWidthUnit(WidthUnit unit);
    /*! Returns the orientation; see the property orientation. */
    Qt::Orientation orientation() const;
    /*! Sets the orientation to \a orientation; see the property. */
    void setOrientation(Qt::Orientation orientation);
    /*! Returns whether value labels are drawn; see valueLabelsVisible. */
    bool valueLabelsVisible() const;
    /*! Shows or hides the value labels (\a visible); see valueLabelsVisible. */
    void setValueLabelsVisible(bool visible);

    /*!
        Returns the series this one is stacked on, or nullptr.
    */
    BarSeries *stackedOn() const;
    /*!
        Stacks this series on \a below, or unstacks it for nullptr. Returns
        whether the stack is now as asked.

        A bar then starts where the bars of the series below at the same x
        end: a positive value on the sum of the positive values below it, a
        negative one under the sum of the negative ones (the stack is
        followed down to its foot, bars matched by equal x). Stacking a
        series on itself, on a series that already rests on this one (a
        cycle), or on a series of another chart is refused with a warning
        and changes nothing. Stack the series in the same orientation and
        width. The bounds take in the totals as they are when the stack is
        set and when bars are added here; when the series below grows,
        rescale with ChartWidget::setAutoScale(). A deleted series below
        drops out of the stack.
    */
    bool setStackedOn(BarSeries *below);

    /*!
        Returns the series' place in its group, 0 when it is in none.
    */
    int groupIndex() const;
    /*!
        Returns the number of series in the series' group, 1 when it is in
        none.
    */
    int groupSize() const;
    /*!
        Puts the series at place \a index of a group of \a size series
        drawn side by side at the same x. The group shares the slot of
        barWidth() centred on x: each member is barWidth() / \a size wide,
        member 0 at the low end of the position axis (left, or bottom when
        horizontal), and the members touch; the space between groups is what
        the x spacing leaves beside barWidth(). Give every member the same
        width, unit and size. setGroup(0, 1) leaves the group. A size below
        1 or an index outside 0 .. \a size - 1 is ignored.
    */
    void setGroup(int index, int size);

    /*!
        Returns the most bars the series keeps; 0, the default, means no
        limit. See the maximumPoints property.
    */
    int maximumPoints() const;
    /*!
        Sets the most bars the series keeps to \a count; a negative value
        counts as 0, no limit. When the series holds more, the oldest are
        dropped at once and pointsRemoved() is emitted before
        maximumPointsChanged().
    */
    void setMaximumPoints(int count);
    /*!
        Drops the oldest bars whose x is less than \a x, as
        LineSeries::removeBefore() does, and returns how many went.
    */
    Q_INVOKABLE int removeBefore(double x);

    /*!
        The series' private implementation; not part of the API a host uses.
    */
    BarSeriesPrivate *d;

signals:
    /*!
        Emitted by setMaximumPoints() when the limit changes, with the new
        \a maximumPoints (a negative value set shows as 0).
    */
    void maximumPointsChanged(int maximumPoints);
    /*! Emitted when the bar width changed to \a width. */
    void barWidthChanged(double width);
    /*! Emitted when the width unit changed to \a unit. */
    void barWidthUnitChanged(BarSeries::WidthUnit unit);
    /*! Emitted when the orientation changed to \a orientation. */
    void orientationChanged(Qt::Orientation orientation);
    /*! Emitted when the value labels were shown or hidden (\a visible). */
    void valueLabelsVisibleChanged(bool visible);
    /*! Emitted when the series was stacked on another one or unstacked. */
    void stackedOnChanged();
    /*! Emitted when the series' place in a group changed. */
    void groupChanged();

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

#endif // BARSERIES_H
