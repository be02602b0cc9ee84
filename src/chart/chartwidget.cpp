#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "chartseries.h"
#include "chartitem.h"
#include "chartitem_p.h"
#include "chartgroup.h"
#include "chartseries_p.h"
#include "legend_p.h"
#include "vline.h"

#include <QEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMetaType>
#include <QWheelEvent>

// The settings file's version string; set when the library is loaded.
QString ChartWidget::chartVersion = QStringLiteral("tn 1.0");

ChartWidgetPrivate::ChartWidgetPrivate(ChartWidget *widget)
    : QObject(nullptr),
      axes(this),
      legend(widget),
      titleFont(QStringLiteral("Arial"), 8),
      q(widget)
{
    legend.d->owner = this;
    Q_INIT_RESOURCE(tavrin);
    connect(&refreshTimer, SIGNAL(timeout()), this, SLOT(on_refresh_timer_timeout()));
    announceTimer.setSingleShot(true);
    connect(&announceTimer, &QTimer::timeout, this, &ChartWidgetPrivate::sendAnnouncement);
    installTranslator();
    createActions();
}

ChartWidgetPrivate::~ChartWidgetPrivate()
{
    clearRegistry();
    legend.d->owner = nullptr;
}

ChartWidget::ChartWidget(QWidget *parent)
    : QWidget(parent), d(nullptr)
{
    qRegisterMetaType<ChartWidget::Theme>();
    ChartWidgetPrivate::installAccessibility();
    d = new ChartWidgetPrivate(this);
    installEventFilter(d);
    connect(&d->legend, &Legend::entryClicked, d, &ChartWidgetPrivate::legendEntryClicked);
}

ChartWidget::~ChartWidget()
{
    if (d->group)
        d->group->removeChart(this);
    removeEventFilter(d);
    delete d;
    d = nullptr;
}

bool ChartWidgetPrivate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != q && !(dragItem && event->type() == QEvent::KeyPress))
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return handleMousePress(static_cast<QMouseEvent *>(event));
    case QEvent::MouseButtonRelease: {
        const bool handled = handleMouseRelease(static_cast<QMouseEvent *>(event));
        reportClick(static_cast<QMouseEvent *>(event));
        return handled;
    }
    case QEvent::MouseMove:
        return handleMouseMove(static_cast<QMouseEvent *>(event));
    case QEvent::Paint:
        handlePaint();
        return true;
    case QEvent::Resize:
        handleResize();
        return true;
    case QEvent::ToolTip:
        return handleToolTip(static_cast<QHelpEvent *>(event));
    case QEvent::Wheel:
        return handleWheel(static_cast<QWheelEvent *>(event));
    case QEvent::MouseButtonDblClick:
        reportDoubleClick(static_cast<QMouseEvent *>(event));
        return handleDoubleClick(static_cast<QMouseEvent *>(event));
    case QEvent::KeyPress:
        // Escape during a drag puts the dragged line back.
        if (dragItem && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            endItemDrag(true);
            return true;
        }
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && selectionMode != ChartWidget::smNone
            && !selection.isEmpty()) {
            q->clearSelection();
            return true;
        }
        if (handleKey(static_cast<QKeyEvent *>(event)))
            return true;
        return QObject::eventFilter(watched, event);
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        if (keyboardNavigation)
            q->update();
        return QObject::eventFilter(watched, event);
    case QEvent::Leave:
        moveCrosshair(QPoint(), false);
        trackHover(QPoint(), false);
        return QObject::eventFilter(watched, event);
    default:
        return QObject::eventFilter(watched, event);
    }
}

QObject *ChartWidget::createObject(const char *object_name)
{
    if (!object_name)
        return nullptr;
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QMetaType type = QMetaType::fromName(object_name);
#else
    const QMetaType type(QMetaType::type(object_name));
#endif
    if (!type.isValid())
        return nullptr;
    // Only classes the host registered can be QObjects: built-in types and
    // pointer types (which would give a null pointer's storage) are refused,
    // and so are gadgets, whose meta-object says they are no QObject.
    if (type.id() < QMetaType::User || (type.flags() & QMetaType::PointerToQObject))
        return nullptr;
    const QMetaObject *mo = type.metaObject();
    if (mo && !mo->inherits(&QObject::staticMetaObject))
        return nullptr;
    return static_cast<QObject *>(type.create());
}

int ChartWidget::addSeries(ChartSeries *series)
{
    if (!series)
        return 0;
    for (auto it = d->seriesMap.cbegin(); it != d->seriesMap.cend(); ++it)
        if (it.value() == series)
            return it.key();
    int id = 1;
    while (d->seriesMap.contains(id))
        ++id;
    addSeries(series, id);
    return id;
}

void ChartWidget::addSeries(ChartSeries *series, int id)
{
    if (!series || d->seriesMap.contains(id))
        return;
    series->d->owner = d;
    if (series->d->autoColor) {
        const QColor c = d->takeAutoColor();
        series->setColor(c);
        series->setFillColor(c);
        d->autoColors.insert(series, c);
    }
    // A series put on this chart's right or top axis beforehand stays there.
    Axis *y = series->yAxis() == d->axes.right() ? d->axes.right() : d->axes.left();
    Axis *x = series->xAxis() == d->axes.top() ? d->axes.top() : d->axes.bottom();
    series->setAxis(x, y);
    if (series->name().isEmpty())
        series->setName(tr("Series %1").arg(id));
    d->legend.addSeries(series);
    const bool wasPies = d->partsOfWholeOnly();
    d->seriesMap.insert(id, series);

    const bool lock = d->drawingLock;
    d->drawingLock = true;
    if (d->autoScale) {
        d->widenAxes(series, d->lowBound(series, false), d->lowBound(series, true));
        d->widenAxes(series, series->maxX(), series->maxY());
        d->updatePlotArea();
        d->axes.updateTransformData();
    } else if (y == d->axes.right() || x == d->axes.top() || wasPies != d->partsOfWholeOnly()
               || series->type() == ChartSeries::stColorMap) {
        d->updatePlotArea(); // a right or top axis' or the colour scale's band appears, or all axes go
    }
    connect(series, SIGNAL(cleared()), d, SLOT(on_series_cleared()));
    connect(series, SIGNAL(refresh()), this, SLOT(repaint()));
    connect(series, SIGNAL(visible(bool)), d, SLOT(on_series_change_visible(bool)));
    connect(series, &ChartSeries::pointsRemoved, d, [this, series](int n) { d->seriesRowsRemoved(series, n); });
    connect(series, &ChartSeries::cleared, d, [this, series] { d->seriesRowsRemoved(series, -1); });
    d->drawingLock = lock;
    if (!d->drawingLock)
        repaint();
}

int ChartWidget::addVLine(VLine *vline)
{
    if (!vline)
        return 0;
    int id = 1;
    while (d->vlineMap.contains(id))
        ++id;
    vline->setAxis(d->axes.bottom(), d->axes.left());
    d->vlineMap.insert(id, vline);
    const bool lock = d->drawingLock;
    d->drawingLock = true;
    if (d->autoScale)
        d->axes.bottom()->update(vline->x());
    d->drawingLock = lock;
    if (!d->drawingLock)
        repaint();
    return id;
}

bool ChartWidget::removeVLine(int vlineId)
{
    VLine *vline = d->vlineMap.take(vlineId);
    if (!vline)
        return false;
    delete vline;
    if (d->autoScale)
        d->forceRescale();
    else if (!d->drawingLock)
        repaint();
    return true;
}

// Detaches a series from this chart, so that nothing it does before its
// deferred deletion reaches the chart any more.
static void detachSeries(ChartSeries *series, ChartWidgetPrivate *chart)
{
    if (series->d->owner == chart)
        series->d->owner = nullptr;
    QObject::disconnect(series, nullptr, chart, nullptr);
    QObject::disconnect(series, nullptr, chart->q, nullptr);
    QObject::disconnect(series, nullptr, chart->legend.d, nullptr);
}

void ChartWidget::removeSeries(int seriesId)
{
    auto it = d->seriesMap.find(seriesId);
    const bool wasPies = d->partsOfWholeOnly();
    bool wasRight = false;
    if (it != d->seriesMap.end()) {
        ChartSeries *series = it.value();
        wasRight = series && (series->yAxis() == d->axes.right() || series->xAxis() == d->axes.top()
                              || series->type() == ChartSeries::stColorMap);
        d->seriesMap.erase(it);
        d->autoColors.remove(series);
        d->dropAccessible(series);
        if (series) {
            d->legend.removeSeries(series);
            detachSeries(series, d);
            // Called from within one of the series' own calls (a receiver
            // of its signals), it goes once that call has returned.
            if (series->d->busy)
                series->deleteLater();
            else
                delete series;
        }
    }
    if (!d->seriesMap.isEmpty() && d->autoScale) {
        d->forceRescale();
    } else if ((wasRight || wasPies != d->partsOfWholeOnly()) && d->updatePlotArea()) {
        // The right axis' band, or all axes, may have gone or come back,
        // and the layout rendered.
    } else if (!d->drawingLock) {
        // Without a rescale nothing else would take the removed series off
        // the screen.
        repaint();
    }
}

void ChartWidgetPrivate::clearRegistry()
{
    if (refreshTimer.isActive())
        refreshTimer.stop();
    autoColors.clear();
    dropAccessible(nullptr);
    while (!seriesMap.isEmpty()) {
        ChartSeries *series = seriesMap.take(seriesMap.firstKey());
        if (series) {
            detachSeries(series, this);
            series->deleteLater();
        }
    }
    if (dragItem)
        endItemDrag(false);
    while (!itemList.isEmpty()) {
        ChartItem *item = itemList.takeFirst();
        detachItem(item);
        item->deleteLater();
    }
    while (!vlineMap.isEmpty()) {
        VLine *line = vlineMap.take(vlineMap.firstKey());
        if (line) {
            line->setAxis(nullptr, nullptr);
            line->deleteLater();
        }
    }
}

void ChartWidget::clear()
{
    d->clearRegistry();
    // The views of the removed data go with it; a host's own choice of
    // manual scaling stays.
    d->clearZoomHistory();
    if (d->gestureView) {
        d->gestureView = false;
        d->autoScale = true;
    }
    const bool lock = d->drawingLock;
    d->drawingLock = true;
    d->colorIndex = 7;
    d->paletteIndex = 0;
    d->axes.reset();
    d->legend.d->clear();
    d->axes.adjust();
    d->updatePlotArea();
    d->drawingLock = lock;
    if (!d->drawingLock)
        repaint();
}

ChartSeries *ChartWidget::series(int seriesId) const
{
    return d->seriesMap.value(seriesId, nullptr);
}

QList<ChartSeries *> ChartWidget::seriesList() const
{
    return d->seriesMap.values();
}

Axes *ChartWidget::axes() const
{
    return &d->axes;
}

Legend *ChartWidget::legend() const
{
    return &d->legend;
}

QString ChartWidget::title() const
{
    return d->title;
}

void ChartWidget::setTitle(const QString &title)
{
    d->title = title;
    if (!d->drawingLock)
        d->updatePlotArea();
}

QFont ChartWidget::titleFont() const
{
    return d->titleFont;
}

bool ChartWidget::autoScale() const
{
    return d->autoScale;
}

bool ChartWidget::drawingLock() const
{
    return d->drawingLock;
}

void ChartWidget::setAntialiasing(bool on)
{
    d->antialiasing = on;
}

void ChartWidget::enableTooltip(bool on)
{
    d->tooltipEnabled = on;
    for (ChartSeries *series : qAsConst(d->seriesMap))
        if (series)
            series->enableTooltip(on);
}

bool ChartWidget::tooltipEnabled() const
{
    return d->tooltipEnabled;
}

int ChartWidget::refreshTimeout() const
{
    return d->refreshTimeout;
}
