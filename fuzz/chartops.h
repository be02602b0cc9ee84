#ifndef TAVRIN_CHARTOPS_H
#define TAVRIN_CHARTOPS_H

// Turns arbitrary bytes into a sequence of host operations on one chart.
// The fuzzer drives it, and the regression tests replay the inputs that once
// failed through the same decoder.

#include <axes.h>
#include <axis.h>
#include <barseries.h>
#include <boxandwhiskersseries.h>
#include <chartgroup.h>
#include <chartwidget.h>
#include <colormapseries.h>
#include <ganttseries.h>
#include <highlowseries.h>
#include <histogramseries.h>
#include <lineitem.h>
#include <rangeitem.h>
#include <textitem.h>
#include <legend.h>
#include <lineseries.h>
#include <minmaxpointseries.h>
#include <pieseries.h>
#include <pointseries.h>
#include <vline.h>

#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace chartops {

class Reader
{
public:
    Reader(const uint8_t *data, size_t size) : p(data), n(size) {}
    bool atEnd() const { return n == 0; }
    uint8_t byte()
    {
        if (!n)
            return 0;
        --n;
        return *p++;
    }
    uint16_t word() { return uint16_t(byte() | (byte() << 8)); }
    // Mostly the values that break arithmetic, sometimes any bit pattern.
    double number()
    {
        static const double special[] = {
            std::numeric_limits<double>::quiet_NaN(),
            std::numeric_limits<double>::infinity(),
            -std::numeric_limits<double>::infinity(),
            1e308, -1e308, -0.0, 0.0,
            std::numeric_limits<double>::max(),
            std::numeric_limits<double>::lowest(),
            std::numeric_limits<double>::denorm_min(),
            std::numeric_limits<double>::min(),
            9007199254740993.0, 1e15, -1e15, 2147483648.0, 1e-300,
        };
        const uint8_t sel = byte();
        if (sel < 32)
            return special[sel % (sizeof special / sizeof *special)];
        if (sel < 224)
            return double(int(sel) - 128) + byte() / 256.0;
        double v = 0;
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits = (bits << 8) | byte();
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }

private:
    const uint8_t *p;
    size_t n;
};

// Keeps every run bounded however large the counts in the input are.
constexpr int kMaxOps = 64;
constexpr int kMaxPoints = 2000;
// An input whose first byte has its top bit set may also use the newer calls
// (blocks, streaming limits, log and right axes, wheel zoom and its history,
// images and PDF); one without it decodes as it always did, so inputs kept
// from earlier runs still do what they did.
constexpr int kFirstOps = 24;
constexpr int kOps = 33;
// With the next bit set too, the item calls come in as well.
constexpr int kItemOps = 37;
// A first byte from 0xE0 to 0xEF takes the first 32 operations and the two
// colour-map ones in place of the pie and items, as the inputs kept for
// colour maps were found with.
constexpr int kColorMapOps = 34;
// A first byte of 0xF0 or more takes every operation: the colour maps after
// the items, then linked charts, the aspect ratio and the top axis. No kept
// input starts that high.
constexpr int kAllOps = kItemOps + 5;
// From 0xF8 up, the chart types after those: histograms, bar layouts,
// strip-chart limits on every kind, fills, steps and stacked lines.
constexpr int kNewestOps = kAllOps + 1;

inline ChartSeries *makeSeries(int kind)
{
    switch (kind % 7) {
    case 0: return new LineSeries;
    case 1: return new PointSeries(PointSeries::PointStyle(kind / 7 % 3));
    case 2: return new MinMaxPointSeries(MinMaxPointSeries::PointStyle(kind / 7 % 3));
    case 3: return new BarSeries;
    case 4: return new BoxAndWhiskersSeries;
    case 5: return new HighLowSeries;
    default: return new GanttSeries;
    }
}

// Adds one point in the kind's own form; the extra values come from `r`.
inline void addPoint(ChartSeries *s, double x, double y, Reader &r)
{
    switch (s->type()) {
    case ChartSeries::stPoint:
        static_cast<PointSeries *>(s)->addXY(x, y, QStringLiteral("p"));
        break;
    case ChartSeries::stMinMaxPoint:
        static_cast<MinMaxPointSeries *>(s)->addPoint(x, y, r.number(), r.number());
        break;
    case ChartSeries::stBoxAndWhiskers:
        static_cast<BoxAndWhiskersSeries *>(s)->addCandle(x, y, r.number(), r.number(), r.number(), r.number());
        break;
    case ChartSeries::stHighLow:
        static_cast<HighLowSeries *>(s)->addPoint(x, y, r.number());
        break;
    case ChartSeries::stGantt:
        static_cast<GanttSeries *>(s)->addBar(x, r.number(), y, QColor(), QStringLiteral("g"));
        break;
    default:
        s->addXY(x, y);
    }
}

// A block of points in one call, through one of the block overloads or the
// kind's own; the first few values come from the input, the rest follow a
// curve so that a long block costs few input bytes.
inline void addBlock(ChartSeries *s, Reader &r)
{
    const int count = int(r.word() % (kMaxPoints + 1));
    const double scale = r.number();
    QVector<double> x(count), y(count);
    for (int i = 0; i < count; ++i) {
        const bool fromInput = i < 8;
        x[i] = fromInput ? r.number() : i * scale;
        y[i] = fromInput ? r.number() : std::sin(i * 0.1) * scale;
    }
    const uint8_t how = r.byte();
    switch (how % 5) {
    case 0: {
        QVector<QPointF> points;
        points.reserve(count);
        for (int i = 0; i < count; ++i)
            points.append(QPointF(x[i], y[i]));
        s->addPoints(points);
        break;
    }
    case 1: // the longer array's extra values are ignored
        y.resize(std::max(0, count - int(how / 5 % 4)));
        s->addPoints(x, y);
        break;
    case 2: // a count of the arrays' length or one that is not positive
        s->addPoints(x.constData(), y.constData(), how & 0x80 ? count : -int(how / 5 % 4));
        break;
    case 3:
        s->addPoints(how & 0x80 ? nullptr : x.constData(), how & 0x40 ? nullptr : y.constData(), count);
        break;
    default:
        switch (s->type()) {
        case ChartSeries::stBoxAndWhiskers: {
            QVector<BoxAndWhiskersSeries::Candle> candles(count);
            for (int i = 0; i < count; ++i)
                candles[i] = {x[i], y[i], y[i] - 1, y[i] + (i < 4 ? r.number() : 2), y[i] - 0.5, y[i] + 0.5};
            static_cast<BoxAndWhiskersSeries *>(s)->addCandles(candles);
            break;
        }
        case ChartSeries::stHighLow: {
            QVector<HighLowSeries::HighLowPoint> points(count);
            for (int i = 0; i < count; ++i)
                points[i] = {x[i], y[i], i < 4 ? r.number() : y[i] + 1};
            static_cast<HighLowSeries *>(s)->addPoints(points);
            break;
        }
        case ChartSeries::stGantt: {
            QVector<GanttBar> bars(count);
            for (int i = 0; i < count; ++i)
                bars[i] = {x[i], i < 4 ? r.number() : x[i] + 1, y[i], QColor(), QStringLiteral("g")};
            static_cast<GanttSeries *>(s)->addBars(bars);
            break;
        }
        default:
            s->addPoints(x, y);
        }
    }
}

// A limit for a streaming series: mostly small, sometimes none, negative or
// as large as it gets.
inline int limitOf(Reader &r)
{
    const uint8_t b = r.byte();
    if (b < 200)
        return b % 50;
    if (b < 230)
        return -int(b % 5);
    return b & 1 ? std::numeric_limits<int>::max() : 100000;
}

inline Axis *anyAxis(ChartWidget &w, uint8_t b)
{
    switch (b % 3) {
    case 0: return w.axes()->bottom();
    case 1: return w.axes()->left();
    default: return w.axes()->right();
    }
}

inline void wheel(QWidget *w, QPoint pos, QPoint angle, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent e(pos, w->mapToGlobal(pos), QPoint(), angle, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
}

inline void mouse(QWidget *w, QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, pos, pos, button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

inline QPoint position(Reader &r, QWidget *w)
{
    // Mostly inside the widget, sometimes far outside.
    const int x = int(r.word()) - 2000;
    const int y = int(r.word()) - 2000;
    if (x >= 0 && y >= 0)
        return QPoint(x % (w->width() + 1), y % (w->height() + 1));
    return QPoint(x * 16, y * 16);
}

inline Axis *axisOf(ChartWidget &w, uint8_t b)
{
    return (b & 1) ? w.axes()->left() : w.axes()->bottom();
}

// Items: adding them (on this chart's axes, on another's, with hostile
// positions, texts and fonts), removing them (also twice), changing them,
// and dragging them with Escape, removal or clear() in the middle.
inline void itemOp(ChartWidget &w, Reader &r, int op)
{
    const QList<ChartItem *> items = w.items();
    ChartItem *item = items.isEmpty() ? nullptr : items.at(r.byte() % items.size());
    const Qt::Orientation orientation = r.byte() & 1 ? Qt::Vertical : Qt::Horizontal;
    switch (op) {
    case 0: {
        ChartItem *made = nullptr;
        switch (r.byte() % 4) {
        case 0:
        case 3:
            made = new LineItem(orientation, r.number());
            static_cast<LineItem *>(made)->setLabel(QString(r.byte() * 8, QLatin1Char('L')));
            break;
        case 1:
            made = new RangeItem(orientation, r.number(), r.number());
            break;
        default: {
            auto *note = new TextItem(QString(r.word() % 20000, QLatin1Char('W')));
            const double x = r.number(), y = r.number();
            note->setAnchor(QPointF(x, y), TextItem::AnchorMode(r.byte() % 3));
            QFont font(QStringLiteral("Arial"));
            font.setPointSizeF(std::max(1.0, std::min(1e6, std::abs(r.number()))));
            note->setFont(font);
            note->setAlignment(Qt::Alignment(QFlag(int(r.word()))));
            const double tx = r.number(), ty = r.number();
            note->setArrowTarget(QPointF(tx, ty));
            made = note;
        }
        }
        made->setMovable(r.byte() & 1);
        ChartWidget other;
        const uint8_t axes = r.byte() % 4;
        if (axes == 1)
            made->setAxis(w.axes()->bottom(), w.axes()->right());
        else if (axes == 3)
            made->setAxis(other.axes()->bottom(), other.axes()->left());
        if (!w.addItem(made))
            delete made;
        break;
    }
    case 1:
        if (item) {
            w.removeItem(item);
            if (r.byte() & 1)
                w.removeItem(item); // a second time: refused
        }
        break;
    case 2: {
        // Lines are found only in a view: axes with ranges, laid out (a
        // chart never shown is not until it is grabbed).
        if (!w.axes()->bottom()->isValid() || !w.axes()->left()->isValid()) {
            auto *s = new LineSeries;
            s->addXY(0, 0);
            s->addXY(100, 50);
            w.addSeries(s);
        }
        if (w.plotArea().isEmpty())
            w.grab();
        QPoint from = position(r, &w);
        // Mostly right on a line, so that the drag takes it.
        if (auto *line = qobject_cast<LineItem *>(item)) {
            const bool vertical = line->orientation() == Qt::Vertical;
            const Axis *axis = vertical ? line->xAxis() : line->yAxis();
            if (r.byte() & 1)
                line->setValue((axis->min() + axis->max()) / 2);
            const QPointF at = w.mapToPosition(QPointF(line->value(), line->value()), line->yAxis());
            const double p = vertical ? at.x() : at.y();
            if (std::abs(p) < 1e6) { // NaN fails too
                from = w.plotArea().center();
                (vertical ? from.rx() : from.ry()) = int(p);
            }
        }
        mouse(&w, QEvent::MouseButtonPress, Qt::LeftButton, from);
        const int moves = r.byte() % 4;
        for (int i = 0; i < moves; ++i)
            mouse(&w, QEvent::MouseMove, Qt::LeftButton, position(r, &w));
        switch (r.byte() % 8) {
        case 0: {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(&w, &escape);
            break;
        }
        case 1:
            if (item)
                w.removeItem(item);
            break;
        case 2:
            w.clear();
            break;
        default:
            break;
        }
        mouse(&w, QEvent::MouseMove, Qt::LeftButton, position(r, &w));
        mouse(&w, QEvent::MouseButtonRelease, Qt::LeftButton, position(r, &w));
        break;
    }
    default:
        if (!item)
            break;
        switch (r.byte() % 5) {
        case 0:
            if (auto *line = qobject_cast<LineItem *>(item))
                line->setValue(r.number());
            else if (auto *range = qobject_cast<RangeItem *>(item))
                range->setRange(r.number(), r.number());
            break;
        case 1:
            if (auto *note = qobject_cast<TextItem *>(item)) {
                const double x = r.number(), y = r.number();
                note->setAnchor(QPointF(x, y), TextItem::AnchorMode(r.byte() % 2));
            }
            break;
        case 2:
            item->setVisible(r.byte() & 1);
            break;
        case 3:
            item->setMovable(r.byte() & 1);
            break;
        default:
            item->setAxis(w.axes()->bottom(), r.byte() & 1 ? w.axes()->right() : nullptr);
            break;
        }
        break;
    }
}

// Runs the operations encoded in the input on a fresh chart. `dir` receives
// exports and the settings file.
inline void run(const uint8_t *data, size_t size, const QString &dir)
{
    Reader r(data, size);
    auto *w = new ChartWidget;
    w->resize(320, 240);
    // Rendering after every point makes long inputs quadratic; mostly let
    // the refresh timer batch them.
    const uint8_t first = r.byte();
    w->setRefreshTimeout(first % 4 == 0 ? -1 : 100);
    const bool all = first >= 0xF0;
    const bool maps = first >= 0xE0 && !all;
    const int ops = first >= 0xF8 ? kNewestOps
                    : all  ? kAllOps
                    : maps ? kColorMapOps
                    : (first & 0xC0) == 0xC0 ? kItemOps
                    : first & 0x80 ? kOps
                                   : kFirstOps;
    // A second chart and the group the two may share; the chart is deleted
    // by some inputs while it is a member.
    QPointer<ChartWidget> other;
    QPointer<ChartGroup> group;
    QList<int> ids;
    auto pick = [&]() -> ChartSeries * {
        if (ids.isEmpty())
            return nullptr;
        return w->series(ids.at(r.byte() % ids.size()));
    };

    for (int op = 0; op < kMaxOps && !r.atEnd(); ++op) {
        int code = r.byte() % ops;
        if (maps && code >= kOps - 1)
            code += kItemOps - (kOps - 1);
        switch (code) {
        case 0: { // add a series with points
            ChartSeries *s = makeSeries(r.byte());
            const int count = std::min<int>(r.byte(), 16);
            for (int i = 0; i < count; ++i) {
                const double x = r.number();
                addPoint(s, x, r.number(), r);
            }
            if (r.byte() & 1)
                s->setName(QString());
            ids << w->addSeries(s);
            break;
        }
        case 1: // many ordinary points
            if (ChartSeries *s = pick()) {
                const int count = std::min<int>(r.word(), kMaxPoints);
                const double scale = r.number();
                // A bulk fill under the drawing lock, as a host does it: every
                // widening point of an unlocked chart renders all points, and
                // that quadratic work only slows the fuzzer down.
                const bool locked = w->drawingLock();
                w->setDrawingLock(true);
                for (int i = 0; i < count; ++i)
                    addPoint(s, i * scale, std::sin(i * 0.1) * scale, r);
                w->setDrawingLock(locked);
            }
            break;
        case 2: // a few hostile points
            if (ChartSeries *s = pick()) {
                const double x = r.number();
                addPoint(s, x, r.number(), r);
            }
            break;
        case 3:
            if (!ids.isEmpty()) {
                const int id = ids.takeAt(r.byte() % ids.size());
                w->removeSeries(id);
            }
            break;
        case 4:
            w->clear();
            ids.clear();
            break;
        case 5:
            if (ChartSeries *s = pick())
                s->setVisible(!s->isVisible());
            break;
        case 6:
            if (ChartSeries *s = pick())
                s->setName(QString(r.byte() % 40, QChar(0x41 + r.byte() % 60)));
            break;
        case 7: {
            Axis *a = axisOf(*w, r.byte());
            const double lo = r.number();
            a->setRange(lo, r.number());
            break;
        }
        case 8: {
            Axis *a = axisOf(*w, r.byte());
            if (r.byte() & 1)
                a->setMin(r.number());
            else
                a->setMax(r.number());
            break;
        }
        case 9: { // rubber band (towards the upper left resets)
            const QPoint from = position(r, w);
            const QPoint to = position(r, w);
            mouse(w, QEvent::MouseButtonPress, Qt::LeftButton, from);
            mouse(w, QEvent::MouseMove, Qt::LeftButton, to);
            mouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, to);
            break;
        }
        case 10: { // pan
            const QPoint from = position(r, w);
            const QPoint to = position(r, w);
            mouse(w, QEvent::MouseButtonPress, Qt::MiddleButton, from);
            mouse(w, QEvent::MouseMove, Qt::MiddleButton, to);
            mouse(w, QEvent::MouseButtonRelease, Qt::MiddleButton, to);
            break;
        }
        case 11: {
            static const QSize sizes[] = {{0, 0}, {1, 1}, {2, 300}, {300, 2}, {320, 240}, {40, 30}};
            const uint8_t b = r.byte();
            w->resize(b < 192 ? sizes[b % 6] : QSize(r.word() % 1200, r.word() % 900));
            break;
        }
        case 12:
            w->grab();
            break;
        case 13:
            w->exportCsv(dir + QStringLiteral("/out.csv"));
            break;
        case 14:
            w->exportXml(dir + QStringLiteral("/out.xml"));
            break;
        case 15:
            w->exportSvg(dir + QStringLiteral("/out.svg"));
            break;
        case 16:
            if (w->save(ChartWidget::dfBinary, dir + QStringLiteral("/chart.tn")))
                w->load(ChartWidget::dfBinary, dir + QStringLiteral("/chart.tn"));
            break;
        case 17:
            w->addVLine(new VLine(r.number(), Qt::red, r.byte() % 5));
            break;
        case 18:
            w->setAutoScale(r.byte() & 1);
            break;
        case 19:
            w->setTitle(QString(r.byte() % 80, QLatin1Char('t')));
            break;
        case 20: {
            const uint8_t b = r.byte();
            w->legend()->setVisible(b & 1);
            w->legend()->setPlacement(Legend::Placement((b >> 1) % 8));
            break;
        }
        case 21: {
            Axis *a = axisOf(*w, r.byte());
            a->setDatetime(r.byte() & 1);
            if (r.byte() & 1)
                a->setCustomLabel(r.number(), QStringLiteral("c"));
            break;
        }
        case 22: {
            const QPoint pos = position(r, w);
            QHelpEvent e(QEvent::ToolTip, pos, pos);
            QCoreApplication::sendEvent(w, &e);
            break;
        }
        case 23:
            // Queued rescales and the refresh timer.
            QCoreApplication::processEvents();
            break;
        case 24:
            if (ChartSeries *s = pick())
                addBlock(s, r);
            break;
        case 25: // a streaming limit, or dropping what lies left of an x
            if (ChartSeries *s = pick()) {
                const bool limit = r.byte() & 1;
                if (auto *line = qobject_cast<LineSeries *>(s)) {
                    if (limit)
                        line->setMaximumPoints(limitOf(r));
                    else
                        line->removeBefore(r.number());
                } else if (auto *points = qobject_cast<PointSeries *>(s)) {
                    if (limit)
                        points->setMaximumPoints(limitOf(r));
                    else
                        points->removeBefore(r.number());
                }
            }
            break;
        case 26: {
            const uint8_t b = r.byte();
            anyAxis(*w, b)->setLogarithmic(b & 0x80);
            break;
        }
        case 27: // a series moves to the right axis or back, or the right axis' range
            if (r.byte() & 1) {
                if (ChartSeries *s = pick())
                    s->setAxis(w->axes()->bottom(), r.byte() & 1 ? w->axes()->right() : w->axes()->left());
            } else {
                const double lo = r.number();
                w->axes()->right()->setRange(lo, r.number());
            }
            break;
        case 28: { // wheel steps, with and without Ctrl and Shift
            const uint8_t b = r.byte();
            w->setWheelZoom(!(b & 0x80));
            const QPoint pos = position(r, w);
            static const int extreme[] = {std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 1, -1};
            const uint8_t d = r.byte();
            const int delta = d < 240 ? (int(d) - 120) * 15 : extreme[d % 4];
            static const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier,
                                                              Qt::ControlModifier | Qt::ShiftModifier};
            wheel(w, pos, b & 0x40 ? QPoint(delta, 0) : QPoint(0, delta), modifiers[b % 4]);
            break;
        }
        case 29:
            w->zoomBack();
            break;
        case 30: { // pictures at other sizes and densities
            const uint8_t b = r.byte();
            static const QSize sizes[] = {QSize(), {0, 0}, {1, 1}, {3, 700}, {640, 480}, {-5, 10}};
            const QSize size = b & 0x80 ? QSize(r.word() % 1200, r.word() % 900) : sizes[b % 6];
            double scale = b & 0x40 ? r.number() : 0.25 * (1 + r.byte() % 12);
            // Pictures the library rightly makes can reach a gigabyte, half
            // the fuzzer's memory limit under ASan: such scales come down to
            // 16 million pixels. Scales it must refuse stay as they are.
            const QSize base = size.isValid() && !size.isEmpty() ? size : w->size();
            const double pixels = double(base.width()) * base.height() * scale * scale;
            if (std::isfinite(scale) && scale > 0 && pixels > 16e6 && pixels < 1e18)
                scale *= std::sqrt(16e6 / pixels);
            if (b & 0x20) {
                static const char *const formats[] = {nullptr, "png", "jpg", "bmp", "no-such-format"};
                w->exportImage(dir + QStringLiteral("/out.img"), size, scale, formats[r.byte() % 5]);
            } else {
                w->toImage(size, scale);
            }
            break;
        }
        case 31:
            w->exportPdf(dir + QStringLiteral("/out.pdf"));
            break;
        case 32: { // a pie: hostile values in place, hidden and pulled-out slices, hole, labels
            auto *pie = qobject_cast<PieSeries *>(pick());
            if (!pie) {
                pie = new PieSeries;
                ids << w->addSeries(pie);
            }
            const uint8_t b = r.byte();
            const int n = pie->sliceCount() + 1;
            if (b % 4 == 0) {
                pie->addSlice(QString(b & 0x10 ? 300 : r.byte() % 8, QLatin1Char('x')), r.number());
            } else if (b % 4 == 1) {
                pie->setValue(r.byte() % n, r.number());
            } else if (b % 4 == 2) {
                pie->setSliceVisible(r.byte() % n, b & 0x10);
                pie->setExploded(r.byte() % n, b & 0x20);
            } else {
                pie->setHoleSize(r.number());
                pie->setLabelPosition(PieSeries::LabelPosition(b / 4 % 3));
            }
            break;
        }
        case 33:
        case 34:
        case 35:
        case 36:
            itemOp(*w, r, code - 33);
            break;
        case kItemOps: { // a colour map, sizes and extent often wrong
            auto *map = new ColorMapSeries;
            const int columns = int(r.byte() % 40) - 2, rows = int(r.byte() % 40) - 2;
            const int count = std::max(0, columns) * std::max(0, rows) + int(r.byte() % 3) - 1;
            QVector<double> values;
            for (int i = 0; i < count; ++i)
                values << (i % 7 == 3 ? r.number() : double(r.byte()) * (r.byte() & 1 ? -1 : 1));
            const uint8_t b = r.byte();
            map->setLogarithmicColors(b & 1);
            map->setSmoothing(b & 2);
            map->setColorScaleVisible(!(b & 4));
            map->setPreset(ColorMapSeries::Preset(b >> 5));
            const double x0 = r.number(), x1 = r.number(), y0 = r.number(), y1 = r.number();
            map->setData(values, columns, rows, x0, x1, y0, y1);
            if (b & 8)
                map->setData(values, columns, rows, 0, 1 + r.byte(), -r.byte(), 1);
            ids << w->addSeries(map);
            break;
        }
        case kItemOps + 1: { // streaming and colours of a colour map, or of another kind's chart
            auto *map = qobject_cast<ColorMapSeries *>(pick());
            if (!map)
                break;
            const uint8_t b = r.byte();
            const int n = int(r.byte() % 48);
            QVector<double> v;
            for (int i = 0; i < n; ++i)
                v << (i % 5 == 1 ? r.number() : double(r.byte()));
            switch (b % 8) {
            case 0: map->addRow(v.isEmpty() ? QVector<double>(map->columns(), r.number()) : v); break;
            case 1: map->addColumn(v.isEmpty() ? QVector<double>(map->rows(), r.number()) : v); break;
            case 2: map->setMaximumRows(int(r.byte()) - 8); break;
            case 3: map->setMaximumColumns(int(r.byte()) - 8); break;
            case 4: map->setCell(int(r.byte()) - 4, int(r.byte()) - 4, r.number()); break;
            case 5:
                if (b & 8)
                    map->setAutoDataRange();
                else
                    map->setDataRange(r.number(), r.number());
                break;
            case 6: {
                QGradientStops stops;
                for (int i = 0; i < n % 5; ++i)
                    stops << QGradientStop(i % 2 ? r.number() : r.byte() / 255.0, QColor::fromRgba(r.word() * 65537u));
                map->setGradient(stops);
                break;
            }
            default:
                map->setLogarithmicColors(b & 8);
                map->setSmoothing(b & 16);
                map->clear();
                break;
            }
            break;
        }
        case kItemOps + 2: { // linked charts: join, leave, a member or the group deleted
            if (!group)
                group = new ChartGroup;
            const uint8_t b = r.byte();
            ChartWidget *target = (b & 4) && other ? other.data() : w;
            switch (b % 4) {
            case 0:
                group->addChart(target);
                break;
            case 1:
                if (!other) {
                    other = new ChartWidget;
                    other->resize(int(r.byte()) + 1, 120);
                    auto *line = new LineSeries;
                    line->addXY(r.number(), r.number());
                    line->addXY(r.number(), r.number());
                    other->addSeries(line);
                }
                group->addChart(other);
                other->axes()->bottom()->setDatetime(b & 8);
                break;
            case 2:
                group->removeChart(target);
                break;
            default:
                if (b & 8)
                    delete group;
                else
                    delete other;
                break;
            }
            if (other && (b & 16))
                other->repaint();
            break;
        }
        case kItemOps + 3: { // the aspect ratio, mostly the values it must refuse
            static const double ratios[] = {0, std::numeric_limits<double>::quiet_NaN(), -1, 1, 2.5};
            const uint8_t b = r.byte();
            w->setAspectRatio(b % 6 < 5 ? ratios[b % 6] : r.number());
            break;
        }
        case kItemOps + 4: { // the top axis: series on it or back, its range, modes and title
            Axis *top = w->axes()->top();
            const uint8_t b = r.byte();
            switch (b % 4) {
            case 0:
                if (ChartSeries *s = pick())
                    s->setAxis(b & 4 ? top : w->axes()->bottom(), b & 8 ? w->axes()->right() : w->axes()->left());
                break;
            case 1: {
                const double lo = r.number();
                top->setRange(lo, r.number());
                break;
            }
            case 2:
                top->setLogarithmic(b & 4);
                top->setDatetime(b & 8);
                break;
            default:
                top->setTitle(b & 4 ? QStringLiteral("top") : QString());
                if (b & 8)
                    top->setCustomLabel(r.number(), QStringLiteral("t"));
                else
                    top->clearCustomLabels();
                break;
            }
            break;
        }
        case kAllOps: { // histograms, bar layouts, strip limits, fills, steps and stacks
            const uint8_t b = r.byte();
            ChartSeries *s = pick();
            switch (b % 4) {
            case 0: {
                auto *h = new HistogramSeries;
                QVector<double> values(std::min<int>(r.byte(), 64));
                for (double &v : values)
                    v = r.number();
                h->addValues(values);
                if (b & 4)
                    h->setBinCount(int(r.byte()) * (b & 8 ? 4096 : 1) - 8);
                else if (b & 8)
                    h->setBinWidth(r.number());
                if (b & 16)
                    h->setRange(r.number(), r.number());
                h->setNormalization(HistogramSeries::Normalization(b / 32 % 3));
                h->addValue(r.number());
                ids << w->addSeries(h);
                break;
            }
            case 1:
                if (auto *bars = qobject_cast<BarSeries *>(s)) {
                    bars->setBarWidth(r.number());
                    bars->setBarWidthUnit(b & 4 ? BarSeries::DataUnits : BarSeries::Pixels);
                    bars->setOrientation(b & 8 ? Qt::Horizontal : Qt::Vertical);
                    bars->setStackedOn(qobject_cast<BarSeries *>(pick()));
                    bars->setGroup(int(r.byte() % 5) - 1, int(r.byte() % 5) - 1);
                    bars->setValueLabelsVisible(b & 16);
                }
                break;
            case 2:
                if (s && (b & 4))
                    s->setProperty("maximumPoints", int(r.byte()) - 8);
                else if (s && s->metaObject()->indexOfMethod("removeBefore(double)") >= 0)
                    QMetaObject::invokeMethod(s, "removeBefore", Q_ARG(double, r.number()));
                break;
            default:
                if (auto *line = qobject_cast<LineSeries *>(s)) {
                    static const QBrush brushes[] = {QBrush(), QBrush(Qt::red), QBrush(Qt::Dense4Pattern),
                                                     QBrush(QLinearGradient(0, 0, 0, 100))};
                    line->setFillBrush(brushes[b / 4 % 4]);
                    line->setFillBaseline(r.number());
                    line->setFillTo(b & 16 ? qobject_cast<LineSeries *>(pick()) : nullptr);
                    line->setStepMode(LineSeries::StepMode(b / 32 % 4));
                    line->setStackedOn(b & 128 ? qobject_cast<LineSeries *>(pick()) : nullptr);
                } else if (auto *band = qobject_cast<HighLowSeries *>(s)) {
                    band->setBrush(b & 4 ? QBrush(Qt::blue) : QBrush(Qt::Dense6Pattern));
                    band->setLowerLineVisible(b & 8);
                }
                break;
            }
            break;
        }
        default:
            break;
        }
    }
    w->grab();
    if (other)
        other->grab();
    delete w;
    delete other;
    delete group;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace chartops

#endif // TAVRIN_CHARTOPS_H
