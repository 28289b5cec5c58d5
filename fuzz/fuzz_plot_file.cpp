// Fuzz target of the plot-file reader: any bytes as a file, read into the
// record and into the document it would give, whose formulas are compiled
// and whose numbers are written into fields and read back, as opening the
// file in the window does. Nothing may crash, read past a field or leave a
// number that a field cannot hold.
#include "document/PlotFile.h"
#include "engine/Engine.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TPlotFileRecord record;
    try {
        record = DecodePlotFile(data, size);
    } catch (const PlotFileError&) {
        return 0; // shorter than a record: refused
    }
    TPlotDocument document;
    DocumentFromRecord(record, document);
    for (const double v : document.Numbers)
        if (!std::isfinite(v)) std::abort(); // a field would show a text no build reads
    for (const std::string& f : document.Formulas)
        if (f.size() > 400) std::abort(); // 100 characters of at most 4 bytes
    try {
        for (const std::string& f : document.Formulas)
            CompileTree(f);
        CompileTree(record.MainFormula);
        for (const std::string& f : record.FormulaList)
            CompileTree(f);
    } catch (const ConversionError&) {
    }
    // Written back, the record is the same file again as far as it was read,
    // and a file the reader accepts is accepted again once written.
    const auto bytes = EncodePlotFile(record);
    const TPlotFileRecord again = DecodePlotFile(bytes.data(), bytes.size());
    if (RecordMode(again) != RecordMode(record) || again.FirstFrame != record.FirstFrame)
        std::abort();
    if (PlotFileFault(data, size).empty() && !PlotFileFault(bytes.data(), bytes.size()).empty())
        std::abort();
    return 0;
}
