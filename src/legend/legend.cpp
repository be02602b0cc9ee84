#include "legend.h"
#include "legend_p.h"

#include "chartseries.h"
#include "pieseries.h"

#include <QApplication>
#include <QBoxLayout>
#include <QChildEvent>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QThread>

namespace {

const char kSeriesProperty[] = "series name";
// The index of the slice a pie's entry stands for; absent on a series' box.
const char kSliceProperty[] = "slice index";
// A pie of thousands of slices lists its first ones; the rest are drawn
// and exported but have no entry, which would make a legend of widgets
// too slow to build.
const int kMaxSliceEntries = 100;
// Entries of long slice labels are elided to this width in pixels.
const int kSliceTextWidth = 150;

// An inset legend's distance from the plot's edges.
const int kInsetGap = 6;

bool isSidePlacement(int p) { return p >= Legend::plRight && p <= Legend::plLeftInverted; }
bool isTopBottomPlacement(int p) { return p >= Legend::plTop && p <= Legend::plBottomInverted; }
bool isInsetPlacement(int p) { return p >= Legend::plInsetTopRight && p <= Legend::plInsetBottomLeft; }

bool isColumnPlacement(int p)
{
    return p == Legend::plRight || p == Legend::plLeft || p == Legend::plTopInverted
        || p == Legend::plBottomInverted || isInsetPlacement(p);
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

// The application's style without its style sheet. An application style
// sheet wraps the style in its own and keeps it as its child.
QStyle *applicationStyle()
{
    QStyle *style = QApplication::style();
    if (!style || !style->inherits("QStyleSheetStyle"))
        return style;
    const QList<QStyle *> inner = style->findChildren<QStyle *>(QString(), Qt::FindDirectChildrenOnly);
    for (QStyle *s : inner)
        if (!s->inherits("QStyleSheetStyle"))
            return s;
    return nullptr;
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
    const bool wasInset = d->isInset();
    d->placement = placement;
    if (wasInset != d->isInset())
        d->updateFrame(wasInset);
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

bool LegendPrivate::isInset() const
{
    return isInsetPlacement(placement);
}

void LegendPrivate::updateFrame(bool wasInset)
{
    QWidget *content = q->widget();
    if (!wasInset) {
        outsideLook = {q->frameStyle(), q->lineWidth(), q->viewport()->autoFillBackground(),
                       content && content->autoFillBackground()};
    }
    if (isInset()) {
        // The border is painted by event(); as the frame it keeps the
        // viewport off it.
        q->setFrameStyle(insetBorderWidth > 0 ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
        q->setLineWidth(insetBorderWidth);
        q->viewport()->setAutoFillBackground(false);
        if (content)
            content->setAutoFillBackground(false);
    } else {
        q->setFrameStyle(outsideLook.frameStyle);
        q->setLineWidth(outsideLook.lineWidth);
        q->viewport()->setAutoFillBackground(outsideLook.viewportFill);
        if (content)
            content->setAutoFillBackground(outsideLook.contentFill);
    }
}

void LegendPrivate::paintInsetBox(QPainter *painter) const
{
    const QPalette &palette = q->palette();
    QColor fill = insetBackground;
    if (!fill.isValid()) {
        fill = palette.color(QPalette::Base);
        fill.setAlphaF(0.8);
    }
    QColor edge = insetBorderColor;
    if (!edge.isValid()) {
        edge = palette.color(QPalette::WindowText);
        edge.setAlphaF(0.4);
    }
    // Filled as strips, not stroked, so that no pixel is covered twice and
    // a translucent border stays even.
    const QRect r = q->rect();
    const int b = qBound(0, insetBorderWidth, qMin(r.width(), r.height()) / 2);
    painter->fillRect(r.adjusted(b, b, -b, -b), fill);
    if (b > 0) {
        painter->fillRect(QRect(r.left(), r.top(), r.width(), b), edge);
        painter->fillRect(QRect(r.left(), r.bottom() - b + 1, r.width(), b), edge);
        painter->fillRect(QRect(r.left(), r.top() + b, b, r.height() - 2 * b), edge);
        painter->fillRect(QRect(r.right() - b + 1, r.top() + b, b, r.height() - 2 * b), edge);
    }
}

bool Legend::event(QEvent *event)
{
    if (event->type() == QEvent::Paint && d && d->isInset()) {
        QPainter painter(this);
        d->paintInsetBox(&painter);
        return true;
    }
    return QScrollArea::event(event);
}

void LegendPrivate::followPlotArea()
{
    if (isInset())
        adjustGeometry();
}

QColor Legend::insetBackground() const
{
    return d->insetBackground;
}

void Legend::setInsetBackground(const QColor &color)
{
    if (d->insetBackground == color)
        return;
    d->insetBackground = color;
    update();
    emit insetBackgroundChanged(color);
}

QColor Legend::insetBorderColor() const
{
    return d->insetBorderColor;
}

void Legend::setInsetBorderColor(const QColor &color)
{
    if (d->insetBorderColor == color)
        return;
    d->insetBorderColor = color;
    update();
    emit insetBorderColorChanged(color);
}

int Legend::insetBorderWidth() const
{
    return d->insetBorderWidth;
}

void Legend::setInsetBorderWidth(int width)
{
    width = qMax(width, 0);
    if (d->insetBorderWidth == width)
        return;
    d->insetBorderWidth = width;
    if (d->isInset()) {
        d->updateFrame(true);
        d->adjustGeometry();
        update();
    }
    emit insetBorderWidthChanged(width);
}

bool Legend::textInSeriesColor() const
{
    return d->textInSeriesColor;
}

void Legend::setTextInSeriesColor(bool on)
{
    if (d->textInSeriesColor == on)
        return;
    d->textInSeriesColor = on;
    for (QCheckBox *box : widget()->findChildren<QCheckBox *>())
        box->update();
    emit textInSeriesColorChanged(on);
}

LegendEntry::LegendEntry(const QString &text, LegendPrivate *legend)
    : QCheckBox(text, legend->q), legend(legend)
{
}

QStyle *LegendEntry::sheetFreeStyle() const
{
    if (!style()->inherits("QStyleSheetStyle"))
        return nullptr;
    return applicationStyle();
}

QFont LegendEntry::entryFont() const
{
    // A style sheet may have given the box a font of its own; the legend's
    // is the one ChartWidget::setLegendFont() set.
    if (!sheetFreeStyle())
        return font();
    // Marked as set in full, or a painter on the box would take the unset
    // parts from the box's own font.
    QFont f = legend->q->font();
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    f.setResolveMask(QFont::AllPropertiesResolved);
#else
    f.resolve(QFont::AllPropertiesResolved);
#endif
    return f;
}

void LegendEntry::adjustOption(QStyleOptionButton *option) const
{
    if (QStyle *style = sheetFreeStyle()) {
        option->palette = legend->q->palette();
        option->fontMetrics = QFontMetrics(legend->q->font());
        const int icon = style->pixelMetric(QStyle::PM_ButtonIconSize, nullptr, this);
        option->iconSize = QSize(icon, icon);
    }
    if (legend->textInSeriesColor) {
        if (ChartSeries *series = LegendPrivate::seriesOfBox(this)) {
            const QVariant slice = property(kSliceProperty);
            const QColor c = slice.isValid() ? static_cast<PieSeries *>(series)->sliceColor(slice.toInt())
                                             : series->color();
            option->palette.setColor(QPalette::Active, QPalette::WindowText, c);
            option->palette.setColor(QPalette::Inactive, QPalette::WindowText, c);
        }
    }
}

QSize LegendEntry::sizeHint() const
{
    QStyle *style = sheetFreeStyle();
    if (!style)
        return QCheckBox::sizeHint();
    // As QCheckBox measures itself, with the style and font it is drawn in.
    QStyleOptionButton option;
    initStyleOption(&option);
    adjustOption(&option);
    const QFontMetrics metrics(entryFont());
    QSize size = style->itemTextRect(metrics, QRect(), Qt::TextShowMnemonic, false, text()).size();
    if (!option.icon.isNull())
        size = QSize(size.width() + option.iconSize.width() + 4,
                     qMax(size.height(), option.iconSize.height()));
    return style->sizeFromContents(QStyle::CT_CheckBox, &option, size, this);
}

QSize LegendEntry::minimumSizeHint() const
{
    return sheetFreeStyle() ? sizeHint() : QCheckBox::minimumSizeHint();
}

void LegendEntry::paintEvent(QPaintEvent *event)
{
    QStyle *style = sheetFreeStyle();
    if (!style && !legend->textInSeriesColor) {
        QCheckBox::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    adjustOption(&option);
    painter.setFont(entryFont());
    (style ? style : this->style())->drawControl(QStyle::CE_CheckBox, &option, &painter, this);
}

bool LegendEntry::hitButton(const QPoint &pos) const
{
    QStyle *style = sheetFreeStyle();
    if (!style)
        return QCheckBox::hitButton(pos);
    QStyleOptionButton option;
    initStyleOption(&option);
    adjustOption(&option);
    return style->subElementRect(QStyle::SE_CheckBoxClickRect, &option, this).contains(pos);
}

void LegendEntry::mouseReleaseEvent(QMouseEvent *event)
{
    // Taken before the toggle, whose handlers may delete the series, the
    // box or the whole chart.
    const bool click = event->button() == Qt::LeftButton && isDown() && hitButton(event->pos());
    const QPointer<ChartSeries> series = LegendPrivate::seriesOfBox(this);
    const QPointer<Legend> owner = legend->q;
    QCheckBox::mouseReleaseEvent(event);
    if (click && series && owner)
        emit owner->entryClicked(series);
}

void LegendEntry::mouseDoubleClickEvent(QMouseEvent *event)
{
    const bool hit = event->button() == Qt::LeftButton && hitButton(event->pos());
    const QPointer<ChartSeries> series = LegendPrivate::seriesOfBox(this);
    const QPointer<Legend> owner = legend->q;
    QCheckBox::mouseDoubleClickEvent(event);
    if (hit && series && owner)
        emit owner->entryDoubleClicked(series);
}

QStyle *LegendPrivate::entryStyle(const QCheckBox *box, QStyleOptionButton *option, QFont *font)
{
    if (auto *entry = dynamic_cast<const LegendEntry *>(box)) {
        entry->adjustOption(option);
        *font = entry->entryFont();
        if (QStyle *style = entry->sheetFreeStyle())
            return style;
    }
    return box->style();
}

QCheckBox *LegendPrivate::createCheckBox(ChartSeries *series)
{
    auto *box = new LegendEntry(series->name(), this);
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
    if (series->type() == ChartSeries::stPie) {
        d->addSliceBoxes(static_cast<PieSeries *>(series), -1);
        connect(series, SIGNAL(slicesChanged()), d, SLOT(on_slices_changed()), Qt::UniqueConnection);
        connect(series, SIGNAL(sliceVisibleChanged(int,bool)), d, SLOT(on_slice_visible_changed(int,bool)),
                Qt::UniqueConnection);
        d->adjustGeometry();
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
    if (series && series->type() == ChartSeries::stPie) {
        d->slicesPending.removeAll(series);
        d->removeSliceBoxes(series);
        return;
    }
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

void LegendPrivate::addSliceBoxes(PieSeries *pie, int at)
{
    auto *box = qobject_cast<QBoxLayout *>(q->widget()->layout());
    const int n = qMin(pie->sliceCount(), kMaxSliceEntries);
    for (int i = 0; i < n; ++i) {
        const QString label = pie->sliceLabel(i).simplified();
        auto *entry = new LegendEntry(label.isEmpty() ? Legend::tr("Slice %1").arg(i + 1) : label, this);
        entry->setText(entry->fontMetrics().elidedText(entry->text(), Qt::ElideRight, kSliceTextWidth));
        entry->setChecked(pie->isSliceVisible(i));
        entry->setProperty(kSeriesProperty, seriesVariant(pie));
        entry->setProperty(kSliceProperty, i);
        entry->setIcon(pie->sliceIcon(i, entry->height()));
        entry->adjustSize();
        entry->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        connect(entry, SIGNAL(toggled(bool)), this, SLOT(on_slice_box_toggled(bool)));
        connect(pie, &QObject::destroyed, entry, [entry] {
            entry->setProperty(kSeriesProperty, QVariant());
            entry->hide();
            entry->deleteLater();
        });
        if (box && at >= 0)
            box->insertWidget(at + i, entry);
        else if (QLayout *layout = q->widget()->layout())
            layout->addWidget(entry);
    }
}

int LegendPrivate::removeSliceBoxes(ChartSeries *pie)
{
    QLayout *layout = q->widget()->layout();
    int first = -1;
    if (!layout)
        return first;
    const QVariant key = seriesVariant(pie);
    for (int i = layout->count() - 1; i >= 0; --i) {
        QWidget *w = layout->itemAt(i) ? layout->itemAt(i)->widget() : nullptr;
        if (w && w->property(kSeriesProperty) == key && w->property(kSliceProperty).isValid()) {
            layout->removeWidget(w);
            // The entry may be in the middle of its own click.
            w->setProperty(kSeriesProperty, QVariant());
            w->hide();
            w->deleteLater();
            first = i;
        }
    }
    return first;
}

void LegendPrivate::on_slices_changed()
{
    auto *pie = qobject_cast<PieSeries *>(sender());
    if (!pie || slicesPending.contains(pie))
        return;
    if (slicesPending.isEmpty())
        QMetaObject::invokeMethod(this, "on_slices_rebuild", Qt::QueuedConnection);
    slicesPending.append(pie);
}

void LegendPrivate::on_slices_rebuild()
{
    const QList<QPointer<ChartSeries>> pies = slicesPending;
    slicesPending.clear();
    for (const QPointer<ChartSeries> &series : pies) {
        if (auto *pie = qobject_cast<PieSeries *>(series.data())) {
            const int at = removeSliceBoxes(pie);
            addSliceBoxes(pie, at);
        }
    }
    adjustGeometry();
}

void LegendPrivate::on_slice_visible_changed(int index, bool visible)
{
    const QVariant key = seriesVariant(qobject_cast<ChartSeries *>(sender()));
    for (QCheckBox *box : q->findChildren<QCheckBox *>())
        if (box->property(kSeriesProperty) == key && box->property(kSliceProperty) == QVariant(index))
            box->setChecked(visible);
}

void LegendPrivate::on_slice_box_toggled(bool on)
{
    const QObject *box = sender();
    if (auto *pie = qobject_cast<PieSeries *>(seriesOfBox(box)))
        pie->setSliceVisible(box->property(kSliceProperty).toInt(), on);
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
            const int size = sizes.isEmpty() ? box->height() : sizes.first().height();
            const QVariant slice = box->property(kSliceProperty);
            box->setIcon(slice.isValid() ? static_cast<PieSeries *>(series)->sliceIcon(slice.toInt(), size)
                                         : series->icon(size));
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
        } else if (owner && isInsetPlacement(placement)) {
            const QRect plot = owner->legendPlotArea();
            wmax = qMax(plot.width() - 2 * kInsetGap, 50);
            hmax = qMax(plot.height() - 2 * kInsetGap, 20);
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
    case Legend::plInsetTopRight:
    case Legend::plInsetTopLeft:
    case Legend::plInsetBottomRight:
    case Legend::plInsetBottomLeft: {
        if (!owner)
            return q->pos();
        const QRect plot = owner->legendPlotArea();
        const bool left = placement == Legend::plInsetTopLeft || placement == Legend::plInsetBottomLeft;
        const bool top = placement == Legend::plInsetTopRight || placement == Legend::plInsetTopLeft;
        return QPoint(left ? plot.left() + kInsetGap : plot.right() + 1 - kInsetGap - lw,
                      top ? plot.top() + kInsetGap : plot.bottom() + 1 - kInsetGap - lh);
    }
    default:
        return q->pos();
    }
}

void LegendPrivate::clear()
{
    slicesPending.clear();
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
