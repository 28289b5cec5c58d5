// Fuzz target of the document reader (.mthx): any bytes as the text of a
// document. A text it takes is written again and read again to the same
// JSON, and its plot file is one the plot-file reader takes; a text it
// refuses is refused with a message. Nothing may crash or run out of stack.
#include "document/DocumentFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    TDocumentFile document;
    try {
        document = DocumentOfJson(text);
    } catch (const PlotFileError& e) {
        if (*e.what() == 0) std::abort(); // a refusal says why
        return 0;
    }
    const std::string once = DocumentJson(document);
    if (DocumentJson(DocumentOfJson(once)) != once) std::abort();
    const auto bytes = EncodePlotFile(RecordOfDocument(document));
    if (!PlotFileFault(bytes.data(), bytes.size()).empty()) std::abort();
    return 0;
}
