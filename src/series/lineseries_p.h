#ifndef LINESERIES_P_H
#define LINESERIES_P_H

#include "lineseries.h"
#include "seriesdata_p.h"

#include <QPointer>
#include <QVector>
#include <memory>

class QPainter;
namespace tavrin {
struct PixelMap;
class FillEnvelope;
struct SpanCache;
}

class LineSeriesPrivate : public tavrin::PointStream
{
public:
    explicit LineSeriesPrivate(LineSeries *series);
    ~LineSeriesPrivate() override;

    LineSeries *const q;
    // Handed out for out-of-range operator[]; reset before each use so a
    // write through it never shows up in a later read.
    QPointF dummy;

    QBrush fillBrush{Qt::NoBrush};
    double fillBaseline = 0;
    QPointer<LineSeries> fillTo;
    QPointer<LineSeries> stackedOn;
    LineSeries::StepMode stepMode = LineSeries::NoSteps;

    bool filled() const { return fillBrush.style() != Qt::NoBrush; }
    // Anything beyond the plain line: such a series leaves the plain path.
    bool shaped() const { return filled() || stepMode != LineSeries::NoSteps || stackedOn; }
    // A partner series counts only while it shares this one's chart.
    LineSeries *partner(const QPointer<LineSeries> &other) const;

    // The value the line is drawn at, at x: its steps held, its base added.
    double drawnValueAt(double x) const;
    // The points as drawn, in value units: stacked, then stepped.
    QVector<QPointF> drawnPoints() const;
    // The y extent that automatic scaling takes: the drawn values, and the
    // baseline of a fill that reaches it.
    double extent(bool upper) const;

    // True with the drawn points in pts; false when the stored points are
    // drawn as they are, their block summaries made ready.
    bool prepare(QVector<QPointF> &pts);
    // The line alone, in the series' pen.
    void stroke(QPainter *painter);
    void drawShaped(QPainter *painter);
    double baselinePixel(const tavrin::PixelMap &my) const;
    // The dense fill's spans of pts, or of the stored points when made is
    // false, those from the cache while they hold.
    void addSpans(tavrin::FillEnvelope &env, bool made, const QVector<QPointF> &pts);
    std::unique_ptr<tavrin::SpanCache> spanCache;
    void fillColumns(QPainter *painter, const tavrin::FillEnvelope &own, const tavrin::FillEnvelope *other, double by);
    void changed(bool extentMoved);
};

#endif // LINESERIES_P_H
