#include "document/PlotFile.h"
#include "texts/Texts.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// --- text in the code page of the file

// Converts with iconv; a sequence the target cannot hold, or that is not
// valid in the source, becomes `replacement`, and the conversion goes on
// after it (`skip` says how many source bytes it takes).
std::string Convert(const char* to, const char* from, const std::string& text,
                    const std::string& replacement, std::size_t (*skip)(const char*, std::size_t)) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return text; // no converter: leave the bytes
    std::string out;
    std::vector<char> buffer(4 * text.size() + 16);
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* o = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
        out.append(buffer.data(), o);
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            out += replacement; // EILSEQ or EINVAL: one character that does not convert
            const std::size_t n = std::min(skip(in, inLeft), inLeft);
            in += n;
            inLeft -= n;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

std::size_t Utf8Length(const char* p, std::size_t left) {
    const auto c = static_cast<unsigned char>(*p);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    // A truncated or broken sequence: skip its lead byte only.
    for (std::size_t i = 1; i < n; ++i)
        if (i >= left || (static_cast<unsigned char>(p[i]) & 0xC0) != 0x80) return 1;
    return n;
}

std::size_t OneByte(const char*, std::size_t) {
    return 1;
}

// --- fields of the record

template <typename T> void Put(std::uint8_t* at, T value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof value);
    for (std::size_t i = 0; i < sizeof value; ++i)
        at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

template <typename T> T Get(const std::uint8_t* at) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bits |= static_cast<std::uint64_t>(at[i]) << (8 * i);
    T value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

constexpr std::size_t ShortStringSize = 101;
constexpr std::size_t MaxShortString = 100;

void PutShortString(std::uint8_t* at, const std::string& utf8) {
    std::string bytes = ToWindows1251(utf8);
    if (bytes.size() > MaxShortString) bytes.resize(MaxShortString);
    at[0] = static_cast<std::uint8_t>(bytes.size());
    std::memcpy(at + 1, bytes.data(), bytes.size());
}

std::string GetShortString(const std::uint8_t* at) {
    const std::size_t length = std::min<std::size_t>(at[0], MaxShortString);
    return FromWindows1251(std::string(reinterpret_cast<const char*>(at + 1), length));
}

// Offsets of the fields.
constexpr std::size_t OffFirstFrame = 0, OffLastFrame = 4, OffInterval = 8, OffMode = 12,
                      OffX0 = 16, OffMainFormula = 24, OffFormulaList = 125, OffResultText = 1135,
                      OffAllFormulas = 1236, OffCartesian = 1237, OffLoop = 1238,
                      OffFormulas = 1239, OffNumbers = 2256;

[[noreturn]] void Fail(const std::string& path, int error) {
    throw PlotFileError(FileFailureMessage(path, error, TFileAction::Read));
}

} // namespace

std::string ToWindows1251(const std::string& utf8) {
    return Convert("WINDOWS-1251", "UTF-8", utf8, "?", Utf8Length);
}

std::string FromWindows1251(const std::string& bytes) {
    return Convert("UTF-8", "WINDOWS-1251", bytes, "\xEF\xBF\xBD", OneByte);
}

std::array<std::uint8_t, PlotFileRecordSize> EncodePlotFile(const TPlotFileRecord& r) {
    std::array<std::uint8_t, PlotFileRecordSize> bytes{};
    std::uint8_t* b = bytes.data();
    Put(b + OffFirstFrame, r.FirstFrame);
    Put(b + OffLastFrame, r.LastFrame);
    Put(b + OffInterval, r.FrameInterval);
    Put(b + OffMode, r.Mode);
    Put(b + OffX0, r.X0);
    PutShortString(b + OffMainFormula, r.MainFormula);
    for (int k = 0; k < PlotFileListSlots; ++k)
        PutShortString(b + OffFormulaList + k * ShortStringSize, r.FormulaList[k]);
    PutShortString(b + OffResultText, r.ResultText);
    b[OffAllFormulas] = r.AllFormulas ? 1 : 0;
    b[OffCartesian] = r.Cartesian ? 1 : 0;
    b[OffLoop] = r.LoopAnimation ? 1 : 0;
    for (int k = 0; k < DocumentFormulaCount; ++k)
        PutShortString(b + OffFormulas + k * ShortStringSize, r.Formulas[k]);
    for (int k = 0; k < DocumentNumberCount; ++k)
        Put(b + OffNumbers + 8 * k, r.Numbers[k]);
    return bytes;
}

TPlotFileRecord DecodePlotFile(const std::uint8_t* b, std::size_t size) {
    if (size < PlotFileRecordSize) throw PlotFileError("Read beyond end of file");
    TPlotFileRecord r;
    r.FirstFrame = Get<std::int32_t>(b + OffFirstFrame);
    r.LastFrame = Get<std::int32_t>(b + OffLastFrame);
    r.FrameInterval = Get<std::int32_t>(b + OffInterval);
    r.Mode = Get<std::int32_t>(b + OffMode);
    r.X0 = Get<double>(b + OffX0);
    r.MainFormula = GetShortString(b + OffMainFormula);
    for (int k = 0; k < PlotFileListSlots; ++k)
        r.FormulaList[k] = GetShortString(b + OffFormulaList + k * ShortStringSize);
    r.ResultText = GetShortString(b + OffResultText);
    r.AllFormulas = b[OffAllFormulas] != 0;
    r.Cartesian = b[OffCartesian] != 0;
    r.LoopAnimation = b[OffLoop] != 0;
    for (int k = 0; k < DocumentFormulaCount; ++k)
        r.Formulas[k] = GetShortString(b + OffFormulas + k * ShortStringSize);
    for (int k = 0; k < DocumentNumberCount; ++k)
        r.Numbers[k] = Get<double>(b + OffNumbers + 8 * k);
    return r;
}

bool DocumentFromRecord(const TPlotFileRecord& record, TPlotDocument& document) {
    TPlotDocument defaults;
    SetDocumentDefaults(defaults);
    bool replaced = false;
    for (int k = 0; k < DocumentFormulaCount; ++k)
        document.Formulas[k] = CutFormula(record.Formulas[k]);
    for (int k = 0; k < DocumentNumberCount; ++k) {
        const double v = record.Numbers[k];
        const bool finite = v - v == 0;
        document.Numbers[k] = finite ? v : defaults.Numbers[k];
        replaced = replaced || !finite;
    }
    return replaced;
}

std::string ReplacedNumbersMessage() {
    return texts::Translate("PlotFile", "В файле были значения, которые не являются числами; "
                                        "вместо них взяты значения по умолчанию.");
}

TPlotInput InputFromRecord(const TPlotFileRecord& record, bool* replaced) {
    TPlotInput input;
    const bool any = DocumentFromRecord(record, input.Document);
    if (replaced != nullptr) *replaced = any;
    input.Mode = RecordMode(record);
    input.Coordinates = record.Cartesian ? TCoordinates::Cartesian : TCoordinates::Polar;
    input.Formula = record.MainFormula;
    for (const std::string& item : record.FormulaList)
        if (!item.empty()) input.List.push_back(item);
    input.AllFormulas = record.AllFormulas;
    return input;
}

std::string PlotFileName(const std::string& chosen) {
    const std::string extension = ".mth";
    if (chosen.size() >= extension.size() &&
        chosen.compare(chosen.size() - extension.size(), extension.size(), extension) == 0)
        return chosen;
    return chosen + extension;
}

void WritePlotFileBytes(const std::string& path, const void* data, std::size_t size) {
    try {
        WriteFileAtomically(path, [&](TFileSink& sink) { sink.Write(data, size); });
    } catch (const PlotFileError&) {
        throw;
    } catch (const FileError& e) {
        throw PlotFileError(e.what());
    }
}

void WritePlotFile(const std::string& path, const TPlotFileRecord& record) {
    const auto bytes = EncodePlotFile(record);
    WritePlotFileBytes(path, bytes.data(), bytes.size());
}

std::string PlotFileFault(const std::uint8_t* b, std::size_t size) {
    if (size != PlotFileRecordSize)
        return texts::Fill(texts::Translate("PlotFile", "его длина %1 байт, а у файла графиков %2"),
                           {std::to_string(size), std::to_string(PlotFileRecordSize)});
    // The mode is its lowest byte; the others are whatever the writer left there.
    const auto mode = Get<std::uint32_t>(b + OffMode) & 0xFF;
    if (mode < pmYx || mode > pmImplicit)
        return texts::Translate("PlotFile", "код режима в нём не от 1 до 6");
    std::vector<std::size_t> strings = {OffMainFormula, OffResultText};
    for (int k = 0; k < PlotFileListSlots; ++k)
        strings.push_back(OffFormulaList + k * ShortStringSize);
    for (int k = 0; k < DocumentFormulaCount; ++k)
        strings.push_back(OffFormulas + k * ShortStringSize);
    for (const std::size_t at : strings)
        if (b[at] > MaxShortString)
            return texts::Translate("PlotFile", "длина строки в нём больше 100 символов");
    // Any frames and interval: the animation takes them as they are.
    return "";
}

namespace {

[[noreturn]] void NotAPlotFile(const std::string& path, const std::string& reason) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    throw PlotFileError(texts::Fill(
        texts::Translate("PlotFile",
                         "Файл «%1» не открыт: это не файл графиков (%2). Всё осталось как было."),
        {name, reason}));
}

} // namespace

std::optional<TPlotFileRecord> ReadPlotFile(const std::string& path) {
    // Reading only, and without waiting for a writer of a pipe.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) Fail(path, errno);
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        Fail(path, error);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        NotAPlotFile(path, texts::Translate("PlotFile",
                                            "это не обычный файл, а папка, канал или устройство"));
    }
    // One byte more than a record tells a longer file.
    std::array<std::uint8_t, PlotFileRecordSize + 1> bytes{};
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            Fail(path, error);
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got == 0) return std::nullopt; // an empty file changes nothing
    if (got < PlotFileRecordSize)
        throw PlotFileError(texts::Fill(
            texts::Translate("PlotFile", "Файл «%1» не прочитан: он короче записи графиков в "
                                         "2680 байт (Read beyond end of file)."),
            {path}));
    const std::size_t size =
        got > PlotFileRecordSize ? static_cast<std::size_t>(status.st_size) : got;
    const std::string fault = PlotFileFault(bytes.data(), std::max(size, got));
    if (!fault.empty()) NotAPlotFile(path, fault);
    return DecodePlotFile(bytes.data(), PlotFileRecordSize);
}
