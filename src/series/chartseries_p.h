#ifndef CHARTSERIES_P_H
#define CHARTSERIES_P_H

#include "chartseries.h"
#include "chartseriesowner_p.h"
#include "seriesdata_p.h"

#include <QBrush>
#include <QPen>
#include <functional>
#include <limits>

class ChartSeriesPrivate
{
public:
    explicit ChartSeriesPrivate(ChartSeries *series) : q(series) {}

    ChartSeries *const q;
    QString name;
    bool visible = true;
    bool legendVisible = true;
    bool autoColor = true;
    QPen pen{QBrush(Qt::black), 1, Qt::SolidLine};
    QBrush brush{Qt::red, Qt::SolidPattern};
    Axis *xAxis = nullptr;
    Axis *yAxis = nullptr;
    ChartSeriesOwner *owner = nullptr;
    double minX = std::numeric_limits<double>::quiet_NaN();
    double maxX = std::numeric_limits<double>::quiet_NaN();
    double minY = std::numeric_limits<double>::quiet_NaN();
    double maxY = std::numeric_limits<double>::quiet_NaN();
    int tooltipMode = -1;
    // Set by a kind whose drawn values reach past its points (a stacked or
    // filled line): minY() and maxY() then ask it, so that automatic
    // scaling takes them in.
    double (*yExtent)(const ChartSeries *series, bool upper) = nullptr;
    // The first rows, which a running clear() announced gone: the
    // receivers of cleared() still see them, but the rows they add are
    // compared with and drop only what stays.
    int leaving = 0;
    // How deep the series is in code not its own (its signals' receivers,
    // its chart): a chart removing it meanwhile must not delete it under
    // its own call.
    int busy = 0;

    // Held while the series calls out.
    class Busy
    {
    public:
        explicit Busy(ChartSeriesPrivate *d) : m_d(d) { ++m_d->busy; }
        ~Busy() { --m_d->busy; }
        Busy(const Busy &) = delete;
        Busy &operator=(const Busy &) = delete;

    private:
        ChartSeriesPrivate *m_d;
    };

    void resetBounds()
    {
        minX = maxX = minY = maxY = std::numeric_limits<double>::quiet_NaN();
    }

    // ChartSeries::updateBlockBounds(), resetBounds() and finishBlock().
    void widen(const tavrin::BlockBounds &box);
    void setBounds(const tavrin::BlockBounds &box);
    void blockDone(int first, int count);
    // updateBounds() tells the chart; out of line, so that a point inside
    // the bounds costs no more than the comparisons.
    Q_DECL_COLD_FUNCTION void boundsGrew(double x, double y);

    // Whether a block of count rows fits beside what rows holds; one that
    // does not is refused with a warning before anything is allocated.
    template <typename Rows>
    bool fits(const Rows &rows, int count) const
    {
        if (count <= tavrin::roomFor(rows))
            return true;
        refuse(count);
        return false;
    }
    void refuse(int count) const;

    // The storage code every kind shares, for kinds that keep their rows in
    // a Qt container (or a PointBuffer) and describe them with RowTraits.

    // appendPoints(): the block's points as rows, the bounds widened once.
    template <typename Rows>
    int appendXY(Rows &rows, const double *x, const double *y, int stride, int count)
    {
        if (!fits(rows, count))
            return 0;
        const int first = int(rows.size());
        widen(tavrin::appendXY(rows, x, y, stride, count, tavrin::RowTraits<typename Rows::value_type>::fromXY));
        return trimBlock(rows, first, count, rowEnds<Rows>());
    }

    // A kind's own block call: bounds widened once, one pointsAdded().
    template <typename Rows, typename Block>
    void addRows(Rows &rows, const Block &block)
    {
        const int count = int(block.size());
        if (count == 0 || !fits(rows, count))
            return;
        const int first = int(rows.size());
        rows.reserve(first + count);
        tavrin::BlockBounds box;
        for (const auto &row : block) {
            rows.append(row);
            tavrin::RowTraits<typename Rows::value_type>::ends(row, [&box](double x, double y) { box.add(x, y); });
        }
        widen(box);
        blockDone(first, trimBlock(rows, first, count, rowEnds<Rows>()));
    }

    // A kind's own single row: each end goes through the base addXY().
    template <typename Rows>
    void addRow(Rows &rows, const typename Rows::value_type &row)
    {
        rows.append(row);
        tavrin::RowTraits<typename Rows::value_type>::ends(row, [this](double x, double y) { q->ChartSeries::addXY(x, y); });
        keepRowLimit(rows, rowEnds<Rows>());
    }

    // clear() of a kind: drop(k) drops its first k rows. Rows a cleared()
    // receiver adds stay, with the bounds they gave.
    template <typename Drop>
    void clearRowsBy(Drop drop)
    {
        leaving = q->pointsCount();
        q->ChartSeries::clear();
        if (leaving > 0)
            drop(leaving);
        leaving = 0;
    }

    template <typename Rows>
    void clearRows(Rows &rows)
    {
        clearRowsBy([&rows](int k) { tavrin::clearFront(rows, k); });
    }

    // Strip charts of the kinds that keep rows of their own: at most
    // maximumRows rows (0: no limit), the oldest going first, and
    // removeBefore(). `ends` names the points of a row that widen the
    // bounds, as the kind's own bounds have them; the bounds are worked out
    // again only when a row that goes lay on them.
    int maximumRows = 0;
    // A kind drops what it keeps beside the first k rows, before they go.
    std::function<void(int)> droppingRows;

    template <typename Rows>
    static auto rowEnds()
    {
        return [](const typename Rows::value_type &row, auto f) { tavrin::RowTraits<typename Rows::value_type>::ends(row, f); };
    }

    // Drops the first count rows, reporting `reported` of them removed
    // (rows of a block that go at once never were rows).
    template <typename Rows, typename Ends>
    void dropRows(Rows &rows, int count, int reported, Ends ends)
    {
        count = qMin(count, int(rows.size()));
        if (count <= 0)
            return;
        bool onBound = false;
        const auto onEdge = [&](double x, double y) {
            onBound = onBound || x == minX || x == maxX || y == minY || y == maxY;
        };
        for (int i = 0; i < count && !onBound; ++i)
            ends(rows.at(i), onEdge);
        if (droppingRows)
            droppingRows(count);
        tavrin::clearFront(rows, count);
        if (onBound) {
            tavrin::BlockBounds box;
            const auto add = [&box](double x, double y) { box.add(x, y); };
            // Rows a running clear() announced gone no longer count.
            for (int i = qMax(0, leaving - count), n = int(rows.size()); i < n; ++i)
                ends(rows.at(i), add);
            setBounds(box);
        }
        const int announced = qMin(count, leaving);
        leaving -= announced;
        if (reported - announced > 0) {
            const Busy busy(this);
            emit q->pointsRemoved(reported - announced);
        }
    }

    template <typename Rows, typename Ends>
    void keepRowLimit(Rows &rows, Ends ends)
    {
        if (maximumRows > 0 && int(rows.size()) > maximumRows)
            dropRows(rows, int(rows.size()) - maximumRows, int(rows.size()) - maximumRows, ends);
    }

    // After a block of count rows went in from row first: the rows kept of
    // it, for pointsAdded().
    template <typename Rows, typename Ends>
    int trimBlock(Rows &rows, int first, int count, Ends ends)
    {
        const int over = maximumRows > 0 ? int(rows.size()) - maximumRows : 0;
        if (over <= 0)
            return count;
        const int old = qMin(over, first);
        dropRows(rows, over, old, ends);
        return count - (over - old);
    }

    // setMaximumPoints() of these kinds; true when the limit changed.
    template <typename Rows, typename Ends>
    bool setRowLimit(Rows &rows, int count, Ends ends)
    {
        count = qMax(count, 0);
        if (count == maximumRows)
            return false;
        maximumRows = count;
        keepRowLimit(rows, ends);
        return true;
    }

    // removeBefore() of these kinds: the leading rows whose x (the first
    // end's) is less than x; a NaN x ends the run.
    template <typename Rows, typename Ends>
    int removeRowsBefore(Rows &rows, double x, Ends ends)
    {
        int k = 0;
        for (const int n = int(rows.size()); k < n; ++k) {
            double rx = std::numeric_limits<double>::quiet_NaN();
            bool firstEnd = true;
            rowEnds<Rows>()(rows.at(k), [&](double ex, double) {
                if (firstEnd)
                    rx = ex;
                firstEnd = false;
            });
            if (!(rx < x))
                break;
        }
        dropRows(rows, k, k, ends);
        return k;
    }
};

#endif // CHARTSERIES_P_H
