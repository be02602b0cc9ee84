#ifndef CHARTWIDGET_P_H
#define CHARTWIDGET_P_H

#include "chartwidget.h"

#include "axes.h"
#include "chartseriesowner_p.h"
#include "legend.h"
#include "legendowner_p.h"

#include <QMap>
#include <QMargins>
#include <QObject>
#include <QPixmap>
#include <QRect>
#include <QTimer>

class QHelpEvent;
class QIODevice;
class QMouseEvent;
class QPainter;
class VLine;

class ChartWidgetPrivate : public QObject, public ChartSeriesOwner, public LegendOwner
{
    Q_OBJECT
public:
    explicit ChartWidgetPrivate(ChartWidget *q);
    ~ChartWidgetPrivate() override;

    QMap<int, ChartSeries *> seriesMap;
    QMap<int, VLine *> vlineMap;
    QPixmap pixmap;
    QRect plotRect;
    QMargins margins{5, 5, 5, 5};
    QRect zoomRect;
    bool zooming = false;
    bool panning = false;
    QPoint lastPanPos;
    bool autoScale = true;
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

    // Rendering and layout. updatePlotArea() returns whether it rendered
    // the series layer (it does when the plot size changed).
    bool updatePlotArea() override;
    void drawTitleAndAxes(QPainter *painter);
    void drawSeries(QPainter *painter, bool vector);
    void handlePaint();
    void handleResize();

    // Series hooks.
    void seriesBoundsChanged(double x, double y) override;
    void scheduleRefresh() override;
    void seriesBlockBoundsChanged(double minX, double minY, double maxX, double maxY) override;
    void seriesBoundsShrunk() override;

    // Legend hooks.
    QString legendTitle() const override { return title; }
    QFont legendTitleFont() const override { return titleFont; }

    // Mouse interaction; each returns whether the event was consumed.
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool handleMousePress(QMouseEvent *event);
    bool handleMouseMove(QMouseEvent *event);
    bool handleMouseRelease(QMouseEvent *event);
    bool handleToolTip(QHelpEvent *event);
    void updateSelectionFrame();
    void zoomTo(const QRect &band);

    void clearRegistry();
    void forceRescale();

    // Context menu and translation.
    void installTranslator();
    void createActions();

    // Exports and settings; on failure `error` receives a text for the user.
    bool writeCsv(const QString &fileName, QString *error);
    bool writeXml(const QString &fileName, QString *error);
    bool writeSvg(const QString &fileName, QString *error);
    bool saveSettings(int format, const QString &fileName);
    bool loadSettings(int format, const QString &fileName);

private slots:
    void on_series_cleared();
    void on_series_change_visible(bool vis);
    void on_axis_changed();
    void on_refresh_timer_timeout();
    void on_context_save_excel();
    void on_context_save_csv();
    void on_context_save_svg();
};

#endif // CHARTWIDGET_P_H
