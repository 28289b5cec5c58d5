#include "plot2d/Compose.h"

#include "engine/Engine.h"
#include "plot2d/View2D.h"

#include <QFontMetrics>
#include <QPen>

#include <algorithm>
#include <cmath>

QColor ToQColor(TColorValue c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TColorValue FromQColor(const QColor& c) {
    return static_cast<TColorValue>(c.red() | c.green() << 8 | c.blue() << 16);
}

QFont LabelFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void DrawLabel(QPainter& p, int x, int y, const QString& text, const QColor& colour) {
    const QFontMetrics metrics(p.font());
    const QRect box(x, y, metrics.horizontalAdvance(text), metrics.height());
    p.fillRect(box, Qt::white);
    p.setPen(colour);
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
}

namespace {

constexpr int LabelMargin = 300; // pixels: a label can show though its line is that far off
constexpr int MaxGridLines = 100000;

// Visits the multiples of `step` that the grid walk from +step upward (or
// from -step downward) reaches before `end`, beginning at the first one
// that can be seen within [lo, hi]. Repeated addition from a multiple gives
// the same exact multiples as from the step itself.
template <typename Visit>
void WalkGrid(double step, bool up, double end, double lo, double hi, Visit visit) {
    if (!(step > 0) || !std::isfinite(step)) return; // no usable grid for this view
    double v = up ? step : -step;
    if (up && lo > v) v = std::floor(lo / step) * step;
    if (!up && hi < v) v = std::ceil(hi / step) * step;
    for (int count = 0; count < MaxGridLines; ++count) {
        if (up ? !(v <= end) : !(v >= end)) return;
        if (up ? v > hi : v < lo) return; // the rest is out of sight
        visit(v);
        const double next = up ? v + step : v - step;
        if (next == v) return;
        v = next;
    }
}

} // namespace

TGridStatistics ComposeBackground(QPainter& p, const TPictureOptions& options) {
    const int W = PlotWidth, H = PlotHeight;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(LabelFont());

    p.setPen(QPen(Qt::black, 0));
    p.setBrush(ToQColor(BackgroundColor));
    p.drawRect(0, 0, W - 1, H - 1);
    p.setBrush(Qt::NoBrush);

    const int x0 = WorldToPixelX(0);
    const int y0 = WorldToPixelY(0);
    // The grid labels take the font colour only while the axes are drawn.
    QColor labelColour = Qt::black;

    if (options.Axes) {
        p.setPen(QPen(ToQColor(AxesColor), 0));
        p.drawLine(0, y0, W, y0);
        p.drawLine(x0, H, x0, 0);
        p.drawLine(W, y0, W - 20, y0 - 5);
        p.drawLine(W, y0, W - 20, y0 + 5);
        p.drawLine(x0, 0, x0 - 5, 20);
        p.drawLine(x0, 0, x0 + 5, 20);
        labelColour = ToQColor(FontColor);
        DrawLabel(p, W - 20, y0 - 25, QStringLiteral("x"), labelColour);
        DrawLabel(p, x0 - 25, 5, QStringLiteral("y"), labelColour);
    }

    TGridStatistics statistics;
    if (options.Grid) {
        QPen gridPen(ToQColor(ClSilver), 0);
        gridPen.setDashPattern({1, 1});
        auto label = [&](int x, int y, double v) {
            DrawLabel(p, x, y, QString::fromStdString(FormatNumber(v)), labelColour);
            p.setPen(gridPen);
        };
        p.setPen(gridPen);
        label(x0 + 5, y0 + 5, 0.0);

        const int ly = std::min(std::max(y0 + 5, 5), H - 15);
        const double xa = PixelToWorldX(-LabelMargin), xb = PixelToWorldX(W + LabelMargin);
        const double xlo = std::min(xa, xb), xhi = std::max(xa, xb);
        auto vertical = [&](double v) {
            const int px = WorldToPixelX(v);
            p.drawLine(px, H, px, 0);
            label(px + 5, ly, v);
            ++statistics.VerticalLines;
        };
        WalkGrid(GridStep, true, ViewX2, xlo, xhi, vertical);
        WalkGrid(GridStep, false, ViewX1, xlo, xhi, vertical);

        const int lx = std::min(std::max(x0 + 5, 10), W - 35);
        const double ya = PixelToWorldY(-LabelMargin), yb = PixelToWorldY(H + LabelMargin);
        const double ylo = std::min(ya, yb), yhi = std::max(ya, yb);
        auto horizontal = [&](double v) {
            const int py = WorldToPixelY(v);
            p.drawLine(0, py, W, py);
            label(lx, py + 5, v);
            ++statistics.HorizontalLines;
        };
        WalkGrid(GridStep, true, ViewY2, ylo, yhi, horizontal);
        WalkGrid(GridStep, false, ViewY1, ylo, yhi, horizontal);
    }
    p.setPen(QPen(Qt::black, 0, Qt::SolidLine));
    return statistics;
}

void ComposeBorder(QPainter& p) {
    const int W = PlotWidth, H = PlotHeight;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 0));
    p.drawRect(0, 0, W - 1, H - 1);
    if (BoxRight > BoxLeft && BoxBottom > BoxTop)
        p.drawRect(BoxLeft, BoxTop, BoxRight - BoxLeft - 1, BoxBottom - BoxTop - 1);
}
