#ifndef TAVRIN_FIXTURES_H
#define TAVRIN_FIXTURES_H

// What the tests of every folder share: axis frames, renderings, pixel
// counts, shown charts, mouse gestures and a factory for each series kind.

#include <axes.h>
#include <axis.h>
#include <axis_p.h>
#include <barseries.h>
#include <boxandwhiskersseries.h>
#include <chartwidget.h>
#include <chartwidget_p.h>
#include <colormapseries.h>
#include <ganttseries.h>
#include <highlowseries.h>
#include <legend.h>
#include <lineseries.h>
#include <minmaxpointseries.h>
#include <pointseries.h>
#include <vline.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <limits>
#include <memory>

namespace tavrintest {

// Where tests leave pictures and files to look at.
inline QString outputDir()
{
    QString dir = qEnvironmentVariable("TAVRIN_TEST_OUTPUT");
    if (dir.isEmpty())
        dir = QDir::currentPath() + QStringLiteral("/test-output");
    QDir().mkpath(dir);
    return dir;
}

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

// An axis pair over fixed ranges as a chart sets it up for a plot of the
// given size, with the margin settled as it is after layout and rescale.
struct Frame {
    Axis x{Axis::atBottom};
    Axis y{Axis::atLeft};
    // The default size gives whole pixels per unit over 0..10: 26 across
    // from pixel 20, 16 up from pixel 180.
    Frame(double x0 = 0, double x1 = 10, double y0 = 0, double y1 = 10, int w = 301, int h = 201)
    {
        x.setRange(x0, x1);
        y.setRange(y0, y1);
        x.d->setLength(w);
        y.d->setLength(h);
        for (int i = 0; i < 30; ++i) {
            x.d->updateTransform();
            y.d->updateTransform();
        }
    }
    QPoint pixel(double vx, double vy) const { return QPoint(qRound(x.pointToPixel(vx)), qRound(y.pointToPixel(vy))); }
};

inline QImage render(ChartSeries &s, QSize size = QSize(301, 201), bool antialiased = false,
                     QColor background = Qt::transparent)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(background);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, antialiased);
    s.draw(&p);
    return img;
}

// A line series drawn segment by segment with QPainter: the picture every
// faster path must give. Points are read through point(), which leaves the
// series' storage as it is. `offset` translates the painter.
inline QImage everySegment(ChartSeries &s, const QPen &pen, QSize size, bool antialiased = false,
                           QPoint offset = QPoint())
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, antialiased);
    p.translate(offset);
    p.setPen(pen);
    const Axis *x = s.xAxis(), *y = s.yAxis();
    const QRectF box(x->min(), y->min(), x->span(), y->span());
    for (int i = 1; i < s.pointsCount(); ++i) {
        const QPointF a(s.point(i - 1).at(0).toDouble(), s.point(i - 1).at(1).toDouble());
        const QPointF b(s.point(i).at(0).toDouble(), s.point(i).at(1).toDouble());
        QRectF seg(a, QSizeF(b.x() - a.x(), b.y() - a.y()));
        seg.setWidth(seg.width() == 0 ? 0.01 : seg.width());
        seg.setHeight(seg.height() == 0 ? 0.01 : seg.height());
        if (std::isnan(a.x() + a.y() + b.x() + b.y()) || !box.intersects(seg))
            continue;
        p.drawLine(int(x->pointToPixel(a.x())), int(y->pointToPixel(a.y())), int(x->pointToPixel(b.x())),
                   int(y->pointToPixel(b.y())));
    }
    return img;
}

inline QImage everySegment(ChartSeries &s, QColor color, QSize size)
{
    return everySegment(s, QPen(QBrush(color), 1), size);
}

inline int countColor(const QImage &img, QRgb rgb, const QRect &area = QRect())
{
    const QRect r = area.isNull() ? img.rect() : area.normalized().intersected(img.rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (img.pixel(x, y) | 0xff000000) == (rgb | 0xff000000) && qAlpha(img.pixel(x, y)) == 255;
    return n;
}

// Box around the pixels that differ from the background.
inline QRect inked(const QImage &img, QRgb background = 0)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != background)
                r |= QRect(x, y, 1, 1);
    return r;
}

inline QImage grabImage(QWidget *w) { return w->grab().toImage().convertToFormat(QImage::Format_ARGB32); }
inline QImage plotImage(ChartWidget &w) { return w.d->pixmap.toImage().convertToFormat(QImage::Format_ARGB32); }

// A shown chart of a given size whose queued rescale has run.
inline void showChart(ChartWidget &w, int width = 600, int height = 400)
{
    w.resize(width, height);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
}

// Offscreen QTest::mouseMove carries no buttons, so events are sent by hand.
inline void mouse(QWidget *w, QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, pos, w->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// The chart's own verdict on a mouse event: true when it consumed it.
inline bool filterMouse(ChartWidget &w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                        Qt::MouseButtons held)
{
    QMouseEvent e(type, pos, w.mapToGlobal(pos), button, held, Qt::NoModifier);
    return w.d->eventFilter(&w, &e);
}

// The chart's verdict on a wheel event (true: consumed); one it declines
// goes on to the widget, as a real one would.
inline bool wheel(ChartWidget &w, QPoint pos, int angle = 120, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWheelEvent e(QPointF(pos), QPointF(w.mapToGlobal(pos)), QPoint(), QPoint(0, angle), Qt::NoButton, mods,
                  Qt::NoScrollPhase, false);
    return w.d->eventFilter(&w, &e) || (QApplication::sendEvent(&w, &e), false);
}

// A whole drag; returns whether the chart consumed the release.
inline bool drag(ChartWidget &w, Qt::MouseButton button, QPoint from, QPoint to)
{
    mouse(&w, QEvent::MouseButtonPress, button, from);
    mouse(&w, QEvent::MouseMove, button, to);
    return filterMouse(w, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

// A line series that counts how often the chart renders it.
class CountingSeries : public LineSeries
{
public:
    int draws = 0;
    void draw(QPainter *painter) override
    {
        ++draws;
        LineSeries::draw(painter);
    }
};

inline LineSeries *lineOf(const QList<QPointF> &pts, const QString &name = QString())
{
    auto *s = new LineSeries;
    s->setName(name);
    for (const QPointF &p : pts)
        s->addPoint(p);
    return s;
}

enum Kind { kLine, kPoint, kMinMax, kBar, kBox, kHighLow, kGantt, kKinds };
const char *const kindNames[] = {"line", "point", "minmax", "bar", "box", "highlow", "gantt"};
inline const char *kindName(int k) { return kindNames[k]; }

inline ChartSeries *makeSeries(int kind, int style = 1)
{
    switch (kind) {
    case kLine: return new LineSeries;
    case kPoint: return new PointSeries(PointSeries::PointStyle(style));
    case kMinMax: return new MinMaxPointSeries(MinMaxPointSeries::PointStyle(style));
    case kBar: return new BarSeries;
    case kBox: return new BoxAndWhiskersSeries;
    case kHighLow: return new HighLowSeries;
    default: return new GanttSeries;
    }
}

// Compares a chart's picture with dataDir/name, a reference the Qt 5 build
// drew and we looked at, given the fonts the chart had before any scene set
// its own. TAVRIN_UPDATE_PICTURES=1 rewrites the reference (look at it).
inline void checkPicture(const QImage &got, const QString &dataDir, const QString &name,
                         std::initializer_list<QFont> fonts)
{
    got.save(outputDir() + QLatin1Char('/') + name);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QSKIP("the reference pictures were drawn by the Qt 5 build, whose text differs");
#endif
    for (const QFont &f : fonts)
        if (QFontInfo(f).family() != QLatin1String(f.family() == QLatin1String("Arial") ? "Liberation Sans" : "DejaVu Sans"))
            QSKIP("the reference pictures were drawn with Liberation Sans for Arial and DejaVu Sans otherwise");
    if (qEnvironmentVariableIntValue("TAVRIN_UPDATE_PICTURES"))
        got.save(dataDir + QLatin1Char('/') + name);
    const QImage want = QImage(dataDir + QLatin1Char('/') + name).convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(got == want, qPrintable(name + QStringLiteral(" differs from the reference (new picture in ") + outputDir() + QLatin1Char(')')));
}

inline QByteArray readAll(const QString &fileName)
{
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline bool writeAll(const QString &fileName, const QByteArray &data)
{
    QFile f(fileName);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// A series with free column names and rows, as the exports read them.
class TableSeries : public ChartSeries
{
public:
    TableSeries(const QString &name, const QString &columns, const QList<QList<double>> &rows = {})
        : columns(columns), rows(rows) { setName(name); }
    void draw(QPainter *) override {}
    seriesType type() override { return stLine; }
    int pointsCount() override { return rows.size(); }
    QString dataAxisString() override { return columns; }
    QList<QVariant> point(int i) override
    {
        QList<QVariant> values;
        for (double v : rows.value(i))
            values << QVariant(v);
        return values;
    }
    QIcon icon(int) override { return QIcon(); }
    QString columns;
    QList<QList<double>> rows;
};

} // namespace tavrintest

#endif // TAVRIN_FIXTURES_H
