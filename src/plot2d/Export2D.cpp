#include "plot2d/Export2D.h"

#include "document/Limits.h"
#include "plot2d/View2D.h"
#include "texts/Texts.h"

#include <QBuffer>
#include <QHash>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace {

// The picture with a colour table, when it has at most 256 colours (it has
// a handful: no line or letter is antialiased): a quarter of the bytes to
// compress, the same pixels. Null when it has more.
QImage Indexed(const QImage& image) {
    QImage indexed(image.size(), QImage::Format_Indexed8);
    if (indexed.isNull()) return {}; // no memory for it: the picture as it is
    QList<QRgb> table;
    QHash<QRgb, uchar> index;
    for (int y = 0; y < image.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* to = indexed.scanLine(y);
        QRgb last = 0;
        uchar lastIndex = 0;
        bool known = false;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = from[x] | 0xFF000000;
            if (!known || c != last) {
                auto it = index.constFind(c);
                if (it == index.constEnd()) {
                    if (table.size() == 256) return {};
                    it = index.insert(c, static_cast<uchar>(table.size()));
                    table.push_back(c);
                }
                last = c, lastIndex = *it, known = true;
            }
            to[x] = lastIndex;
        }
    }
    indexed.setColorTable(table);
    return indexed;
}

} // namespace

QByteArray PicturePng(const TPlotRequest& request, qreal scale, QSize pixels) {
    const QImage picture = PictureImage(request, scale, pixels);
    QImage indexed = Indexed(picture);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // A middling compression: the picture is mostly one colour, and a harder
    // one costs several times the time for a few per cent of the bytes.
    if (!(indexed.isNull() ? picture : indexed).save(&buffer, "PNG", 50) || bytes.isEmpty())
        throw BuildRefused(NoPictureMemoryMessage(picture.width(), picture.height()));
    return bytes;
}

QByteArray PictureSvg(const TPlotRequest& request) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(PlotWidth, PlotHeight));
    svg.setViewBox(QRect(0, 0, PlotWidth, PlotHeight));
    svg.setTitle(QString::fromStdString(texts::Translate("Export2D", "Графики функций")));
    QPainter painter(&svg);
    if (!painter.isActive()) throw BuildRefused(NoPictureMemoryMessage(PlotWidth, PlotHeight));
    // The picture's one-pixel lines run along pixel centres, as on the
    // screen; unshifted, an SVG renderer spreads each over two pixels.
    painter.translate(0.5, 0.5);
    ComposePicture(painter, request);
    painter.end();
    return bytes;
}

QByteArray PicturePdf(const TPlotRequest& request) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    // One page the size of the picture, a pixel a point, no margin.
    pdf.setResolution(72);
    pdf.setPageSize(QPageSize(QSizeF(PlotWidth, PlotHeight), QPageSize::Point,
                              QStringLiteral("picture"), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(QString::fromStdString(texts::Translate("Export2D", "Графики функций")));
    pdf.setCreator(QString::fromStdString(texts::Translate("Export2D", "Графики функций")));
    // Here no half-pixel shift: the PDF renderer puts hairlines on pixel
    // centres itself.
    QPainter painter(&pdf);
    if (!painter.isActive()) throw BuildRefused(NoPictureMemoryMessage(PlotWidth, PlotHeight));
    ComposePicture(painter, request);
    painter.end();
    return bytes;
}
