// The 2D picture as files: PNG at a whole-number scale of the plot area, SVG
// with the curves as paths and the labels as text, and PDF of one page the
// size of the picture. All three compose the same request as the plot area.
#pragma once

#include "plot2d/Picture.h"

#include <QByteArray>

// At `scale` times the plot area's pixels (a whole number for the window's
// choices; any scale from the command line's --size).
QByteArray PicturePng(const TPlotRequest& request, qreal scale = 1, QSize pixels = {});
QByteArray PictureSvg(const TPlotRequest& request);
QByteArray PicturePdf(const TPlotRequest& request);
