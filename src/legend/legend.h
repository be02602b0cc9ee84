#ifndef LEGEND_H
#define LEGEND_H

#include "tavrin_global.h"

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
    */
    enum Placement : int {
        plRight = 0,
        plRightInverted = 1,
        plLeft = 2,
        plLeftInverted = 3,
        plTop = 4,
        plTopInverted = 5,
        plBottom = 6,
        plBottomInverted = 7
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
        The legend's private implementation; not part of the API a host uses.
    */
    LegendPrivate *d;
};

#endif // LEGEND_H
