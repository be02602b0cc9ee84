#ifndef TAVRIN_TESTUTIL_H
#define TAVRIN_TESTUTIL_H

#include <QDir>
#include <QImage>
#include <QString>
#include <QWidget>

namespace tavrintest {

// Folder for images that tests write so a developer can look at them.
inline QString outputDir()
{
    QString dir = qEnvironmentVariable("TAVRIN_TEST_OUTPUT");
    if (dir.isEmpty())
        dir = QDir::currentPath() + QStringLiteral("/test-output");
    QDir().mkpath(dir);
    return dir;
}

inline QImage grabImage(QWidget *w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

inline int countColor(const QImage &img, QRgb rgb, const QRect &area = QRect())
{
    const QRect r = area.isNull() ? img.rect() : area.intersected(img.rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((img.pixel(x, y) & 0xffffff) == (rgb & 0xffffff) && qAlpha(img.pixel(x, y)) == 255)
                ++n;
    return n;
}

} // namespace tavrintest

#endif // TAVRIN_TESTUTIL_H
