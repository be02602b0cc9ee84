#ifndef NUMBERTEXT_P_H
#define NUMBERTEXT_P_H

#include <QString>
#include <QVariant>

#include <charconv>
#include <cmath>
#include <cstring>

namespace tavrin {

// The text QVariant::toString() gives a double (QString::number with 'g'
// and the shortest precision that reads back the same value), built from
// std::to_chars' shortest digits without Qt's locale machinery, which costs
// several times more per number in a million-row export. The choice between
// plain and exponent form is Qt's: the exponent form is taken when it is
// shorter or the value is below 1e-4.
inline QString numberText(double v)
{
    if (std::isnan(v))
        return QStringLiteral("nan");
    if (std::isinf(v))
        return v < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
    if (v == 0)
        return QStringLiteral("0"); // -0 too, as Qt writes it

    char buf[40];
    const std::to_chars_result r =
        std::to_chars(buf, buf + sizeof buf - 1, v, std::chars_format::scientific);
    *r.ptr = 0;
    const char *p = buf;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    char digits[24];
    int nd = 0;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.')
            digits[nd++] = *p;
    const int exponent = *p ? std::atoi(p + 1) : 0;
    while (nd > 1 && digits[nd - 1] == '0')
        --nd;
    const int decpt = exponent + 1;

    int cutoff = 6;
    if (decpt > 0) {
        cutoff = nd + 4;
        cutoff += decpt <= 10 ? 1 : (decpt > 100 ? 2 : 1);
        if (nd > decpt)
            ++cutoff;
    }

    char out[48];
    int n = 0;
    if (negative)
        out[n++] = '-';
    if (decpt - 1 < -4 || decpt - 1 >= cutoff) {
        out[n++] = digits[0];
        if (nd > 1) {
            out[n++] = '.';
            for (int i = 1; i < nd; ++i)
                out[n++] = digits[i];
        }
        out[n++] = 'e';
        int e = decpt - 1;
        out[n++] = e < 0 ? '-' : '+';
        if (e < 0)
            e = -e;
        char eb[8];
        int k = 0;
        do {
            eb[k++] = char('0' + e % 10);
            e /= 10;
        } while (e);
        if (k < 2)
            eb[k++] = '0';
        while (k)
            out[n++] = eb[--k];
    } else if (decpt <= 0) {
        out[n++] = '0';
        out[n++] = '.';
        for (int i = 0; i < -decpt; ++i)
            out[n++] = '0';
        for (int i = 0; i < nd; ++i)
            out[n++] = digits[i];
    } else {
        for (int i = 0; i < decpt; ++i)
            out[n++] = i < nd ? digits[i] : '0';
        if (nd > decpt) {
            out[n++] = '.';
            for (int i = decpt; i < nd; ++i)
                out[n++] = digits[i];
        }
    }
    return QString::fromLatin1(out, n);
}

// A cell value as QVariant::toString() would write it.
inline QString numberText(const QVariant &v)
{
    return v.userType() == QMetaType::Double ? numberText(v.toDouble()) : v.toString();
}

} // namespace tavrin

#endif // NUMBERTEXT_P_H
