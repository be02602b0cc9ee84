// Backend for the new chart widget library (CMake target Tavrin::tavrin).
//
// Built only when the harness is configured with -DTAVRIN_SOURCE_DIR=<checkout>.
//
// replot(): ChartWidget::repaint() re-renders the series layer synchronously
// into the widget's off-screen pixmap and schedules a widget update (title,
// axes, pixmap blit), which the driver's timed processEvents() runs.
//
// This copy differs from the harness's own backend in how data gets in:
//   * setData() hands the arrays over with one addPoints(x, y, n) call into
//     the series before it is registered; the first replot() registers it
//     (the chart fits its axes to the series' bounds and renders once).
//   * the host-buffered live mode (W4) hands each refresh's points over
//     with one addPoints() call instead of one addXY() per point, and ends
//     with one synchronous paint of the widget.
//   * W4 totals include the event loop's cost per event, which is higher
//     in any process holding a scroll area (the legend is one): Qt's
//     gesture manager, created with the first scroll area, then looks at
//     every event. A peer process without one does not pay it.
//
// Notes on how the library must be driven:
//   * With the default refresh timeout (-1) every addXY() that widens the
//     series' bounds renders the whole series layer at once, so a series is
//     filled before it is registered (no owner, no renders); addSeries() then
//     widens the axes to its bounds and renders once.
//   * BarSeries bars are a fixed 15 px wide (no setter); the peers draw bars
//     0.8 x units wide. The W3 rows say so in their extra field.
#include "backend.h"

#include <axes.h>
#include <axis.h>
#include <barseries.h>
#include <chartwidget.h>
#include <lineseries.h>
#include <pointseries.h>

#include <QCoreApplication>
#include <QPointF>
#include <QVector>

namespace bench {
namespace {

const QColor kColor(0, 0, 255);

// Counts renders of the series layer during the live run.
class CountingLineSeries : public LineSeries {
public:
    int draws = 0;
    void draw(QPainter *painter) override
    {
        ++draws;
        LineSeries::draw(painter);
    }
};

class TavrinBackend : public Backend {
public:
    ~TavrinBackend() override { destroyPlot(); }

    QString name() const override { return QStringLiteral("tavrin"); }
    QString version() const override { return QStringLiteral("main"); }

    bool createPlot(const PlotSpec &want, QString *why) override
    {
        destroyPlot();
        if (want.openGL) {
            *why = QStringLiteral("no OpenGL path");
            return false;
        }
        kind = want.kind;
        chart = new ChartWidget;
        chart->resize(want.width, want.height);
        chart->setAntialiasing(want.antialiased);
        series = makeSeries();
        chart->show();
        QCoreApplication::processEvents();
        return true;
    }

    void destroyPlot() override
    {
        pending = false;
        if (series && seriesId == 0)
            delete series;
        delete chart;
        chart = nullptr;
        series = nullptr;
        counting = nullptr;
        seriesId = 0;
        buffer.clear();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QWidget *widget() const override { return chart; }

    void setData(const double *x, const double *y, int n) override
    {
        if (seriesId) {
            chart->removeSeries(seriesId);
            seriesId = 0;
            series = makeSeries();
        }
        // A series outside a chart stores the block and its bounds and
        // nothing else; the chart takes it, and fits its axes to those
        // bounds, at the next replot (as Qwt autoscales in replot()).
        series->addPoints(x, y, n);
        pending = true;
    }

    void replot() override
    {
        if (!attach())
            chart->repaint();
    }

    // Registers a series filled by setData(); true when that rendered.
    bool attach()
    {
        if (!pending)
            return false;
        pending = false;
        chart->setDrawingLock(true);
        seriesId = chart->addSeries(series);
        chart->setDrawingLock(false);
        return true;
    }

    bool beginLive(LiveMode mode, int refreshMs, QString *) override
    {
        live = mode;
        seriesId = chart->addSeries(series);
        if (mode == LiveMode::PerPoint)
            chart->setRefreshTimeout(refreshMs);
        if (counting)
            counting->draws = 0;
        return true;
    }

    bool ownsRefreshTimer() const override { return live == LiveMode::PerPoint; }

    void appendPoint(double x, double y) override
    {
        if (live == LiveMode::PerPoint)
            series->addXY(x, y);
        else
            buffer.append(QPointF(x, y));
    }

    // One block per refresh; releasing the lock renders once.
    void liveReplot() override
    {
        chart->setDrawingLock(true);
        series->addPoints(buffer);
        buffer.resize(0);
        chart->setDrawingLock(false);
    }

    // The last points drawn and on screen before returning, as the peers'
    // immediate replots are.
    void finishLive() override
    {
        if (live == LiveMode::PerPoint) {
            chart->setRefreshTimeout(-1);
            QCoreApplication::processEvents();
        } else {
            liveReplot();
        }
        chart->QWidget::repaint();
    }

    int liveRenderCount() const override { return counting ? counting->draws : -1; }

    void pan(double dxPixels) override
    {
        attach();
        if (chart->autoScale())
            chart->setAutoScale(false);
        Axis *bx = chart->axes()->bottom();
        bx->shift(bx->pixelDeltaToPoint(dxPixels));
        chart->axes()->updateTransformData();
        chart->repaint();
    }

private:
    ChartSeries *makeSeries()
    {
        ChartSeries *s = nullptr;
        counting = nullptr;
        switch (kind) {
        case SeriesKind::Line:
            s = counting = new CountingLineSeries;
            break;
        case SeriesKind::Scatter:
            s = new PointSeries(PointSeries::psCircle);
            break;
        case SeriesKind::Bars:
            s = new BarSeries;
            break;
        }
        s->setColor(kColor);
        s->setFillColor(kColor);
        return s;
    }

    ChartWidget *chart = nullptr;
    ChartSeries *series = nullptr;
    CountingLineSeries *counting = nullptr;
    int seriesId = 0;
    SeriesKind kind = SeriesKind::Line;
    LiveMode live = LiveMode::PerPoint;
    QVector<QPointF> buffer;
    bool pending = false;
};

} // namespace

Backend *createBackend() { return new TavrinBackend; }

} // namespace bench
