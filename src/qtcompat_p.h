#ifndef QTCOMPAT_P_H
#define QTCOMPAT_P_H

// The few places where Qt 5.15 and Qt 6 disagree, so that the library's
// sources build against both and behave the same on both.

#include <QDateTime>
#include <QMouseEvent>
#include <QRect>

#include <utility>

namespace QtCompat {

// Seconds since 1970 in an unsigned 32-bit count, with uint(-1) for invalid
// or unrepresentable times: QDateTime::toTime_t of Qt 5, which Qt 6 dropped.
inline uint toTime_t(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return uint(-1);
    const qint64 seconds = dateTime.toMSecsSinceEpoch() / 1000;
    if (quint64(seconds) >= Q_UINT64_C(0xFFFFFFFF))
        return uint(-1);
    return uint(seconds);
}

inline QPoint position(const QMouseEvent *event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->position().toPoint();
#else
    return event->pos();
#endif
}

// QRect::normalized() of Qt 5, which swaps the corners of a rectangle
// dragged up or to the left. Qt 6 swaps its edges instead, which moves each
// of them one pixel inwards: the zoom band would change by a pixel.
inline QRect normalized(const QRect &rect)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    int x1 = rect.left(), x2 = rect.right(), y1 = rect.top(), y2 = rect.bottom();
    if (x2 < x1 - 1)
        std::swap(x1, x2);
    if (y2 < y1 - 1)
        std::swap(y1, y2);
    return QRect(QPoint(x1, y1), QPoint(x2, y2));
#else
    return rect.normalized();
#endif
}

} // namespace QtCompat

#endif // QTCOMPAT_P_H
