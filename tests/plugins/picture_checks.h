// What the plugin checks (image_check.cpp, ../kio/kio_check.cpp) share: faults counted and
// printed, and the first pixel where two pictures differ. Header only, so that each check
// builds against its own Qt (5 or 6).
#pragma once

#include <QImage>
#include <QString>
#include <cstdio>

namespace picture_checks {

inline int faults = 0;

inline void fault(const QString& file, const QString& what) {
    std::printf("FAIL %s: %s\n", qPrintable(file), qPrintable(what));
    ++faults;
}

// The first pixel where two pictures differ, or empty when they do not.
inline QString difference(const QImage& got, const QImage& want) {
    if (got.size() != want.size())
        return QString("%1 x %2, not %3 x %4")
            .arg(got.width())
            .arg(got.height())
            .arg(want.width())
            .arg(want.height());
    const QImage a = got.convertToFormat(QImage::Format_RGB32);
    const QImage b = want.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QString("pixel %1,%2 is %3, not %4")
                    .arg(x)
                    .arg(y)
                    .arg(a.pixel(x, y), 6, 16)
                    .arg(b.pixel(x, y), 6, 16);
    return {};
}

} // namespace picture_checks
