#ifndef SERIESDATA_P_H
#define SERIESDATA_P_H

#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QVariant>
#include <QVector>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <type_traits>
#include <vector>

class ChartSeries;
class ChartSeriesPrivate;

namespace tavrin {

// Seconds since 1970-01-01T00:00:00 UTC with the milliseconds kept and
// negative before 1970. Whole seconds come out exact (s * 1000 / 1000.0 is
// exact in doubles), so they equal the old unsigned count wherever that
// had one. An invalid date-time keeps its old marker value.
inline double secondsSinceEpoch(const QDateTime &dt)
{
    if (!dt.isValid())
        return 4294967295.0;
    return double(dt.toMSecsSinceEpoch()) / 1000.0;
}

// The box of a block of points, with the rules of ChartSeries::updateBounds:
// a point with a NaN coordinate takes no part.
struct BlockBounds {
    double minX = std::numeric_limits<double>::quiet_NaN();
    double minY = minX, maxX = minX, maxY = minX;
    bool any = false;
    bool holes = false; // a point with a NaN coordinate was passed over

    void add(double x, double y)
    {
        if (std::isnan(x) || std::isnan(y)) {
            holes = true;
            return;
        }
        if (!any) {
            minX = maxX = x;
            minY = maxY = y;
            any = true;
            return;
        }
        if (x < minX)
            minX = x;
        else if (x > maxX)
            maxX = x;
        if (y < minY)
            minY = y;
        else if (y > maxY)
            maxY = y;
    }
};

// Copies a strided block of count points into out (when not null) and
// returns their box: the same box, zeros' signs included, as
// BlockBounds::add() point by point, built two coordinates at a time.
BlockBounds copyPoints(QPointF *out, const double *x, const double *y, int stride, int count);

// The i-th point of a strided block handed to appendPoints().
struct StridedBlock {
    const double *x;
    const double *y;
    int stride;
    double xAt(int i) const { return x[qptrdiff(i) * stride]; }
    double yAt(int i) const { return y[qptrdiff(i) * stride]; }
};

// Bounds of a point list kept per block of kBlock points, so that the
// bounds after dropping the oldest points come from a few summaries instead
// of a walk over every point. Built on first need and kept up to date by
// appends and front removals; anything that may have changed points in
// place (a mutable reference handed out) drops it.
class BlockSummaries
{
public:
    // Small enough that a pixel column of dense data spans whole blocks.
    static constexpr int kBlock = 64;

    bool isValid() const { return m_valid; }
    // Counts every change, so that what a draw worked out from valid
    // summaries and their points can tell whether it still holds.
    quint64 changes() const { return m_changes; }
    void invalidate()
    {
        ++m_changes;
        m_valid = false;
        m_blocks.clear();
        m_head = 0;
        forgetFirst();
        forgetRest();
    }

    template <typename Container>
    void rebuild(const Container &pts)
    {
        invalidate();
        m_shift = 0;
        m_valid = true;
        for (int i = 0, n = int(pts.size()); i < n; ++i)
            append(i, pts.at(i).x(), pts.at(i).y());
    }

    // The point now at index i of the container was appended.
    void append(int i, double x, double y)
    {
        ++m_changes;
        const int block = (i + m_shift) / kBlock;
        if (block == live())
            m_blocks.emplace_back();
        m_blocks[m_head + size_t(block)].add(x, y);
        if (block == 0)
            forgetFirst();
    }

    // The first `removed` points were dropped.
    void dropFront(int removed)
    {
        ++m_changes;
        m_shift += removed;
        const int whole = qMin(m_shift / kBlock, live());
        if (whole > 0) {
            // Closed up once half is gone, so a stream moves each summary
            // about once.
            m_head += size_t(whole);
            if (m_head * 2 >= m_blocks.size()) {
                m_blocks.erase(m_blocks.begin(), m_blocks.begin() + qptrdiff(m_head));
                m_head = 0;
            }
            forgetFirst();
            forgetRest();
        }
        m_shift -= whole * kBlock;
    }

    // The summary of the block that starts at index i, or null when no
    // block starts there or it runs past `count` points.
    const BlockBounds *blockAt(int i, int count) const
    {
        const int k = i + m_shift;
        if (k % kBlock != 0 || i + kBlock > count)
            return nullptr;
        const int b = k / kBlock;
        return b < live() ? &m_blocks[m_head + size_t(b)] : nullptr;
    }

    // The box of all points, as BlockBounds::add() gives it point by point.
    // A stream that drops its oldest point at every step (its lowest x, when
    // x climbs) asks for it at every step: then what is left of the first
    // block (whose summary still holds what went) comes from boxes of its
    // tails, made once per block, and the other blocks from their union,
    // into which new blocks are folded as they come.
    template <typename Container>
    BlockBounds bounds(const Container &pts)
    {
        if (live() == 0)
            return BlockBounds();
        BlockBounds first;
        const int n = qMin(kBlock - m_shift, int(pts.size()));
        if (!m_tails.empty()) {
            first = m_tails[qMin(size_t(m_shift - m_tailsShift), m_tails.size() - 1)];
        } else if (!m_firstAsked) {
            // Blocks dropped whole ask once per first block: a walk costs less.
            for (int i = 0; i < n; ++i)
                first.add(pts.at(i).x(), pts.at(i).y());
            m_firstAsked = true;
        } else {
            // Each tail is a point before the next tail; an equal value met
            // first wins, as in add().
            m_tails.resize(size_t(n) + 1);
            for (int i = n - 1; i >= 0; --i) {
                BlockBounds tail = m_tails[size_t(i) + 1];
                const double x = pts.at(i).x(), y = pts.at(i).y();
                if (std::isnan(x) || std::isnan(y)) {
                    tail.holes = true;
                } else if (!tail.any) {
                    tail.add(x, y);
                } else {
                    tail.minX = x <= tail.minX ? x : tail.minX;
                    tail.maxX = x >= tail.maxX ? x : tail.maxX;
                    tail.minY = y <= tail.minY ? y : tail.minY;
                    tail.maxY = y >= tail.maxY ? y : tail.maxY;
                }
                m_tails[size_t(i)] = tail;
            }
            m_tailsShift = m_shift;
            first = m_tails.front();
        }
        // Blocks only grow at the end, with points newer than any folded
        // in: folding the last one again, grown, keeps what was there.
        for (int b = qMax(m_restEnd, 2) - 1; b < live(); ++b)
            corners(m_rest, m_blocks[m_head + size_t(b)]);
        m_restEnd = live();
        BlockBounds all;
        corners(all, first);
        corners(all, m_rest);
        return all;
    }

private:
    int live() const { return int(m_blocks.size() - m_head); }
    void forgetFirst()
    {
        m_tails.clear();
        m_firstAsked = false;
    }
    void forgetRest()
    {
        m_rest = BlockBounds();
        m_restEnd = 0;
    }
    static void corners(BlockBounds &all, const BlockBounds &b)
    {
        if (!b.any)
            return;
        all.add(b.minX, b.minY);
        all.add(b.maxX, b.maxY);
    }

    std::vector<BlockBounds> m_blocks;
    size_t m_head = 0; // the first block; those before it were dropped
    int m_shift = 0; // points of the first block that were dropped
    bool m_valid = false;
    quint64 m_changes = 0;
    // m_tails[i]: the box of the first block's points from i on, as they
    // were at shift m_tailsShift; made when the first block is asked for
    // twice.
    std::vector<BlockBounds> m_tails;
    int m_tailsShift = 0;
    bool m_firstAsked = false;
    BlockBounds m_rest; // the union of the blocks after the first ...
    int m_restEnd = 0; // ... up to this one, the last of them as it was
};

// Points in one contiguous array (16 bytes each), with the oldest ones
// dropped by moving a start index; the array is closed up once the dropped
// part is a quarter of it, so a stream that drops as much as it adds costs
// amortised constant time per point and a bounded amount of memory. Raw
// storage rather than a QVector: a block is written once, not zeroed first.
class PointBuffer
{
    static_assert(std::is_trivially_copyable<QPointF>::value, "points are moved as bytes");

public:
    using value_type = QPointF;

    PointBuffer() = default;
    PointBuffer(const PointBuffer &) = delete;
    PointBuffer &operator=(const PointBuffer &) = delete;
    ~PointBuffer() { std::free(m_data); }

    // The most points a buffer holds: 2 GiB, as much as Qt 5's containers.
    static constexpr int maxSize() { return std::numeric_limits<int>::max() / int(sizeof(QPointF)); }

    int size() const { return m_size - m_head; }
    bool isEmpty() const { return size() == 0; }
    const QPointF &at(int i) const
    {
        Q_ASSERT(i >= 0 && i < size());
        return m_data[m_head + i];
    }
    QPointF &ref(int i)
    {
        Q_ASSERT(i >= 0 && i < size());
        return m_data[m_head + i];
    }
    const QPointF *begin() const { return m_data + m_head; }
    const QPointF *end() const { return m_data + m_size; }

    void append(const QPointF &p)
    {
        const QPointF v = p; // p may lie in the array that moves
        if (m_size == m_capacity)
            reserve(m_size + 1);
        m_data[m_size++] = v;
    }
    // Room for n more points at the end, returned for writing.
    QPointF *grow(int n)
    {
        reserve(m_size + n);
        QPointF *out = m_data + m_size;
        m_size += n;
        return out;
    }

    void dropFront(int count)
    {
        m_head += count;
        if (m_head == m_size) {
            m_head = m_size = 0;
        } else if (m_head >= 1024 && m_head * 4 >= m_size) {
            std::memmove(static_cast<void *>(m_data), m_data + m_head, size_t(m_size - m_head) * sizeof(QPointF));
            m_size -= m_head;
            m_head = 0;
        }
    }
    void clear() { m_head = m_size = 0; }
    // Empties the buffer and gives its memory back.
    void release()
    {
        std::free(m_data);
        m_data = nullptr;
        m_head = m_size = m_capacity = 0;
    }

private:
    // At least half as much again, so appends amortise; a first block gets
    // exactly its size, so one large block costs no slack.
    void reserve(int total)
    {
        if (total <= m_capacity)
            return;
        const qint64 wanted = qMax<qint64>(total, qint64(m_capacity) + m_capacity / 2 + 16);
        const int capacity = int(qMin<qint64>(wanted, maxSize()));
        if (capacity < total)
            qBadAlloc();
        void *grown = std::realloc(static_cast<void *>(m_data), size_t(capacity) * sizeof(QPointF));
        if (!grown)
            qBadAlloc();
        m_data = static_cast<QPointF *>(grown);
        m_capacity = capacity;
    }

    QPointF *m_data = nullptr;
    int m_head = 0;
    int m_size = 0;
    int m_capacity = 0;
};

inline void eraseFront(PointBuffer &pts, int count)
{
    pts.dropFront(count);
}

template <typename Container>
void eraseFront(Container &pts, int count)
{
    pts.erase(pts.begin(), pts.begin() + count);
}

// Drops the first count rows; all of them as clear() does, which gives a
// Qt container's memory back.
template <typename Container>
void clearFront(Container &rows, int count)
{
    if (count >= int(rows.size()))
        rows.clear();
    else
        eraseFront(rows, count);
}

// How many more rows a container takes: 2 GiB of rows at the most, as in
// a PointBuffer, which Qt 5's containers can also hold and an int counts.
template <typename Container>
qint64 roomFor(const Container &rows)
{
    return qint64(std::numeric_limits<int>::max() / sizeof(typename Container::value_type)) - qint64(rows.size());
}

// What a kind's row is when it comes as a point (x, y) (fromXY), the
// points of it that widen the bounds (ends, calling f(x, y) for each) and
// its values in the columns the exports write (values). A kind with rows
// of its own specialises it.
template <typename Row>
struct RowTraits;

template <>
struct RowTraits<QPointF> {
    static QPointF fromXY(double x, double y) { return QPointF(x, y); }
    template <typename F>
    static void ends(const QPointF &p, F f) { f(p.x(), p.y()); }
    static QList<QVariant> values(const QPointF &p) { return {p.x(), p.y()}; }
};

// ChartSeries::point(): row i, or an empty list out of range.
template <typename Container>
QList<QVariant> rowAt(const Container &rows, int i)
{
    if (i < 0 || i >= int(rows.size()))
        return QList<QVariant>();
    return RowTraits<typename Container::value_type>::values(rows.at(i));
}

// Appends a strided block of count points as rows made by make(x, y) and
// returns the box of the points; a PointBuffer takes them as they are.
template <typename Container, typename Make>
BlockBounds appendXY(Container &rows, const double *x, const double *y, int stride, int count, Make make)
{
    rows.reserve(rows.size() + count);
    for (int i = 0; i < count; ++i)
        rows.append(make(x[qptrdiff(i) * stride], y[qptrdiff(i) * stride]));
    return copyPoints(nullptr, x, y, stride, count);
}

template <typename Make>
BlockBounds appendXY(PointBuffer &pts, const double *x, const double *y, int stride, int count, Make)
{
    return copyPoints(pts.grow(count), x, y, stride, count);
}

// Drops the first `count` points of pts and returns the bounds of what is
// left, given the bounds `current` of all points before the drop. Only when
// a dropped point lay on one of those bounds are they worked out again,
// from the block summaries.
template <typename Container>
BlockBounds dropFront(Container &pts, int count, const BlockBounds &current, BlockSummaries &sums)
{
    bool onBound = false;
    for (int i = 0; i < count && !onBound; ++i) {
        const double x = pts.at(i).x(), y = pts.at(i).y();
        onBound = x == current.minX || x == current.maxX || y == current.minY || y == current.maxY;
    }
    eraseFront(pts, count);
    if (sums.isValid())
        sums.dropFront(count);
    if (!onBound)
        return current;
    if (!sums.isValid())
        sums.rebuild(pts);
    return sums.bounds(pts);
}

// The number of leading points whose x is less than x; a NaN x ends the run.
template <typename Container>
int countBefore(const Container &pts, double x)
{
    int k = 0;
    for (const int n = int(pts.size()); k < n && pts.at(k).x() < x; ++k) {
    }
    return k;
}

// The storage of the kinds that keep (x, y) points in the order added and
// may drop the oldest ones (a point limit, removeBefore()): line and point
// series. The points live in a plain array until a caller asks for them
// by mutable reference (LineSeries::points(), operator[]), which on Qt 5
// means a QList<QPointF> of one heap node per point: then they move into
// such a list for good, since the caller may hold on to it. The array
// costs 16 bytes a point and no allocation per point.
class PointStream
{
public:
    explicit PointStream(ChartSeries *series) : m_series(series) {}
    virtual ~PointStream() { delete list; }
    PointStream(const PointStream &) = delete;
    PointStream &operator=(const PointStream &) = delete;

    PointBuffer buffer;
    QList<QPointF> *list = nullptr;
    BlockSummaries summaries;
    int maximumPoints = 0;

    QList<QPointF> &asList();

    // Calls f with whichever container holds the points.
    template <typename F>
    auto with(F f)
    {
        return list ? f(*list) : f(buffer);
    }

    int size() const { return list ? list->size() : buffer.size(); }
    const QPointF &at(int i) const { return list ? list->at(i) : buffer.at(i); }
    QPointF &ref(int i) { return list ? (*list)[i] : buffer.ref(i); }

    void append(const QPointF &p)
    {
        if (list)
            list->append(p);
        else
            buffer.append(p);
        if (summaries.isValid())
            summaries.append(size() - 1, p.x(), p.y());
    }

    // After the point (x, y) was appended: the oldest points beyond the
    // limit go, with the new point in the bounds as one change.
    void keepLimit(double x, double y)
    {
        if (maximumPoints > 0 && size() > maximumPoints)
            dropOver(x, y);
    }

    // ChartSeries::appendPoints(), setMaximumPoints() (true when the
    // limit changed), removeBefore() and clear() of the kinds.
    int appendBlock(const double *x, const double *y, int stride, int count);
    bool setMaximumPoints(int count);
    int removeBefore(double x);
    void clear();

protected:
    // The first `count` points are about to go, all of them when count
    // is size(); a kind drops what it keeps beside them.
    virtual void dropping(int count) { Q_UNUSED(count) }
    // clear() is about to announce that every point goes.
    virtual void clearing() {}
    ChartSeriesPrivate *series() const;

private:
    void dropOver(double x, double y);
    // Drops the `count` oldest points, `pending` holding what was just
    // added and is not in the bounds yet, and reports `reported` removed
    // rows: points of a block that go at once never were rows.
    void dropOldest(int count, BlockBounds pending, int reported);

    ChartSeries *m_series;
};

// The value at x on the polyline through the stream's points, by
// bisection; see ChartSeries::valueAt().
double interpolateAt(const PointStream &stream, double x);

} // namespace tavrin

#endif // SERIESDATA_P_H
