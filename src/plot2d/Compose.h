// The composition of the 2D picture on an off-screen image: background, axes,
// grid with labels, then (after the graphs) the border and the zoom box.
#pragma once

#include "document/Settings.h"
#include "plot2d/Sampling.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPolygon>
#include <QString>

#include <algorithm>

// A colour setting (0x00BBGGRR) as Qt's colour, and back.
QColor ToQColor(TColorValue c);
TColorValue FromQColor(const QColor& c);

// The font of the labels; fixed so that pictures do not depend on the desktop.
QFont LabelFont();

// Draws text with its top-left corner at (x, y) on an opaque white box.
void DrawLabel(QPainter& p, int x, int y, const QString& text, const QColor& colour);

struct TPictureOptions {
    bool Axes = true; // menu "Рисовать оси координат"
    bool Grid = true; // "Вспомогательная сетка"
};

// The grid lines a background was drawn with, each way.
struct TGridStatistics {
    int VerticalLines = 0;
    int HorizontalLines = 0;
};

// Background, axes and grid of the current view (steps before the graphs).
TGridStatistics ComposeBackground(QPainter& p, const TPictureOptions& options);

// The border and the zoom box (steps after the graphs).
void ComposeBorder(QPainter& p);

// A pen that draws the walks' polylines with one-pixel lines: each run of
// joined points goes to the painter as polylines of at most `chunk` points
// (each starting with the last segment of the one before), so that a long
// curve never waits whole in memory.
class TPainterPen : public TCurvePen {
  public:
    explicit TPainterPen(QPainter& p, int chunk = 4096) : p_(p), chunk_(std::max(chunk, 3)) {}
    ~TPainterPen() override { Flush(); }
    void MoveTo(int x, int y) override {
        Flush();
        run_.append(QPoint(x, y));
    }
    void LineTo(int x, int y) override {
        // A point on the pixel of the last one adds nothing to draw.
        if (!run_.isEmpty() && run_.last() == QPoint(x, y)) return;
        run_.append(QPoint(x, y));
        if (run_.size() >= chunk_) {
            // The next piece repeats the last segment, so that every joint
            // lies inside some piece, as it lies inside the whole polyline.
            const QPoint before = run_[run_.size() - 2], last = run_.last();
            Flush();
            run_.append(before);
            run_.append(last);
        }
    }
    void Flush() {
        if (run_.size() >= 2) p_.drawPolyline(run_);
        run_.clear();
    }

  private:
    QPainter& p_;
    int chunk_;
    QPolygon run_;
};
