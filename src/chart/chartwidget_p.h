#ifndef CHARTWIDGET_P_H
#define CHARTWIDGET_P_H

#include "chartwidget.h"

#include "axes.h"
#include "chartitemowner_p.h"
#include "chartseriesowner_p.h"
#include "legend.h"
#include "legendowner_p.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QHash>
#include <QMap>
#include <QPalette>
#include <QMargins>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QStringList>
#include <QVector>
#include <QtNumeric>

#include <cmath>

struct ChartSettings;
struct ExportTable;
class Axis;
class ChartGroup;
class ChartItem;
class ColorMapSeries;
class QAction;
class QHelpEvent;
class QIODevice;
class QKeyEvent;
class QMouseEvent;
class QPainter;
class QWheelEvent;
class VLine;

class ChartWidgetPrivate : public QObject,
                           public ChartSeriesOwner,
                           public LegendOwner,
                           public ChartItemOwner
{
    Q_OBJECT
public:
    explicit ChartWidgetPrivate(ChartWidget *q);
    ~ChartWidgetPrivate() override;

    QMap<int, ChartSeries *> seriesMap;
    QMap<int, VLine *> vlineMap;
    QList<ChartItem *> itemList; // in the order of drawing
    QPixmap pixmap;
    QRect plotRect;
    QMargins margins{5, 5, 5, 5};
    QRect zoomRect;
    bool zooming = false;
    bool panning = false;
    QPoint lastPanPos;
    bool autoScale = true;
    // A user's gesture, not the host, switched automatic scaling off: clear()
    // gives it back.
    bool gestureView = false;
    // The refresh timer's expiry has queued a full rescale.
    bool rescalePending = false;
    bool drawingLock = false;
    Axes axes;
    Legend legend;
    QString title;
    QFont titleFont;
    ChartWidget *q;
    bool tooltipEnabled = false;
    int colorIndex = 7;
    QTimer refreshTimer;
    int refreshTimeout = -1;
    bool antialiasing = false;

    // The look: colours for new series and what the theme changed.
    QList<QColor> seriesColors;
    int paletteIndex = 0;
    QHash<ChartSeries *, QColor> autoColors; // series the chart coloured, and how
    ChartWidget::Theme theme = ChartWidget::thDefault;
    QPalette hostPalette;
    QPalette hostEffectivePalette; // what the themes start from
    QFont hostTitleFont;           // given back when the light theme goes
    bool hostAutoFill = false;
    QColor takeAutoColor();
    void recolorSeries();
    void relayout();

    // Opt-in interaction and the views zoomBack() returns to.
    struct View {
        double xMin, xMax, yMin, yMax;
        bool autoScale;
        double rightMin = qQNaN(), rightMax = qQNaN(); // NaN: the right axis had no range
        double topMin = qQNaN(), topMax = qQNaN();     // NaN: the top axis had no range
    };
    static constexpr int kZoomHistoryLimit = 50;
    QVector<View> zoomHistory;
    bool wheelZoom = false;
    bool doubleClickReset = false;
    bool holdView = false;
    bool crosshair = false;
    bool panRecorded = false;
    QPoint crosshairPos;
    bool crosshairShown = false;
    QStringList crosshairTexts; // x and y as last drawn

    // Rendering and layout. updatePlotArea() returns whether it rendered
    // the series layer (it does when the plot size changed).
    bool updatePlotArea() override;
    // With render false a plot of a new size gets a transparent image, for
    // the drawing lock's release to fill.
    bool updatePlotArea(bool render);
    // The plot rectangle the layout gives a chart occupying `area`.
    QRect plotRectIn(const QRect &area) const;
    // The right axis is shown while a registered series uses it.
    bool rightAxisInUse() const;
    // The vertical axes the view gestures move: the left one, and the right
    // one while it is in use.
    QVector<Axis *> yAxes() const;
    // The top axis likewise, above the plot; xAxes() are the bottom one and
    // the top one while it is in use.
    bool topAxisInUse() const;
    QVector<Axis *> xAxes() const;
    // At least one horizontal and one vertical axis have a range: a view
    // the gestures can work on.
    bool viewValid() const;
    void drawTitleAndAxes(QPainter *painter);
    void drawSeries(QPainter *painter, bool vector);
    void makeImage();
    void handlePaint();
    void handleResize();

    // Series hooks.
    void seriesBoundsChanged(ChartSeries *series, double x, double y) override;
    // A point on the bottom and left axis.
    void seriesBoundsChanged(double x, double y) { seriesBoundsChanged(nullptr, x, y); }
    void scheduleRefresh() override;
    void seriesBlockBoundsChanged(ChartSeries *series, double minX, double minY, double maxX,
                                  double maxY) override;
    void seriesBoundsShrunk() override;
    // Whether a point just added to `series` lies where its drawing cannot
    // reach the plot, so that the picture cannot change.
    bool outOfView(ChartSeries *series, double x, double y) const;
    // A running minimum or maximum over bounds of which some may be NaN
    // (empty series): NaN never wins, and a NaN start takes the first value.
    static void widenLow(double &m, double v)
    {
        if (v < m || (std::isnan(m) && !std::isnan(v)))
            m = v;
    }
    static void widenHigh(double &m, double v)
    {
        if (v > m || (std::isnan(m) && !std::isnan(v)))
            m = v;
    }
    void seriesAxesChanged(ChartSeries *series) override;
    QList<QColor> paletteColors() const override { return seriesColors; }
    QPalette chartPalette() const override { return q->palette(); }
    // Every registered series is a pie: the chart draws no axes.
    bool partsOfWholeOnly() const;
    // A colour map's cells or colours changed: one rendering at the next
    // pass of the event loop, however many calls came meanwhile.
    void seriesContentChanged(ChartSeries *series, bool extentMoved) override;
    bool renderQueued = false;
    // The colour map whose colour-scale bar shows (none: no bar), the bar's
    // band for a plot `height` pixels high, and the bar itself.
    ColorMapSeries *colorScaleSeries() const;
    Axis *prepareColorScale(ColorMapSeries *map, int height) const;
    int colorScaleWidth(int height) const;
    void drawColorScale(QPainter *painter);
    // The value of the colour-map cell at plot pixel `pos`, as the bar labels it.
    QString colorMapValueText(const QPoint &pos) const;
    // Widens the bottom axis by x and the series' y axis (the left one for
    // no series) by y, with fresh ticks; true when a range changed.
    bool widenAxes(const ChartSeries *series, double x, double y);

    // Legend hooks.
    QString legendTitle() const override { return title; }
    QFont legendTitleFont() const override { return titleFont; }
    QRect legendPlotArea() const override { return plotRect; }

    // Mouse interaction; each returns whether the event was consumed.
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool handleMousePress(QMouseEvent *event);
    bool handleMouseMove(QMouseEvent *event);
    bool handleMouseRelease(QMouseEvent *event);
    bool handleToolTip(QHelpEvent *event);
    void updateSelectionFrame();
    void zoomTo(const QRect &band);
    bool handleWheel(QWheelEvent *event);
    // One wheel step of `steps` eighths of a degree about p, the modifiers
    // limiting it as the wheel's do.
    void zoomStep(const QPoint &p, int steps, Qt::KeyboardModifiers mods);
    bool handleKey(QKeyEvent *event);
    void drawFocusFrame(QPainter *painter);
    // The keyboard's walk and what assistive technology reads.
    static void installAccessibility();
    QString accessibleSummary() const;
    QString currentPointText() const;
    bool handleWalkKey(QKeyEvent *event);
    void announce();
    void drawCurrentPoint(QPainter *painter);
    bool hasCurrentSeries = false;
    int currentSeries = 0;
    int currentPoint = -1;
    QElapsedTimer announceClock;
    QTimer announceTimer; // sends the last walk step a throttled burst held back
    void sendAnnouncement();
    // Where announcements go. Qt hands events to an update handler only
    // while a platform bridge is active, which the offscreen tests lack, so
    // they listen here.
    void (*accessibilityUpdate)(QAccessibleEvent *event) = &QAccessible::updateAccessibility;
    // The accessible children (chartwidget_accessiblechildren.cpp): one per
    // visible series, and under it one per point, made only when asked for.
    // QAccessible keeps them by id until they are dropped here.
    struct AccessibleChild {
        QAccessible::Id id = 0;
        QAccessibleInterface *iface = nullptr;
    };
    QHash<ChartSeries *, AccessibleChild> accessibleSeries;
    QHash<ChartSeries *, QHash<int, AccessibleChild>> accessiblePoints;
    QList<int> visibleSeriesIds() const;
    QAccessibleInterface *accessibleSeriesAt(int n);
    QAccessibleInterface *accessiblePoint(ChartSeries *series, int row);
    // The walked point's, or else the walked series' child; null for none.
    QAccessibleInterface *accessibleFocus();
    // Drops the children of `series` (its points only with pointsOnly), or
    // of every series for null.
    void dropAccessible(ChartSeries *series, bool pointsOnly = false);
    QString pointText(ChartSeries *series, int row) const;
    static QString axisText(const Axis *axis, double v);
    bool keyboardNavigation = false;
    bool handleDoubleClick(QMouseEvent *event);
    void pushView();
    // After new axis ranges set under the drawing lock: transforms, layout and
    // ticks follow, the lock goes back to `lock`, and the chart renders unless it is set.
    // With transforms false only the axes whose ranges were set have new
    // transforms; the others stay exactly as they were.
    void settleRanges(bool lock, bool transforms = true);
    void clearZoomHistory();
    void showView(const View &view);
    void moveCrosshair(const QPoint &pos, bool inside);
    QRect crosshairArea() const;
    void drawCrosshair(QPainter *painter);
    enum BoxEdge { BoxBottom, BoxLeft, BoxRight, BoxTop, BoxBeside };
    // A crosshair value in a box at the plot's edge (or beside the anchor),
    // in the bottom axis' label font and the palette's colours; the painter
    // must be clipped to the plot.
    void drawValueBox(QPainter *painter, const QString &text, QPoint anchor, BoxEdge edge) const;

    // Items: drawing over the series and dragging their lines.
    void drawItems(QPainter *painter, bool clip);
    void itemChanged(ChartItem *item) override;
    void itemMovableChanged(ChartItem *item) override;
    bool acceptsAxes(const Axis *x, const Axis *y) const override;
    void itemDestroyed(ChartItem *item) override;
    QColor itemForeground() const override;
    // The movable item line within a few pixels of the widget position p,
    // topmost first; null for none.
    ChartItem *itemHandleAt(const QPoint &p, int *handle) const;
    bool handleItemPress(QMouseEvent *event);
    bool handleItemMove(QMouseEvent *event);
    bool handleItemRelease(QMouseEvent *event);
    // Ends a drag; `restore` puts the line back where it was.
    void endItemDrag(bool restore);
    void detachItem(ChartItem *item);
    QPointer<ChartItem> dragItem;
    int dragHandle = -1;
    double dragStart = 0;
    QPoint dragPos; // where the drag was taken
    bool itemCursor = false; // the pointer shows a split cursor over a line

    // Membership of a ChartGroup (chartwidget_link.cpp). linkedLo/linkedHi
    // are the x range last given to or taken from the group; the bands are
    // the group's widest axis bands, 0 outside a group.
    ChartGroup *group = nullptr;
    double linkedLo = qQNaN(), linkedHi = qQNaN();
    double linkedCrosshairX = qQNaN(); // another member's crosshair, NaN for none
    int minLeftBand = 0, minRightBand = 0;
    bool alignRenderPending = false;
    bool visibleX(double &lo, double &hi) const;
    void dataX(double &lo, double &hi);
    void widenXTo(double lo, double hi);
    // Shows the group's range and renders; a range a gesture chose ends
    // automatic scaling as the gesture would have.
    void takeX(double lo, double hi, bool gesture);
    double crosshairX(const QPoint &pos) const;
    void drawLinkedCrosshair(QPainter *painter);
    int leftBand() const;
    int rightBand() const;
    void setBands(int left, int right);
    // Makes the axis show exactly lo..hi, as the zoom history does.
    static void showAxisRange(Axis *axis, double lo, double hi);

    // The fixed ratio of the scales (chartwidget_link.cpp), 0 for none.
    double aspectRatio = 0;
    void keepAspect();
    bool keepAspectOnce();

    // Clicks and hovers on data items.
    ChartHit hitAt(const QPoint &pos) const;
    bool wantsClickHits() const;
    void prepareHitTests();
    void notePress(QMouseEvent *event);
    void reportClick(QMouseEvent *event);
    void reportDoubleClick(QMouseEvent *event);
    void trackHover(const QPoint &pos, bool inside);
    void legendEntryClicked(ChartSeries *series);
    QPoint pressPos;
    Qt::MouseButton pressButton = Qt::NoButton; // none: no press that may be a click
    ChartHit hovered;
    // Selection: rows per series id, ascending; an entry whose series is
    // gone or was replaced under its id is stale and dropped when met.
    struct Selected {
        QPointer<ChartSeries> series;
        QList<int> rows;
    };
    QMap<int, Selected> selection;
    ChartWidget::SelectionMode selectionMode = ChartWidget::smNone;
    bool selectingBand = false;
    void selectAt(const ChartHit &hit, Qt::KeyboardModifiers mods);
    void selectBand(const QRect &band);
    void pruneSelection();
    void seriesRowsRemoved(ChartSeries *series, int count);
    void drawSelection(QPainter *painter);

    void clearRegistry();
    void forceRescale();
    // What a gesture does to automatic scaling: off, remembering that the
    // user, not the host, turned it off.
    void leaveAutoScale();
    // A series' lower bound as its axis takes it: the smallest positive
    // value on a logarithmic axis.
    double lowBound(ChartSeries *series, bool y);

    // Context menu and translation.
    void installTranslator();
    void createActions();
    void setImageActions(bool on);
    QList<QAction *> imageActions;

    // Exports: what they write, and the whole chart painted for the image
    // formats, laid out for `size` (nothing changes on screen).
    ExportTable exportTable() const;
    void paintChart(QPainter *painter, const QSize &size);
    void paintLaidOut(QPainter *painter, const QPoint &legendPos);
    void paintLegend(QPainter *painter, const QPoint &at);

    // Exports and settings; on failure `error` receives a text for the user.
    bool writeCsv(const QString &fileName, QString *error);
    bool writeXml(const QString &fileName, QString *error);
    bool writeSvg(const QString &fileName, QString *error);
    bool writePdf(const QString &fileName, QString *error);
    bool writeImage(const QString &fileName, QString *error);
    bool saveImage(const QString &fileName, const QSize &size, qreal scale, const char *format,
                   int quality, QString *error);
    bool saveSettings(int format, const QString &fileName);
    bool loadSettings(int format, const QString &fileName);

private slots:
    void on_series_cleared();
    void on_series_change_visible(bool vis);
    void on_axis_changed();
    void on_axis_logarithmicChanged();
    void on_refresh_timer_timeout();
    void on_deferred_rescale();
    void on_queued_render();
    void on_align_render();
    void on_context_save_excel();
    void on_context_save_csv();
    void on_context_save_svg();
    void on_context_save_image();
    void on_context_save_pdf();
    void on_context_print();
    void on_context_copy();
};

#endif // CHARTWIDGET_P_H
