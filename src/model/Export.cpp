#include "model/Export.h"

#include "document/AtomicFile.h"
#include "document/Limits.h"
#include "document/ModeTable.h"
#include "engine/Engine.h"
#include "geometry3d/MeshFiles.h"
#include "plot2d/Export2D.h"
#include "plot2d/Picture.h"
#include "plot2d/View2D.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFont>
#include <QPainter>

namespace {

bool Is2D(int mode) {
    return mode == pmYx || mode == pmPlane;
}

const char* ModeCaption(int mode) {
    switch (mode) {
    case pmYx:
        return "2D y(x)";
    case pmPlane:
        return "2D x(t),y(t)";
    case pmSurface:
        return "3D z(x,y)";
    case pmCurve:
        return "3D x(t),y(t),z(t)";
    case pmPatch:
        return "3D x(u,v),y(u,v),z(u,v)";
    case pmImplicit:
        return "3D F(x,y,z)=0";
    }
    return QT_TRANSLATE_NOOP("Export", "без режима");
}

// The geometry formats of a 3D mode.
std::vector<TExportFormat> GeometryFormats(int mode) {
    switch (mode) {
    case pmSurface:
    case pmPatch:
        return {TExportFormat::Stl, TExportFormat::Obj};
    case pmCurve:
        return {TExportFormat::Obj};
    case pmImplicit:
        return {TExportFormat::Ply};
    }
    return {};
}

const char* Name(TExportFormat f) {
    switch (f) {
    case TExportFormat::Png:
        return "PNG";
    case TExportFormat::Svg:
        return "SVG";
    case TExportFormat::Pdf:
        return "PDF";
    case TExportFormat::Stl:
        return "STL";
    case TExportFormat::Obj:
        return "OBJ";
    case TExportFormat::Ply:
        return "PLY";
    }
    return "";
}

QString Extension(TExportFormat f) {
    return QStringLiteral(".") + QString::fromLatin1(Name(f)).toLower();
}

std::vector<TExportFormat> Formats(int mode) {
    if (Is2D(mode)) return {TExportFormat::Png, TExportFormat::Svg, TExportFormat::Pdf};
    if (!IsPlotMode(mode)) return {};
    std::vector<TExportFormat> formats{TExportFormat::Png};
    for (TExportFormat f : GeometryFormats(mode))
        formats.push_back(f);
    return formats;
}

void WriteBytes(const std::string& path, const QByteArray& bytes) {
    WriteFileAtomically(path, [&](TFileSink& sink) {
        sink.Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    });
}

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG") || bytes.isEmpty())
        throw BuildRefused(NoPictureMemoryMessage(image.width(), image.height()));
    return bytes;
}

// The plot area of another size while a picture is made of it: the view
// resized about its centre, and everything as it was afterwards.
class TAreaScope {
  public:
    TAreaScope(const TPictureArea& area, bool equalScales)
        : width_(PlotWidth), height_(PlotHeight), view_(SaveView()) {
        if (area.Width != PlotWidth || area.Height != PlotHeight)
            ResizeView(area.Width, area.Height, equalScales);
    }
    ~TAreaScope() {
        PlotWidth = width_;
        PlotHeight = height_;
        RestoreView(view_);
    }
    TAreaScope(const TAreaScope&) = delete;
    TAreaScope& operator=(const TAreaScope&) = delete;

  private:
    int width_, height_;
    TViewState view_;
};

} // namespace

std::vector<TExportChoice> ExportChoices(int mode) {
    std::vector<TExportChoice> choices;
    for (TExportFormat f : Formats(mode)) {
        const QString pattern = QStringLiteral(" (*%1)").arg(Extension(f));
        if (f == TExportFormat::Png) {
            // 2D at 1, 2 and 4 times the plot area; 3D from the window's size up.
            std::vector<QSize> sizes;
            for (int k : {1, 2, 4})
                sizes.push_back(Is2D(mode) ? QSize(PlotWidth, PlotHeight) * k
                                           : QSize(400, 400) * k);
            if (!Is2D(mode)) sizes.emplace_back(3200, 3200);
            for (const QSize s : sizes)
                choices.push_back(
                    {f, QString::fromUtf8("PNG, %1 × %2").arg(s.width()).arg(s.height()) + pattern,
                     Extension(f), s});
            continue;
        }
        const char* what =
            f == TExportFormat::Svg ? QT_TRANSLATE_NOOP("Export", "SVG, векторный рисунок")
            : f == TExportFormat::Pdf ? QT_TRANSLATE_NOOP("Export", "PDF, одна страница")
            : f == TExportFormat::Stl
                ? QT_TRANSLATE_NOOP("Export", "STL, треугольники для 3D-печати")
            : f == TExportFormat::Ply ? QT_TRANSLATE_NOOP("Export", "PLY, точки с цветом")
            : mode == pmCurve ? QT_TRANSLATE_NOOP("Export", "OBJ, линия с цветом")
                              : QT_TRANSLATE_NOOP("Export", "OBJ, треугольники с цветом");
        choices.push_back(
            {f, QCoreApplication::translate("Export", what) + pattern, Extension(f), {}});
    }
    return choices;
}

std::optional<TExportFormat> FormatOfName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (TExportFormat f : {TExportFormat::Png, TExportFormat::Svg, TExportFormat::Pdf,
                            TExportFormat::Stl, TExportFormat::Obj, TExportFormat::Ply})
        if (QStringLiteral(".") + suffix == Extension(f)) return f;
    return std::nullopt;
}

void CheckFormatFits(int mode, TExportFormat format) {
    const auto formats = Formats(mode);
    if (std::find(formats.begin(), formats.end(), format) != formats.end()) return;
    QString list;
    for (std::size_t i = 0; i < formats.size(); ++i)
        list += (i == 0                    ? QString()
                 : i + 1 == formats.size() ? QCoreApplication::translate("Export", " или ")
                                           : QStringLiteral(", ")) +
                QString::fromLatin1(Name(formats[i]));
    const QString caption = QCoreApplication::translate("Export", ModeCaption(mode));
    const QString name = QString::fromLatin1(Name(format));
    throw BuildRefused((formats.empty()
                            ? QCoreApplication::translate(
                                  "Export", "Рисунок режима %1 нечего сохранять, а не как %2.")
                                  .arg(caption, name)
                            : QCoreApplication::translate(
                                  "Export", "Рисунок режима %1 сохраняется как %2, а не как %3.")
                                  .arg(caption, list, name))
                           .toStdString());
}

void ExportPicture(const std::string& path, TExportFormat format, const TPlotInput& input,
                   QSize size, const std::function<QImage(int w, int h)>& frame,
                   double relationSeconds) {
    CheckFormatFits(input.Mode, format);
    if (Is2D(input.Mode)) {
        const bool sized = format == TExportFormat::Png && !size.isEmpty();
        const TPictureArea area = sized ? PictureArea(size.width(), size.height())
                                        : TPictureArea{PlotWidth, PlotHeight, 1};
        const TAreaScope scope(area, input.EqualScales);
        TYxTrees trees; // compiled afresh, as a build compiles them
        TPlotRequest request = PictureRequest(input, false, trees);
        request.RelationSeconds = relationSeconds;
        switch (format) {
        case TExportFormat::Png:
            WriteBytes(path, PicturePng(request, area.Density, sized ? size : QSize()));
            return;
        case TExportFormat::Svg:
            WriteBytes(path, PictureSvg(request));
            return;
        default:
            WriteBytes(path, PicturePdf(request));
            return;
        }
    }
    if (format == TExportFormat::Png) {
        const QSize s = size.isEmpty() ? QSize(400, 400) : size;
        WriteBytes(path, Png(frame(s.width(), s.height())));
        return;
    }
    // The mode's mesh: the level points, the curve, or the surface's
    // triangles. One with nothing to see is no file: the reason instead.
    const bool points = format == TExportFormat::Ply;
    const bool curve = !points && input.Mode == pmCurve;
    const std::int64_t held = points  ? DrawableLevelPointCount()
                              : curve ? CurveSegmentCount()
                                      : SurfaceTriangleCount();
    if (held == 0) {
        const char* why =
            points
                ? QT_TRANSLATE_NOOP("Export", "Файл «%1» не записан: точек поверхности не найдено.")
            : curve ? QT_TRANSLATE_NOOP("Export",
                                        "Файл «%1» не записан: у линии нет ни одного отрезка, "
                                        "который можно нарисовать (её точки вне области "
                                        "определения, бесконечны или все в одном месте).")
                    : QT_TRANSLATE_NOOP("Export",
                                        "Файл «%1» не записан: у поверхности нет ни одной клетки, "
                                        "которую можно нарисовать (все точки вне области "
                                        "определения формул, бесконечны или совпадают).");
        throw BuildRefused(QCoreApplication::translate("Export", why)
                               .arg(QString::fromStdString(path))
                               .toStdString());
    }
    WriteFileAtomically(path, [&](TFileSink& sink) {
        if (points)
            WriteLevelPointsPly(sink);
        else if (curve)
            WriteCurveObj(sink);
        else if (format == TExportFormat::Stl)
            WriteSurfaceStl(sink);
        else
            WriteSurfaceObj(sink);
    });
}

QString FormulaLine(const TPlotInput& input) {
    const auto& f = input.Document.Formulas;
    const auto q = [](const std::string& s) { return QString::fromStdString(s); };
    const bool polar = input.Coordinates == TCoordinates::Polar;
    switch (input.Mode) {
    case pmYx: {
        QStringList formulas;
        if (input.AllFormulas)
            for (const std::string& item : input.List)
                formulas << q(item);
        else
            formulas << q(input.Formula);
        return (polar ? QStringLiteral("r = ") : QStringLiteral("y = ")) +
               formulas.join(QStringLiteral("; "));
    }
    case pmPlane:
        return polar ? QStringLiteral("fi(t) = %1, r(t) = %2").arg(q(f[fsPlaneX]), q(f[fsPlaneY]))
                     : QStringLiteral("x(t) = %1, y(t) = %2").arg(q(f[fsPlaneX]), q(f[fsPlaneY]));
    case pmSurface:
        return QStringLiteral("z = ") + q(f[fsSurfaceZ]);
    case pmCurve:
        return QStringLiteral("x(t) = %1, y(t) = %2, z(t) = %3")
            .arg(q(f[fsCurveX]), q(f[fsCurveY]), q(f[fsCurveZ]));
    case pmPatch:
        return QStringLiteral("x(u,v) = %1, y(u,v) = %2, z(u,v) = %3")
            .arg(q(f[fsPatchX]), q(f[fsPatchY]), q(f[fsPatchZ]));
    case pmImplicit:
        return QStringLiteral("0 = ") + q(f[fsImplicitF]);
    }
    return {};
}

TExportTarget ExportTarget(QString path, const std::vector<TExportChoice>& choices,
                           const QString& chosenFilter) {
    const TExportChoice* choice = &choices.front();
    for (const TExportChoice& c : choices)
        if (c.Filter == chosenFilter) choice = &c;
    // The extension of the format chosen, when the name has none of its own.
    const std::optional<TExportFormat> named = FormatOfName(path);
    if (!named) path += choice->Extension;
    const TExportFormat format = named.value_or(choice->Format);
    return {path, format, format == choice->Format ? choice->Size : QSize()};
}

QString ExportStart(const std::string& openFile, const QString& folder) {
    if (openFile.empty()) return folder;
    const QFileInfo file(QString::fromStdString(openFile));
    return file.path() + QLatin1Char('/') + file.completeBaseName();
}

namespace {

TPlotRequest RequestOf(const TPlotInput& input) {
    TYxTrees trees;
    return PictureRequest(input, false, trees);
}

} // namespace

std::string NoPictureMessage() {
    return QCoreApplication::translate("TForm1",
                                       "Рисунка нет: сначала выберите режим в меню «Опции».")
        .toStdString();
}

QImage ModeImage(const TPlotInput& input, int side, const TFrame& frame) {
    if (Is2D(input.Mode)) return PictureImage(RequestOf(input), static_cast<qreal>(side) / 400);
    if (!IsPlotMode(input.Mode)) throw BuildRefused(NoPictureMessage());
    return frame(side, side);
}

QByteArray ModeSvg(const TPlotInput& input) {
    return Is2D(input.Mode) ? PictureSvg(RequestOf(input)) : QByteArray();
}

void ComposeModePage(QPainter& p, const TPlotInput& input, const TFrame& frame) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(11);
    const TPlotRequest request = Is2D(input.Mode) ? RequestOf(input) : TPlotRequest{};
    ComposePrintPage(
        p, p.viewport(), font, FormulaLine(input),
        [&](QPainter& page, const QRect& square) {
            if (Is2D(input.Mode))
                ComposePictureInto(page, square, request);
            else
                page.drawImage(square, frame(1600, 1600));
        },
        Is2D(input.Mode) ? QSize(PlotWidth, PlotHeight) : QSize(1, 1));
}
