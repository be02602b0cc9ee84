#ifndef POINTSERIES_P_H
#define POINTSERIES_P_H

#include "pointseries.h"
#include "markerstamp_p.h"
#include "seriesdata_p.h"

#include <QBrush>
#include <QIcon>
#include <QMap>
#include <QPen>
#include <QPixmap>
#include <QPointF>
#include <QString>
#include <QVector>

#include <cmath>
#include <limits>
#include <set>
#include <utility>

namespace tavrin {

// Tells whether a point equal to a stored one under QPointF's fuzzy
// equality was stored before, without scanning every stored point. Points
// are kept ordered by (x, y); a query looks only at stored x values close
// enough to compare equal, and for each of those only at close y values, and
// then applies QPointF's own operator== so the outcome is exactly that of a
// full scan. NaN equals nothing and is never stored here: as a key it would
// break the order. A point with an infinity is not equal to itself, so the
// same key may be stored more than once and is counted.
class FuzzyPointIndex
{
public:
    void insert(const QPointF &p)
    {
        if (!std::isnan(p.x()) && !std::isnan(p.y()))
            m_keys.emplace(p.x(), p.y());
    }

    bool contains(const QPointF &p) const
    {
        if (std::isnan(p.x()) || std::isnan(p.y()))
            return false;
        constexpr double inf = std::numeric_limits<double>::infinity();
        const Window xw = window(p.x()), yw = window(p.y());
        auto it = m_keys.lower_bound(Key(xw.lo, -inf));
        while (it != m_keys.end() && it->first <= xw.hi) {
            const double sx = it->first;
            for (auto j = m_keys.lower_bound(Key(sx, yw.lo));
                 j != m_keys.end() && j->first == sx && j->second <= yw.hi; ++j) {
                if (QPointF(j->first, j->second) == p)
                    return true;
            }
            it = m_keys.upper_bound(Key(sx, inf));
        }
        return false;
    }

    void clear() { m_keys.clear(); }

    void remove(const QPointF &p)
    {
        if (std::isnan(p.x()) || std::isnan(p.y()))
            return;
        const auto it = m_keys.find(Key(p.x(), p.y()));
        if (it != m_keys.end())
            m_keys.erase(it);
    }
    bool isEmpty() const { return m_keys.empty(); }

    struct Window {
        double lo;
        double hi;
    };

    // The values that may compare equal to v. qFuzzyCompare admits
    // |a - b| <= min(|a|, |b|) * 1e-12, and the zero rule |a - b| <= 1e-12
    // when one side is 0, which only values within 1e-12 of 0 can meet; the
    // windows leave room for rounding, as the final test is the exact one.
    // Infinities follow the same formula: an infinity is not equal to
    // itself (inf - inf is NaN) but is to its opposite (|-inf - inf| * 1e12
    // <= inf).
    static Window window(double v)
    {
        constexpr double inf = std::numeric_limits<double>::infinity();
        if (std::isinf(v))
            return v > 0 ? Window{-inf, -inf} : Window{inf, inf};
        const double a = std::fabs(v);
        const double r = a < 2e-12 ? 2e-12 : a * 4e-12;
        return Window{v - r, v + r};
    }

private:
    using Key = std::pair<double, double>;
    std::multiset<Key> m_keys;
};

// FuzzyPointIndex for kinds that also take blocks. Blocks go in without
// the index, which is rebuilt from the stored points when a single point next
// needs it. It holds every stored point, also those of a block equal to
// others: fuzzy equality is not transitive, so a point equal to one of
// them may equal no other, and dropping one takes exactly its own key.
//
// Points arriving in ascending x, as most do, stay out of the index: the
// newest stored points whose x values climb by more than the fuzzy window
// form a tail that a query searches by bisection, and a point clearly right
// of the tail can equal none of it. A point that cannot join the tail moves
// the tail into the index.
class LazyPointIndex
{
public:
    // toPoint(i) is the stored point i as a QPointF; `stored` points are
    // stored, and p is stored next when the answer is true.
    template <typename ToPoint>
    bool insertIfNew(const QPointF &p, int stored, ToPoint toPoint)
    {
        if (m_stale || m_tail > stored) {
            m_index.clear();
            for (int i = 0; i < stored; ++i)
                m_index.insert(toPoint(i));
            m_tail = stored;
            m_stale = false;
        }
        const bool nan = std::isnan(p.x()) || std::isnan(p.y());
        if (!nan && ((!m_index.isEmpty() && m_index.contains(p)) || inTail(p, stored, toPoint)))
            return false;
        const double x = p.x();
        if (!nan && std::isfinite(x)
            && (m_tail == stored || FuzzyPointIndex::window(x).lo > toPoint(stored - 1).x()))
            return true; // p joins the tail
        for (int i = m_tail; i < stored; ++i)
            m_index.insert(toPoint(i));
        m_index.insert(p);
        m_tail = stored + 1;
        return true;
    }

    void blockAdded() { m_stale = true; }

    // The first `count` stored points are about to be dropped.
    template <typename ToPoint>
    void dropping(int count, ToPoint toPoint)
    {
        if (m_stale)
            return;
        for (int i = 0, n = qMin(count, m_tail); i < n; ++i)
            m_index.remove(toPoint(i));
        m_tail = qMax(m_tail - count, 0);
    }

    void clear()
    {
        m_index.clear();
        m_tail = 0;
        m_stale = false;
    }

private:
    template <typename ToPoint>
    bool inTail(const QPointF &p, int stored, ToPoint toPoint) const
    {
        if (m_tail == stored)
            return false;
        const FuzzyPointIndex::Window w = FuzzyPointIndex::window(p.x());
        if (w.lo > toPoint(stored - 1).x())
            return false;
        int lo = m_tail, hi = stored;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (toPoint(mid).x() < w.lo)
                lo = mid + 1;
            else
                hi = mid;
        }
        for (; lo < stored && toPoint(lo).x() <= w.hi; ++lo)
            if (toPoint(lo) == p)
                return true;
        return false;
    }

    FuzzyPointIndex m_index;
    int m_tail = 0; // the first stored point of the tail
    bool m_stale = false;
};

// The duplicate index of a kind, over its stored points but those a running
// clear() announced gone (`leaving`, the series' own count): a point that a
// cleared() receiver adds is compared with what stays, and stored when
// equal to a point that goes. toPoint(i) is stored point i, as for
// LazyPointIndex.
class DuplicateIndex
{
public:
    explicit DuplicateIndex(const int *leaving) : m_leaving(leaving) {}

    template <typename ToPoint>
    bool insertIfNew(const QPointF &p, int stored, ToPoint toPoint)
    {
        return m_index.insertIfNew(p, stored - *m_leaving, staying(toPoint));
    }
    void blockAdded() { m_index.blockAdded(); }
    // clear() is about to announce the stored points gone.
    void clearing() { m_index.clear(); }
    // The first count of the stored points are about to be dropped.
    template <typename ToPoint>
    void dropping(int count, int stored, ToPoint toPoint)
    {
        if (count == stored)
            m_index.clear();
        else if (count > *m_leaving)
            m_index.dropping(count - *m_leaving, staying(toPoint));
    }

private:
    template <typename ToPoint>
    auto staying(ToPoint toPoint) const
    {
        return [toPoint, k = *m_leaving](int i) { return toPoint(k + i); };
    }

    LazyPointIndex m_index;
    const int *m_leaving;
};

// The pre-rendered marker shared by the marker series kinds: a size x size
// image holding a square or a circle in the given pen and brush, drawn at
// the given device pixel ratio.
QPixmap markerImage(int size, bool square, const QPen &pen, const QBrush &brush,
                    qreal ratio = 1.0);

// The marker drawn again for a high-density painter, kept until the ratio
// or the 1x marker it was made from changes.
struct DenseMarker {
    QPixmap image;
    qint64 source = 0;

    const QPixmap &at(const QPixmap &marker, qreal ratio, int size, bool square, const QPen &pen,
                      const QBrush &brush)
    {
        if (ratio == 1.0)
            return marker;
        if (image.isNull() || source != marker.cacheKey() || image.devicePixelRatioF() != ratio) {
            image = markerImage(size, square, pen, brush, ratio);
            source = marker.cacheKey();
        }
        return image;
    }
};

} // namespace tavrin

class PointSeriesPrivate : public tavrin::PointStream
{
public:
    explicit PointSeriesPrivate(PointSeries *series);

    QMap<int, QString> labels;
    QPixmap marker;
    tavrin::DenseMarker denseMarker;
    tavrin::MarkerStamp stamp;
    double halfWidth = 3.5;
    double halfHeight = 3.5;
    PointSeries::PointStyle style = PointSeries::psPoint;
    int size = 7;
    bool vectorRendering = false;

    tavrin::DuplicateIndex index;

    bool insertIfNew(const QPointF &p)
    {
        return index.insertIfNew(p, buffer.size(), [this](int i) { return buffer.at(i); });
    }

    // Stores p, unless an equal point is stored, with its label when it
    // has one; the limit applies.
    void add(const QPointF &p, const QString *label);
    // The look changed: the marker is made again when its image changed,
    // and the chart renders.
    void restyled(bool newMarker);

protected:
    void dropping(int count) override;
    void clearing() override { index.clearing(); }
};

#endif // POINTSERIES_P_H
