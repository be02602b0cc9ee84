#ifndef CHARTGROUP_H
#define CHARTGROUP_H

#include "tavrin_global.h"

#include <QList>
#include <QObject>

class ChartGroupPrivate;
class ChartWidget;

/*!
    \class ChartGroup
    \brief Charts whose bottom axes move together, as on a dashboard of
    charts stacked over one time axis.

    A host creates a group and adds its charts with addChart(). From then on
    every change of one member's bottom axis range, whether a gesture (band
    zoom, pan, wheel, double-click reset, zoomBack()) or a call
    (ChartWidget::setAutoScale(), Axis::setRange() followed by
    ChartWidget::repaint()), or automatic scaling and the refresh timer, is
    given to the other members when the changed chart renders, so that all of
    them show the same x range. A chart that follows takes the range without
    passing it on, and renders once: one gesture renders each chart once.

    While the member whose range changed scales automatically, the group
    shows the union of the x ranges of every member's data (each member's
    visible series on its bottom axis and its marker lines). A range that
    a gesture chose switches automatic scaling off in the members that
    follow, as the gesture does in the chart it was made in; a range that
    came from automatic scaling leaves the followers' automatic scaling as
    it was. Only the bottom axis is linked: each chart keeps its own
    vertical axes, its top axis (Axes::top()), zoom history and settings. A
    gesture in one member still moves that member's top axis with its bottom
    one; the followers' top axes stay as they are.

    While a member's crosshair is on and the pointer is over its plot, the
    other members draw a vertical line with the x value at the same x.

    With alignPlotAreas() on (the default), the members' plot areas share
    their left and right edges when the charts have the same width and sit
    in one column: each member's left axis band is as wide as the widest
    left axis band of the group, and its right band (the right axis, or
    nothing) as wide as the widest right band. The group aligns again when
    labels change width. Legends and titles are not part of the bands.

    The group does not own its charts. A chart leaves it with removeChart(),
    by joining another group, or by itself when it is deleted; deleting the
    group unlinks its charts, which keep their ranges.
*/
class TAVRIN_EXPORT ChartGroup : public QObject
{
    Q_OBJECT
    /*!
        \property ChartGroup::alignPlotAreas
        \brief Whether the members' plot areas share their left and right
        edges.
        \sa alignPlotAreas()
    */
    Q_PROPERTY(bool alignPlotAreas READ alignPlotAreas WRITE setAlignPlotAreas NOTIFY
                   alignPlotAreasChanged)
public:
    /*!
        Creates an empty group with the given \a parent.
    */
    explicit ChartGroup(QObject *parent = nullptr);
    /*!
        Unlinks the members; their ranges, axes and bands stay as they are
        shown, apart from the aligned bands, which go back to their own width.
    */
    ~ChartGroup() override;

    /*!
        Adds \a chart to the group. It takes the group's x range at once,
        or, if it is the first member, gives the group its own. A chart in
        another group leaves that group first.

        Returns false, and changes nothing, for a null chart, a chart that
        is already a member, and a chart whose bottom axis differs from the
        members' in date-time mode (Axis::isDatetime()): seconds since the
        epoch and plain numbers cannot share a range meaningfully.
        Returns true when the chart joined.
    */
    bool addChart(ChartWidget *chart);
    /*!
        Takes \a chart out of the group; it keeps the range it shows.
        Returns false when it was not a member.
    */
    bool removeChart(ChartWidget *chart);
    /*!
        Returns the members in the order they joined.
    */
    QList<ChartWidget *> charts() const;

    /*!
        Returns whether the members' plot areas are aligned; on by default.
        See the class description.
    */
    bool alignPlotAreas() const;
    /*!
        Aligns the members' plot areas, or gives each its own bands again,
        as \a on says. Emits alignPlotAreasChanged() when the value changes.
    */
    void setAlignPlotAreas(bool on);

    /*!
        The group's private implementation; not part of the API a host uses.
    */
    ChartGroupPrivate *d;

signals:
    /*!
        Emitted when a chart joins or leaves the group, including a deleted
        member leaving by itself.
    */
    void chartsChanged();
    /*!
        Emitted by setAlignPlotAreas() when alignPlotAreas changes to \a on.
    */
    void alignPlotAreasChanged(bool on);
};

#endif // CHARTGROUP_H
