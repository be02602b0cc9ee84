#ifndef PIESERIES_H
#define PIESERIES_H

#include "chartseries.h"

#include <QFont>
#include <QRectF>
#include <QStringList>

class PieSeriesPrivate;

/*!
    \class PieSeries
    \brief Parts of a whole: slices with a label, a value and a colour, drawn
    as a pie or, with a hole, as a donut.

    Each slice takes the share of the circle that its value has of the
    whole. Only slices that are shown and whose value is finite and greater
    than zero count: a negative, zero, NaN or infinite value is kept (and
    exported) but neither drawn nor counted in the whole, and a chart whose
    values are all such draws nothing. A single counted slice is a full
    circle (or ring).

    Layout: a chart that holds only pie series draws no axes, ticks or grid
    and gives the whole plot area to the pies, each centred in it and round
    whatever the widget's shape. Beside x-y series, a pie is drawn centred
    in the plot area over the axes and series of the others; it takes no
    part in their scaling (its bounds stay NaN).

    A slice without a colour of its own takes one from the chart's series
    colours (ChartWidget::setSeriesColors(), set by the themes) by its
    index, or from a built-in set of twelve when the chart has none.
    Outlines are drawn in the chart's window colour, so that the slices
    stand apart on any theme.

    Changes to values, slices or the look render the chart once, from the
    event loop, however many were made in a row (under the drawing lock,
    at its release): a live gauge changes its values in place with
    setValue() or setValues() and never rebuilds the series.

    Labels show the slice's label, its value and its percentage as
    labelContent() says, inside the slices or outside with leader lines.
    A label longer than its room is elided; a slice too thin to hold a
    label (less arc than a line of text) gets none, and outside labels that
    would overlap a neighbour are left out, so ten thousand slices draw
    quickly and legibly.

    In the legend each slice has an entry of its own; its check box shows
    or hides the slice, and the other slices share the whole between them.
    The tooltip names the slice under the pointer with its value and
    percentage; it takes the place of the crosshair, which a chart of pies
    only, having no scale, does not draw. Rows have the columns "Label;Value;Percentage": the label
    as text, the value, and the percentage of the shown whole (NaN for a
    slice that does not count).
*/
class TAVRIN_EXPORT PieSeries : public ChartSeries
{
    Q_OBJECT
    /*!
        \property PieSeries::holeSize
        \brief The radius of the hole as a fraction of the radius: 0 for a
        pie (the default), up to 0.95 for a thin ring.
    */
    Q_PROPERTY(double holeSize READ holeSize WRITE setHoleSize NOTIFY holeSizeChanged)
    /*!
        \property PieSeries::startAngle
        \brief Where the first slice starts, in degrees clockwise from
        twelve o'clock (default: 0).
    */
    Q_PROPERTY(double startAngle READ startAngle WRITE setStartAngle NOTIFY startAngleChanged)
    /*!
        \property PieSeries::clockwise
        \brief Whether the slices follow each other clockwise (the default)
        or counter-clockwise.
    */
    Q_PROPERTY(bool clockwise READ isClockwise WRITE setClockwise NOTIFY clockwiseChanged)
    /*!
        \property PieSeries::explodeOffset
        \brief How far a pulled-out slice moves from the centre, as a
        fraction of the radius, from 0 to 0.5 (default: 0.1).
    */
    Q_PROPERTY(double explodeOffset READ explodeOffset WRITE setExplodeOffset NOTIFY explodeOffsetChanged)
    /*!
        \property PieSeries::labelPosition
        \brief Where slice labels are drawn (default: PieSeries::lpInside).
    */
    Q_PROPERTY(LabelPosition labelPosition READ labelPosition WRITE setLabelPosition NOTIFY labelPositionChanged)
    /*!
        \property PieSeries::labelContent
        \brief What a slice label shows (default: label and percentage).
    */
    Q_PROPERTY(LabelContent labelContent READ labelContent WRITE setLabelContent NOTIFY labelContentChanged)
    /*!
        \property PieSeries::labelFont
        \brief The font of the slice labels (default: Arial, 8 points).
    */
    Q_PROPERTY(QFont labelFont READ labelFont WRITE setLabelFont NOTIFY labelFontChanged)
    /*!
        \property PieSeries::area
        \brief The part of the plot area the series is centred in, as
        fractions of its width and height (default: the whole, 0, 0, 1, 1).
        Two pies side by side take the left and the right half.
    */
    Q_PROPERTY(QRectF area READ area WRITE setArea NOTIFY areaChanged)
public:
    /*!
        Where slice labels are drawn: \c lpNone not at all, \c lpInside in
        the slices (in black or white, whichever stands out from the
        slice's colour), \c lpOutside beside the circle with a leader line,
        which leaves the circle smaller.
    */
    enum LabelPosition { lpNone, lpInside, lpOutside };
    Q_ENUM(LabelPosition)
    /*!
        What a slice label shows, combined: \c lcLabel the slice's label,
        \c lcValue its value, \c lcPercentage its share of the whole.
    */
    enum LabelContentFlag { lcLabel = 1, lcValue = 2, lcPercentage = 4 };
    Q_DECLARE_FLAGS(LabelContent, LabelContentFlag)
    Q_FLAG(LabelContent)

    /*!
        Constructs an empty pie with no parent.
    */
    PieSeries();
    /*!
        Destroys the series.
    */
    ~PieSeries() override;

    /*!
        Adds a slice of \a value labelled \a label, in \a color or, with an
        invalid colour, in the chart's colour for its index. Returns the
        slice's index.
    */
    int addSlice(const QString &label, double value, const QColor &color = QColor());
    /*!
        Adds one slice per value of \a values, labelled by the text of the
        same index in \a labels (empty when \a labels is shorter), in one
        step: one render, one slicesChanged().
    */
    void addSlices(const QStringList &labels, const QVector<double> &values);
    /*!
        Removes slice \a index; an index out of range does nothing.
    */
    void removeSlice(int index);
    /*!
        Returns the number of slices, counted or not.
    */
    int sliceCount() const;

    /*!
        Returns the value of slice \a index, or NaN out of range.
    */
    double value(int index) const;
    /*!
        Changes the value of slice \a index to \a value in place; the chart
        renders once for any number of changes made in a row. Emits no
        signal of the series; does nothing when the value is the same or
        \a index is out of range.
    */
    void setValue(int index, double value);
    /*!
        Changes the values of the first slices to \a values in place, as
        setValue() does; values past the last slice are ignored.
    */
    void setValues(const QVector<double> &values);
    /*!
        Returns the label of slice \a index, or an empty string.
    */
    QString sliceLabel(int index) const;
    /*!
        Sets the label of slice \a index to \a label.
    */
    void setSliceLabel(int index, const QString &label);
    /*!
        Returns the colour slice \a index is drawn in: its own, or the
        chart's for its index.
    */
    QColor sliceColor(int index) const;
    /*!
        Sets the colour of slice \a index to \a color; an invalid colour
        gives the slice back the chart's colour for its index.
    */
    void setSliceColor(int index, const QColor &color);
    /*!
        Returns whether slice \a index is shown (default: true).
    */
    bool isSliceVisible(int index) const;
    /*!
        Shows or hides slice \a index as \a visible says; a hidden slice
        leaves the whole to the others. Emits sliceVisibleChanged() on a
        change; the legend's check box follows.
    */
    void setSliceVisible(int index, bool visible);
    /*!
        Returns whether slice \a index is pulled out from the centre.
    */
    bool isExploded(int index) const;
    /*!
        Pulls slice \a index out from the centre by explodeOffset(), or puts
        it back, as \a exploded says. While any slice is pulled out the
        circle is drawn smaller, so that the slice stays in the plot.
    */
    void setExploded(int index, bool exploded);

    /*!
        Returns the sum of the values that count: those of shown slices
        that are finite and greater than zero.
    */
    double total() const;
    /*!
        Returns the percentage of slice \a index in total(), or NaN for a
        slice that does not count.
    */
    double percentage(int index) const;
    /*!
        Returns the index of the drawn slice at \a pos, in pixels from the
        plot area's top-left corner, or -1. The series must be registered.
    */
    int sliceAt(const QPointF &pos) const;
    /*!
        Returns the legend's icon of slice \a index, a disc in its colour,
        \a size by \a size pixels.
    */
    QIcon sliceIcon(int index, int size) const;

    /*!
        Returns the hole's radius as a fraction of the radius.
    */
    double holeSize() const;
    /*!
        Sets the hole's radius to \a fraction of the radius; values below 0
        are taken as 0 and values above 0.95 as 0.95, NaN as 0.
    */
    void setHoleSize(double fraction);
    /*!
        Returns the start angle in degrees clockwise from twelve o'clock.
    */
    double startAngle() const;
    /*!
        Sets the start angle to \a degrees clockwise from twelve o'clock; a
        value that is not finite is ignored.
    */
    void setStartAngle(double degrees);
    /*!
        Returns whether slices follow each other clockwise.
    */
    bool isClockwise() const;
    /*!
        Sets the direction of the slices: clockwise when \a on.
    */
    void setClockwise(bool on);
    /*!
        Returns how far a pulled-out slice moves, as a fraction of the
        radius.
    */
    double explodeOffset() const;
    /*!
        Sets how far a pulled-out slice moves to \a fraction of the radius,
        taken into 0 to 0.5 (NaN as 0).
    */
    void setExplodeOffset(double fraction);
    /*!
        Returns where slice labels are drawn.
    */
    LabelPosition labelPosition() const;
    /*!
        Sets where slice labels are drawn to \a position.
    */
    void setLabelPosition(LabelPosition position);
    /*!
        Returns what slice labels show.
    */
    LabelContent labelContent() const;
    /*!
        Sets what slice labels show to \a content; no flag shows nothing.
    */
    void setLabelContent(LabelContent content);
    /*!
        Returns the font of the slice labels.
    */
    QFont labelFont() const;
    /*!
        Sets the font of the slice labels to \a font.
    */
    void setLabelFont(const QFont &font);

    /*!
        Returns the part of the plot area the series takes, in fractions.
    */
    QRectF area() const;
    /*!
        Sets the part of the plot area the series is centred in to
        \a fraction, in fractions of the plot's width and height, cut to
        the plot; an area that leaves nothing is ignored.
    */
    void setArea(const QRectF &fraction);

    /*!
        Adds a slice of value \a y with an empty label; \a x is ignored.
        The generic entry point for hosts that fill every kind alike.
    */
    void addXY(double x, double y) override;
    /*!
        Removes every slice; see ChartSeries::clear().
    */
    void clear() override;
    /*!
        Returns ChartSeries::stPie.
    */
    seriesType type() override;
    /*!
        Returns the number of slices.
    */
    int pointsCount() override;
    /*!
        Returns "Label;Value;Percentage".
    */
    QString dataAxisString() override;
    /*!
        Returns the label (a string), the value and the percentage of slice
        \a i, or an empty list when \a i is out of range.
    */
    QList<QVariant> point(int i) override;
    /*!
        Draws the counted slices and their labels.
    */
    void draw(QPainter *painter) override;
    /*!
        Returns a small pie in the first slices' colours.
    */
    QIcon icon(int size) override;
    /*! Returns the item at \a pos; see ChartSeries::indexAt() (\a radius). */
    int indexAt(const QPointF &pos, double radius) const override;
    /*!
        Returns "<label>\r\nValue: <value>\r\nShare: <percentage> %" of the
        slice under \a pos, or an empty string.
    */
    QString tooltip(const QPoint &pos) override;

    /*!
        The series' private implementation; not part of the API a host uses.
    */
    PieSeriesPrivate *d;

signals:
    /*!
        Emitted when slices were added or removed, or a label or colour
        changed; the legend rebuilds the series' entries.
    */
    void slicesChanged();
    /*!
        Emitted when slice \a index was shown or hidden, as \a visible says.
    */
    void sliceVisibleChanged(int index, bool visible);
    /*!
        Emitted when the hole size changed to \a fraction.
    */
    void holeSizeChanged(double fraction);
    /*!
        Emitted when the start angle changed to \a degrees.
    */
    void startAngleChanged(double degrees);
    /*!
        Emitted when the direction changed to clockwise \a on.
    */
    void clockwiseChanged(bool on);
    /*!
        Emitted when the explode offset changed to \a fraction.
    */
    void explodeOffsetChanged(double fraction);
    /*!
        Emitted when the label position changed to \a position.
    */
    void labelPositionChanged(PieSeries::LabelPosition position);
    /*!
        Emitted when the label content changed to \a content.
    */
    void labelContentChanged(PieSeries::LabelContent content);
    /*!
        Emitted when the label font changed to \a font.
    */
    void labelFontChanged(const QFont &font);
    /*!
        Emitted when the area changed to \a fraction.
    */
    void areaChanged(const QRectF &fraction);

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;

private:
    Q_DISABLE_COPY(PieSeries)
};

Q_DECLARE_OPERATORS_FOR_FLAGS(PieSeries::LabelContent)

#endif // PIESERIES_H
