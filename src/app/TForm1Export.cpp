// Pictures out of the window: "Экспорт рисунка…", "Печать…" and
// "Копировать рисунок", each of the picture of the current mode as the
// window shows it.
#include "app/TForm1.h"

#include "app/Dialogs.h"
#include "app/ErrorReport.h"
#include "document/AtomicFile.h"
#include "document/Limits.h"
#include "model/Export.h"
#include "model/RecentFiles.h"
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
    const QString start =
        Model.FileName.empty()
            ? RecentFiles::LastFolder()
            : QFileInfo(QString::fromStdString(Model.FileName)).path() + "/" +
                  QFileInfo(QString::fromStdString(Model.FileName)).completeBaseName();
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
    ExportPicture(path.toStdString(), format, DocumentInput(), size,
                  [this](int w, int h) { return RenderFrame(w, h, SceneOptions()); });
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
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(11);
    TYxTrees trees;
    const TPlotRequest request = Is2D(mode) ? PictureRequest(input, false, trees) : TPlotRequest{};
    ComposePrintPage(p, p.viewport(), font, FormulaLine(input),
                     [&](QPainter& page, const QRect& square) {
                         if (Is2D(mode))
                             ComposePictureInto(page, square, request);
                         else
                             page.drawImage(square, RenderFrame(1600, 1600, SceneOptions()));
                     });
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
