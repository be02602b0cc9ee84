#include "legend.h"
#include "legend_p.h"

#include "chartseries.h"

#include <QBoxLayout>
#include <QChildEvent>
#include <QCoreApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QPointer>
#include <QScrollBar>
#include <QThread>

namespace {

const char kSeriesProperty[] = "series name";

bool isSidePlacement(int p) { return p >= Legend::plRight && p <= Legend::plLeftInverted; }
bool isTopBottomPlacement(int p) { return p >= Legend::plTop && p <= Legend::plBottomInverted; }

bool isColumnPlacement(int p)
{
    return p == Legend::plRight || p == Legend::plLeft || p == Legend::plTopInverted
        || p == Legend::plBottomInverted;
}

bool isRowPlacement(int p)
{
    return p == Legend::plRightInverted || p == Legend::plLeftInverted || p == Legend::plTop
        || p == Legend::plBottom;
}

// The hand-over event carries its own semaphore, so each worker waits for
// its own check box and not for whichever hand-over finished first. The
// release sits in the destructor: an event discarded because the legend went
// away still lets its worker go instead of blocking it for ever.
class HandOverEvent : public QChildEvent
{
public:
    HandOverEvent(int type, ChartSeries *series, QSemaphore *done)
        : QChildEvent(QEvent::Type(type), series), done(done)
    {
    }
    ~HandOverEvent() override { done->release(1); }
    QSemaphore *done;
};

QVariant seriesVariant(ChartSeries *series)
{
    return QVariant::fromValue(series);
}

ChartSeries *seriesFromVariant(const QVariant &v)
{
    QObject *obj = nullptr;
    if (v.canConvert<QObject *>())
        obj = v.value<QObject *>();
    if (!obj && v.canConvert<ChartSeries *>())
        obj = v.value<ChartSeries *>();
    return qobject_cast<ChartSeries *>(obj);
}

} // namespace

LegendPrivate::LegendPrivate(Legend *legend)
    : QObject(nullptr), q(legend), semaphore(0), eventType(QEvent::registerEventType(-1))
{
    qRegisterMetaType<ChartSeries *>("ChartSeries*");
}

LegendPrivate::~LegendPrivate() = default;

Legend::Legend(QWidget *parent)
    : QScrollArea(parent), d(new LegendPrivate(this))
{
    setVisible(false);
    setWidget(new QWidget);
    setWidgetResizable(true);
    d->placement = -1;
    setPlacement(plRight);
}

Legend::Legend(const Legend &other)
    : QScrollArea(other.parentWidget()), d(new LegendPrivate(this))
{
    // A copy is a working, empty legend of its own, in the same parent. It
    // takes no owner: the chart lays out around its own legend only, and a
    // borrowed owner pointer would outlive the chart that set it.
    setVisible(false);
    setWidget(new QWidget);
    setWidgetResizable(true);
    d->placement = -1;
    setPlacement(other.placement());
}

Legend::~Legend()
{
    delete d;
    d = nullptr;
}

void LegendPrivate::requestPlotAreaUpdate()
{
    if (owner)
        owner->updatePlotArea();
}

void LegendPrivate::installLayout()
{
    QLayout *layout;
    if (isColumnPlacement(placement))
        layout = new QVBoxLayout;
    else if (isRowPlacement(placement))
        layout = new QHBoxLayout;
    else
        layout = new QGridLayout;
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    q->widget()->setLayout(layout);
}

void Legend::setPlacement(Placement placement)
{
    if (placement == d->placement)
        return;
    d->placement = placement;
    QWidget *content = widget();
    QLayout *old = content->layout();
    if (!old) {
        d->installLayout();
        return;
    }
    QList<QWidget *> widgets;
    const int n = old->count();
    for (int i = 0; i < n; ++i) {
        QLayoutItem *item = old->takeAt(0);
        if (!item)
            break;
        if (item->widget())
            widgets.append(item->widget());
        delete item;
    }
    delete old;
    d->installLayout();
    for (QWidget *w : qAsConst(widgets))
        content->layout()->addWidget(w);
    d->adjustGeometry();
    d->requestPlotAreaUpdate();
}

Legend::Placement Legend::placement() const
{
    return Placement(d->placement);
}

void Legend::setVisible(bool visible)
{
    if (d) {
        // The plot area goes by the flag, so a change of the flag alone (the
        // chart itself hidden) needs the update as well.
        const bool flagChanged = d->visible != visible;
        d->visible = visible;
        if (flagChanged || isVisible() != visible)
            d->requestPlotAreaUpdate();
    }
    QScrollArea::setVisible(visible);
}

QCheckBox *LegendPrivate::createCheckBox(ChartSeries *series)
{
    auto *box = new QCheckBox(series->name(), q);
    box->setChecked(series->isVisible());
    box->setProperty(kSeriesProperty, seriesVariant(series));
    box->setIcon(series->icon(box->height()));
    box->adjustSize();
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(box, SIGNAL(toggled(bool)), this, SLOT(on_series_change_visible(bool)));
    connect(series, SIGNAL(nameChanged()), this, SLOT(on_series_name_changed()));
    connect(series, SIGNAL(visible(bool)), box, SLOT(setChecked(bool)));
    // A box must not outlive its series: its property would point at freed
    // memory and the next click would use it.
    connect(series, &QObject::destroyed, box, [box] {
        box->setProperty(kSeriesProperty, QVariant());
        box->hide();
        box->deleteLater();
    });
    return box;
}

ChartSeries *LegendPrivate::seriesOfBox(const QObject *box)
{
    return box ? seriesFromVariant(box->property(kSeriesProperty)) : nullptr;
}

void Legend::addSeries(ChartSeries *series)
{
    if (!series || !series->isLegendVisible())
        return;
    QCoreApplication *app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        // Widgets live on the GUI thread: hand the series over and wait
        // until its check box exists.
        QSemaphore done(0);
        QCoreApplication::postEvent(d, new HandOverEvent(d->eventType, series, &done),
                                    Qt::NormalEventPriority);
        done.acquire(1);
        return;
    }
    QCheckBox *box = d->createCheckBox(series);
    if (QLayout *layout = widget()->layout())
        layout->addWidget(box);
    d->adjustGeometry();
}

bool LegendPrivate::event(QEvent *e)
{
    if (e->type() == eventType) {
        auto *ce = static_cast<QChildEvent *>(e);
        q->addSeries(qobject_cast<ChartSeries *>(ce->child()));
        // A hand-over of our own releases its worker when it is deleted.
        if (!dynamic_cast<HandOverEvent *>(ce))
            semaphore.release(1);
    }
    return QObject::event(e);
}

void Legend::removeSeries(ChartSeries *series)
{
    QLayout *layout = widget()->layout();
    if (!layout)
        return;
    const QVariant key = seriesVariant(series);
    for (int i = layout->count() - 1; i >= 0; --i) {
        QLayoutItem *item = layout->itemAt(i);
        QWidget *w = item ? item->widget() : nullptr;
        if (w && w->property(kSeriesProperty) == key) {
            layout->removeWidget(w);
            // The box may be in the middle of its own click: a host that
            // removes a series when it is hidden gets here from the toggle.
            w->setProperty(kSeriesProperty, QVariant());
            w->hide();
            w->deleteLater();
            return;
        }
    }
}

void LegendPrivate::on_series_change_visible(bool on)
{
    const QPointer<QCheckBox> box = qobject_cast<QCheckBox *>(sender());
    if (!box)
        return;
    ChartSeries *series = seriesFromVariant(box->property(kSeriesProperty));
    if (!series)
        return;
    series->setVisible(on);
    // The host's handlers of the change may have removed the series and
    // its box.
    if (box)
        box->setChecked(on);
}

void LegendPrivate::on_series_name_changed()
{
    auto *series = qobject_cast<ChartSeries *>(sender());
    if (!series)
        return;
    const QList<QCheckBox *> boxes = q->findChildren<QCheckBox *>();
    for (QCheckBox *box : boxes) {
        if (seriesFromVariant(box->property(kSeriesProperty)) == series) {
            box->setText(series->name());
            return;
        }
    }
}

// Icons follow the series' colours and sizes follow the font; both can
// change after the boxes were made.
void LegendPrivate::refreshBoxes()
{
    const QList<QCheckBox *> boxes = q->findChildren<QCheckBox *>();
    for (QCheckBox *box : boxes) {
        if (ChartSeries *series = seriesFromVariant(box->property(kSeriesProperty))) {
            // Drawn at the size the box's first icon had, so the look
            // only changes where the colour did.
            const QList<QSize> sizes = box->icon().availableSizes();
            box->setIcon(series->icon(sizes.isEmpty() ? box->height() : sizes.first().height()));
        }
        box->adjustSize();
    }
    adjustGeometry();
}

void LegendPrivate::adjustGeometry()
{
    // Without a parent there is no chart to fit in: no limits, no position.
    QWidget *chart = q->parentWidget();
    const int W = chart ? chart->width() : 0;
    const int H = chart ? chart->height() : 0;

    int w = 50;
    int h = 20;
    if (QLayout *layout = q->widget()->layout()) {
        const int s = layout->spacing();
        const bool column = isColumnPlacement(placement);
        const bool row = isRowPlacement(placement);
        for (int i = 0; i < layout->count(); ++i) {
            QWidget *iw = layout->itemAt(i)->widget();
            if (!iw)
                continue;
            if (column) {
                w = qMax(w, iw->width());
                h += iw->height() + s;
            } else if (row) {
                h = qMax(h, iw->height());
                w += iw->width() + s;
            }
        }
        const int margin = layout->contentsMargins().left();
        w += 2 * (margin + s);
        h += 2 * (margin + s);

        int wmax = 0;
        int hmax = 0;
        if (chart && isSidePlacement(placement)) {
            wmax = (3 * W) / 10;
            hmax = H - 30;
        } else if (chart && isTopBottomPlacement(placement)) {
            wmax = W - 30;
            hmax = (3 * H) / 10;
        }
        if (wmax != 0 && w > wmax) {
            w = wmax;
            h += q->horizontalScrollBar()->sizeHint().height();
        }
        if (hmax != 0 && h > hmax) {
            h = hmax;
            w += q->verticalScrollBar()->sizeHint().width();
        }
        const QMargins cm = q->contentsMargins();
        w += cm.left() + cm.right();
        h += cm.top() + cm.bottom();
        // A chart lower than 30 pixels gives a negative limit; a widget
        // cannot be smaller than empty.
        w = qMax(w, 0);
        h = qMax(h, 0);
    }

    QRect g = q->geometry();
    const bool widthChanged = w != g.width();
    const bool heightChanged = h != g.height();
    if (widthChanged)
        g.setWidth(w);
    if (heightChanged)
        g.setHeight(h);
    if (widthChanged || heightChanged) {
        q->setGeometry(g);
        if ((widthChanged && isSidePlacement(placement))
            || (heightChanged && isTopBottomPlacement(placement)))
            requestPlotAreaUpdate();
    }

    if (chart)
        q->move(positionIn(QSize(W, H)));
}

QPoint LegendPrivate::positionIn(const QSize &chart) const
{
    const int W = chart.width();
    const int H = chart.height();
    const int lw = q->width();
    const int lh = q->height();
    switch (placement) {
    case Legend::plRight:
    case Legend::plRightInverted:
        return QPoint((W - 1) - lw, (H - lh) / 2);
    case Legend::plLeft:
    case Legend::plLeftInverted:
        return QPoint(0, (H - lh) / 2);
    case Legend::plTop:
    case Legend::plTopInverted: {
        int y = 0;
        if (owner && !owner->legendTitle().isEmpty())
            y = QFontMetrics(owner->legendTitleFont()).height();
        return QPoint((W - lw) / 2, y);
    }
    case Legend::plBottom:
    case Legend::plBottomInverted:
        return QPoint((W - lw) / 2, (H - 1) - lh);
    default:
        return q->pos();
    }
}

void LegendPrivate::clear()
{
    QLayout *layout = q->widget()->layout();
    if (!layout)
        return;
    while (QLayoutItem *item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    delete layout;
    adjustGeometry();
    installLayout();
}
