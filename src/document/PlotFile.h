// The plot file (.mth): one record of 2680 little-endian bytes with the
// document, the mode, the 2D formula box and its list, the animation
// settings and a few check states. Strings are stored in the Windows-1251
// code page and held here in UTF-8.
#pragma once

#include "document/AtomicFile.h"
#include "document/PlotDocument.h"
#include "document/PlotInput.h"
#include "document/Settings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

constexpr std::size_t PlotFileRecordSize = 2680;
constexpr int PlotFileListSlots = 10;

struct TPlotFileRecord {
    std::int32_t FirstFrame = 0;
    std::int32_t LastFrame = 0;
    std::int32_t FrameInterval = 0;
    std::int32_t Mode = 0; // the reader takes its lowest byte
    double X0 = 0;
    std::string MainFormula;
    std::string FormulaList[PlotFileListSlots]; // unused slots empty
    std::string ResultText;
    bool AllFormulas = false;
    bool Cartesian = true;
    bool LoopAnimation = false;
    std::string Formulas[DocumentFormulaCount];
    double Numbers[DocumentNumberCount] = {};
};

// A failure to read or write a plot file, with the message the user sees.
class PlotFileError : public FileError {
  public:
    using FileError::FileError;
};

// The bytes of a record. Every string is cut to its first 100 characters;
// a character that Windows-1251 cannot hold is written as '?'. Padding and
// unused character bytes are zero.
std::array<std::uint8_t, PlotFileRecordSize> EncodePlotFile(const TPlotFileRecord& record);

// The record in the first 2680 bytes (more are ignored). Fewer bytes throw
// PlotFileError "Read beyond end of file". A length byte above 100 takes
// the field's 100 characters; a boolean byte is true unless it is 0.
TPlotFileRecord DecodePlotFile(const std::uint8_t* data, std::size_t size);

// Text between UTF-8 and Windows-1251 (a byte the code page leaves
// undefined reads as U+FFFD).
std::string ToWindows1251(const std::string& utf8);
std::string FromWindows1251(const std::string& bytes);

// The document of a record: its formulas and numbers. A number that is not
// finite (a damaged or foreign file) is replaced by its default, so that no
// field is later filled with a text no build can read; true when one was.
bool DocumentFromRecord(const TPlotFileRecord& record, TPlotDocument& document);

// What a picture of the file is made from: its document (as
// DocumentFromRecord makes it), mode, coordinates and y(x) formulas; the
// switches of the window at their start. `replaced` tells whether a number
// was replaced by its default.
TPlotInput InputFromRecord(const TPlotFileRecord& record, bool* replaced = nullptr);

// What the user is told of a file whose numbers were replaced so.
std::string ReplacedNumbersMessage();

// The mode code of a record: the lowest byte of Mode.
inline int RecordMode(const TPlotFileRecord& record) {
    return record.Mode & 0xFF;
}

// The name the file is written under: ".mth" appended unless the name ends
// in exactly ".mth" (case matters).
std::string PlotFileName(const std::string& chosen);

// Writes the record as a whole new file and then puts it in place of any
// file of that name, so that a failed write never loses or truncates an
// earlier file. Throws PlotFileError with the reason.
void WritePlotFile(const std::string& path, const TPlotFileRecord& record);
// Any bytes written so, as a file of the program's (a document): PlotFileError.
void WritePlotFileBytes(const std::string& path, const void* data, std::size_t size);

// Why these bytes cannot be a plot file that the program wrote, or "" when
// they can: a size other than one record, a mode code outside 1 ... 6 (or
// with its upper bytes set), a length byte over 100, frame settings that the
// animation dialog does not take.
std::string PlotFileFault(const std::uint8_t* data, std::size_t size);

// Reads a plot file, opened for reading only and without waiting (a pipe
// with no writer does not block). An empty file gives nothing; a file
// shorter than a record gives "Read beyond end of file"; anything that is
// not a regular file, or whose bytes cannot be a plot file, is refused with
// a message that names the file and the reason; all throw PlotFileError.
std::optional<TPlotFileRecord> ReadPlotFile(const std::string& path);
