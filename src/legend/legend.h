#ifndef LEGEND_H
#define LEGEND_H

#include "tavrin_global.h"

#include <QColor>
#include <QScrollArea>

class ChartSeries;
class LegendPrivate;

/*!
    \class Legend
    \brief A scrollable column or row of check boxes, one per series, along
    one edge of the chart; checking a box shows its series, unchecking hides
    it.

    Every chart has one legend, reached through ChartWidget::legend(); the
    chart owns it and adds a check box for each series it registers (unless
    ChartSeries::isLegendVisible() is false) and removes it with the series.
    Each box shows the series' name and icon and follows its visibility and
    name.

    The legend is hidden by default; show it with setVisible(true). While it
    is shown, the chart's plot area leaves room for it on its edge. It sizes
    itself to its check boxes, up to three tenths of the chart's width (left
    and right) or height (top and bottom), and scrolls beyond that.

    An inset placement (plInsetTopRight and the three other corners) puts
    the legend inside the plot area instead, 6 pixels from two of its edges,
    over the series; the plot then keeps its whole size. An inset legend has
    a translucent background and a border of its own (insetBackground,
    insetBorderColor, insetBorderWidth), in the exports and printouts as on
    screen, and sizes itself up to the plot's size.

    A mouse click on an entry toggles its series as always and is reported
    with entryClicked(); a double click with entryDoubleClicked(), so that a
    host can, say, rename a series from its entry.

    The entries draw themselves with the application's style as it is
    without style sheets, in the legend's font and palette: rules of a
    host's style sheet for \c QCheckBox (or its indicator) do not change the
    legend. To change its look, use the legend's own properties,
    ChartWidget::setLegendFont() and the chart's palette or theme.

    \note Call the legend on the GUI thread, except addSeries(), which a
    worker thread may call.
*/
class TAVRIN_EXPORT Legend : public QScrollArea
{
    Q_OBJECT
    /*!
        \property Legend::visible
        \brief Whether the legend is shown (default: false).
        \sa setVisible()
    */
    Q_PROPERTY(bool visible READ isVisible WRITE setVisible)
    /*!
        \property Legend::placement
        \brief The edge the legend sits on and the direction of its check
        boxes (default: plRight).
        \sa setPlacement()
    */
    Q_PROPERTY(Placement placement READ placement WRITE setPlacement)
    /*!
        \property Legend::insetBackground
        \brief The fill of an inset legend, usually translucent (default: an
        invalid colour, which takes the palette's base colour at 80 % opacity).
        \sa setInsetBackground()
    */
    Q_PROPERTY(QColor insetBackground READ insetBackground WRITE setInsetBackground NOTIFY
                   insetBackgroundChanged)
    /*!
        \property Legend::insetBorderColor
        \brief The colour of an inset legend's border (default: an invalid
        colour, which takes the palette's window text colour at 40 % opacity).
        \sa setInsetBorderColor()
    */
    Q_PROPERTY(QColor insetBorderColor READ insetBorderColor WRITE setInsetBorderColor NOTIFY
                   insetBorderColorChanged)
    /*!
        \property Legend::insetBorderWidth
        \brief The width in pixels of an inset legend's border; 0 draws none
        (default: 1).
        \sa setInsetBorderWidth()
    */
    Q_PROPERTY(int insetBorderWidth READ insetBorderWidth WRITE setInsetBorderWidth NOTIFY
                   insetBorderWidthChanged)
    /*!
        \property Legend::textInSeriesColor
        \brief Whether each entry's text takes its series' colour instead of
        the palette's (default: false).
        \sa setTextInSeriesColor()
    */
    Q_PROPERTY(bool textInSeriesColor READ textInSeriesColor WRITE setTextInSeriesColor NOTIFY
                   textInSeriesColorChanged)
public:
    /*!
        The edge of the chart at which the legend sits and how its check boxes
        are stacked. The plain placements stack them along the edge (a column
        at the right and left, a row at the top and bottom); the inverted ones
        across it.

        \c plRight (0) and \c plRightInverted (1) put the legend at the right
        edge, centred vertically; \c plLeft (2) and \c plLeftInverted (3) at
        the left edge; \c plTop (4) and \c plTopInverted (5) at the top, under
        the title and centred horizontally; \c plBottom (6) and
        \c plBottomInverted (7) at the bottom.

        The inset placements put the legend inside the plot area, over the
        series, at one of its corners, with its check boxes in a column:
        \c plInsetTopRight (8), \c plInsetTopLeft (9),
        \c plInsetBottomRight (10) and \c plInsetBottomLeft (11).
    */
    enum Placement : int {
        plRight = 0,
        plRightInverted = 1,
        plLeft = 2,
        plLeftInverted = 3,
        plTop = 4,
        plTopInverted = 5,
        plBottom = 6,
        plBottomInverted = 7,
        plInsetTopRight = 8,
        plInsetTopLeft = 9,
        plInsetBottomRight = 10,
        plInsetBottomLeft = 11
    };
    Q_ENUM(Placement)

    /*!
        Constructs an empty, hidden legend at plRight with the given
        \a parent. A chart makes its own; a legend made by a host is not
        laid out by any chart.
    */
    explicit Legend(QWidget *parent = nullptr);
    /*!
        Constructs a new, empty, hidden legend in the same parent widget as
        \a other, with its placement; no check boxes are copied, and no chart
        lays it out.
    */
    Legend(const Legend &other);
    /*!
        Destroys the legend and its check boxes.
    */
    ~Legend() override;

    /*!
        Adds a check box for \a series, unless the series is null or its
        ChartSeries::isLegendVisible() is false. A series added twice gets two
        boxes. ChartWidget::addSeries() calls it.

        It may be called from a worker thread: the series is then handed to
        the GUI thread, and the call returns once its check box exists. The
        GUI thread must keep running its event loop meanwhile and must not
        wait for that worker, or both wait forever.
    */
    void addSeries(ChartSeries *series);
    /*!
        Removes the check box added last for \a series, if there is one. The
        legend keeps its size until its next layout.
    */
    void removeSeries(ChartSeries *series);
    /*!
        Returns the legend's placement (default: plRight).
    */
    Placement placement() const;
    /*!
        Moves the legend to the edge and stacking direction \a placement,
        keeping its check boxes in their order, and lets the chart's plot area
        make room. Setting the current placement does nothing.
    */
    void setPlacement(Placement placement);
    /*!
        Shows or hides the legend, as \a visible says, and lets the chart's
        plot area take or give back the room for it. QWidget::show() and
        QWidget::hide() go through it too.
    */
    void setVisible(bool visible) override;

    /*!
        Returns the fill of an inset legend as set; an invalid colour (the
        default) stands for the palette's base colour at 80 % opacity.
    */
    QColor insetBackground() const;
    /*!
        Sets the fill of an inset legend to \a color; its alpha makes it
        translucent. An invalid colour goes back to the default.
    */
    void setInsetBackground(const QColor &color);
    /*!
        Returns the colour of an inset legend's border as set; an invalid
        colour (the default) stands for the palette's window text colour at
        40 % opacity.
    */
    QColor insetBorderColor() const;
    /*!
        Sets the colour of an inset legend's border to \a color. An invalid
        colour goes back to the default.
    */
    void setInsetBorderColor(const QColor &color);
    /*!
        Returns the width of an inset legend's border in pixels (default: 1).
    */
    int insetBorderWidth() const;
    /*!
        Sets the width of an inset legend's border to \a width pixels; 0 (or
        less) draws none. The legend grows or shrinks by the difference.
    */
    void setInsetBorderWidth(int width);
    /*!
        Returns whether the entries' texts take their series' colours
        (default: false).
    */
    bool textInSeriesColor() const;
    /*!
        Draws each entry's text in its series' colour when \a on is true, in
        the palette's text colour otherwise. Like the icons, the texts take
        a series' new colour when the chart recolours its series (a theme)
        or the entry is next drawn.
    */
    void setTextInSeriesColor(bool on);

signals:
    /*!
        Emitted when the user clicks the entry of \a series with the left
        mouse button, after the click has toggled the series' visibility.
        Clicks made by code (QAbstractButton::click()) and the keyboard are
        not reported. Each click of a double click is reported too.
    */
    void entryClicked(ChartSeries *series);
    /*!
        Emitted when the user double-clicks the entry of \a series with the
        left mouse button. Its first click has toggled the series, and its
        second toggles it back, as a check box does.
    */
    void entryDoubleClicked(ChartSeries *series);
    /*!
        Emitted by setInsetBackground() when the fill changes to \a color.
    */
    void insetBackgroundChanged(const QColor &color);
    /*!
        Emitted by setInsetBorderColor() when the border colour changes to
        \a color.
    */
    void insetBorderColorChanged(const QColor &color);
    /*!
        Emitted by setInsetBorderWidth() when the border width changes to
        \a width.
    */
    void insetBorderWidthChanged(int width);
    /*!
        Emitted by setTextInSeriesColor() when the setting changes to \a on.
    */
    void textInSeriesColorChanged(bool on);

protected:
    /*!
        Paints an inset legend's background and border itself, and passes
        every other event, \a event among them, to QScrollArea.
    */
    bool event(QEvent *event) override;

public:

    /*!
        The legend's private implementation; not part of the API a host uses.
    */
    LegendPrivate *d;
};

#endif // LEGEND_H
