// Pictures out of the window: "Экспорт рисунка…", "Печать…" and
// "Копировать рисунок", each of the picture of the current mode as the
// window shows it.
#include "app/TForm1.h"

#include "app/Dialogs.h"
#include "app/ErrorReport.h"
#include "app/Export.h"
#include "app/RecentFiles.h"
#include "document/AtomicFile.h"
#include "document/Limits.h"
#include "plot2d/Export2D.h"
#include "plot2d/View2D.h"
#include "view3d/FrameImage.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>

namespace {

bool Is2D(int mode) {
    return mode == pmYx || mode == pmPlane;
}

// A page the printer did not take: its file could not be written, or the
// printer refused it.
QString PrintFailed(const QPrinter& printer) {
    if (!printer.outputFileName().isEmpty())
        return TForm1::tr("Не напечатано: файл «%1» не записать.").arg(printer.outputFileName());
    return TForm1::tr("Не напечатано: принтер «%1» не принял страницу.").arg(printer.printerName());
}

std::string NoPicture() {
    return TForm1::tr("Рисунка нет: сначала выберите режим в меню «Опции».").toStdString();
}

} // namespace

void TForm1::ExportClick() {
    if (Busy()) return;
    const int mode = CurrentPlotMode();
    const std::vector<TExportChoice> choices = ExportChoices(mode);
    if (choices.empty()) throw BuildRefused(NoPicture());
    QStringList filters;
    for (const TExportChoice& c : choices)
        filters << c.Filter;
    QString chosenFilter = filters.first();
    const QString start = FileName.empty()
                              ? RecentFiles::LastFolder()
                              : QFileInfo(QString::fromStdString(FileName)).path() + "/" +
                                    QFileInfo(QString::fromStdString(FileName)).completeBaseName();
    QString path = Dialogs().ExportFileName(this, start, filters, chosenFilter);
    if (path.isEmpty()) return;
    const TExportChoice* choice = &choices.front();
    for (const TExportChoice& c : choices)
        if (c.Filter == chosenFilter) choice = &c;
    // The extension of the format chosen, when the name has none of its own.
    const std::optional<TExportFormat> named = FormatOfName(path);
    if (!named) path += choice->Extension;
    const TExportFormat format = named.value_or(choice->Format);
    const QSize size = format == choice->Format ? choice->Size : QSize();
    ExportPicture(path.toStdString(), format, DocumentInput(), size, SceneOptions());
}

QImage TForm1::PictureOfMode(int side) {
    const int mode = CurrentPlotMode();
    if (Is2D(mode)) {
        TYxTrees trees;
        return PictureImage(PictureRequest(DocumentInput(), false, trees),
                            static_cast<qreal>(side) / 400);
    }
    if (!IsPlotMode(mode)) throw BuildRefused(NoPicture());
    return RenderFrame(side, side, SceneOptions());
}

void TForm1::PrintClick() {
    if (Busy()) return;
    if (!IsPlotMode(CurrentPlotMode())) throw BuildRefused(NoPicture());
    Dialogs().PrintPreview(
        this, [this](QPrinter* printer) { RunCommand([&] { PrintPicture(*printer); }); });
}

void TForm1::PrintPicture(QPrinter& printer) {
    const TPlotInput input = DocumentInput();
    const int mode = CurrentPlotMode();
    QPainter p(&printer);
    if (!p.isActive()) throw FileError(PrintFailed(printer).toStdString());
    // A margin of a twentieth of the page's shorter side all round.
    const QRect page = p.viewport();
    const int margin = std::min(page.width(), page.height()) / 20;
    const QRect area = page.adjusted(margin, margin, -margin, -margin);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(11);
    p.setFont(font);
    const int line = p.fontMetrics().height();
    // The picture as large as the page lets it be, at its aspect ratio, with
    // the formulas in one line under it; the two centred on the page.
    const int side = std::max(1, std::min(area.width(), area.height() - 2 * line));
    const QRect picture(area.x() + (area.width() - side) / 2,
                        area.y() + (area.height() - side - 2 * line) / 2, side, side);
    if (Is2D(mode)) {
        // Exactly the plot area's picture: what lies beyond its frame (the
        // branches of a pole, a label at the edge) is cut at the frame, as
        // the plot area and the PNG cut it.
        TYxTrees trees;
        const TPlotRequest request = PictureRequest(input, false, trees);
        p.save();
        p.setClipRect(picture);
        p.translate(picture.topLeft());
        p.scale(static_cast<qreal>(side) / PlotWidth, static_cast<qreal>(side) / PlotHeight);
        ComposePicture(p, request);
        p.restore();
    } else {
        p.drawImage(picture, RenderFrame(1600, 1600, SceneOptions()));
    }
    const QRect text(area.x(), picture.bottom() + line / 2, area.width(), line);
    p.setPen(Qt::black);
    p.drawText(text, Qt::AlignHCenter | Qt::AlignTop,
               p.fontMetrics().elidedText(FormulaLine(input), Qt::ElideRight, area.width()));
    if (!p.end()) throw FileError(PrintFailed(printer).toStdString());
}

void TForm1::CopyClick() {
    if (Busy()) return;
    auto* data = new QMimeData;
    data->setImageData(PictureOfMode(400));
    if (Is2D(CurrentPlotMode())) {
        TYxTrees trees;
        data->setData(QStringLiteral("image/svg+xml"),
                      PictureSvg(PictureRequest(DocumentInput(), false, trees)));
    }
    QApplication::clipboard()->setMimeData(data);
}
