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
#include "view3d/FrameImage.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>

namespace {

// A page the printer did not take: its file could not be written, or the
// printer refused it.
QString PrintFailed(const QPrinter& printer) {
    if (!printer.outputFileName().isEmpty())
        return TForm1::tr("Не напечатано: файл «%1» не записать.").arg(printer.outputFileName());
    return TForm1::tr("Не напечатано: принтер «%1» не принял страницу.").arg(printer.printerName());
}

} // namespace

void TForm1::ExportClick() {
    if (Busy()) return;
    const std::vector<TExportChoice> choices = ExportChoices(CurrentPlotMode());
    if (choices.empty()) throw BuildRefused(NoPictureMessage());
    QStringList filters;
    for (const TExportChoice& c : choices)
        filters << c.Filter;
    QString chosenFilter = filters.first();
    const QString path = Dialogs().ExportFileName(
        this, ExportStart(Model.FileName, RecentFiles::LastFolder()), filters, chosenFilter);
    if (path.isEmpty()) return;
    const TExportTarget target = ExportTarget(path, choices, chosenFilter);
    ExportPicture(target.Path.toStdString(), target.Format, DocumentInput(), target.Size, Frame());
}

TFrame TForm1::Frame() const {
    return [this](int w, int h) { return RenderFrame(w, h, SceneOptions()); };
}

QImage TForm1::PictureOfMode(int side) {
    return ModeImage(DocumentInput(), side, Frame());
}

void TForm1::PrintClick() {
    if (Busy()) return;
    if (!IsPlotMode(CurrentPlotMode())) throw BuildRefused(NoPictureMessage());
    Dialogs().PrintPreview(
        this, [this](QPrinter* printer) { RunCommand([&] { PrintPicture(*printer); }); });
}

void TForm1::PrintPicture(QPrinter& printer) {
    QPainter p(&printer);
    if (!p.isActive()) throw FileError(PrintFailed(printer).toStdString());
    ComposeModePage(p, DocumentInput(), Frame());
    if (!p.end()) throw FileError(PrintFailed(printer).toStdString());
}

void TForm1::CopyClick() {
    if (Busy()) return;
    auto* data = new QMimeData;
    data->setImageData(PictureOfMode(400));
    const QByteArray svg = ModeSvg(DocumentInput());
    if (!svg.isEmpty()) data->setData(QStringLiteral("image/svg+xml"), svg);
    QApplication::clipboard()->setMimeData(data);
}
