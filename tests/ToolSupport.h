// Running the tools we did not write (rsvg-convert, pdftoppm, pdfinfo,
// admesh, assimp) on what we wrote, and comparing pictures.
#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

// A tool's standard output; a failure of the test when it does not end well.
inline QByteArray RunTool(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " " << arguments.join(' ').toStdString()
                      << " failed: " << p.readAllStandardError().toStdString();
        return {};
    }
    return p.readAllStandardOutput() + p.readAllStandardError();
}

// How a rendering differs from a picture: the share of pixels that differ
// clearly (a channel by more than 96), and those of them more than two
// pixels from anything drawn in either.
struct TDifference {
    double Share;
    int Far;
};
inline TDifference ComparePictures(const QImage& picture, const QImage& rendering) {
    const QImage a = picture.convertToFormat(QImage::Format_RGB32);
    const QImage b = rendering.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(a.size(), b.size());
    if (a.size() != b.size()) return {1, 1};
    const QRgb background = a.pixel(a.width() / 2, a.height() * 3 / 8);
    int differ = 0, far = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q))});
            if (d <= 96) continue;
            ++differ;
            bool nearDrawn = false;
            for (int dy = -2; dy <= 2 && !nearDrawn; ++dy)
                for (int dx = -2; dx <= 2 && !nearDrawn; ++dx) {
                    const int u = x + dx, v = y + dy;
                    if (u >= 0 && v >= 0 && u < a.width() && v < a.height())
                        nearDrawn = a.pixel(u, v) != background || b.pixel(u, v) != background;
                }
            far += !nearDrawn;
        }
    return {double(differ) / (a.width() * a.height()), far};
}
