// fuzz-libs: text_core
// Feeds arbitrary bytes to the RTF reader. Besides not crashing, hanging or leaking, whatever
// the reader makes of the bytes must survive the writer: writing the document and reading it
// again gives the same document.
#include "RtfReader.h"
#include "RtfWriter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void checkRoundTrip(const QByteArray& input) {
    const std::optional<RichTextModel> first = Rtf::read(input);
    if (!first)
        return;
    const QByteArray written = Rtf::write(*first);
    const std::optional<RichTextModel> second = Rtf::read(written);
    if (!second || !(*second == *first)) {
        std::fprintf(stderr, "round trip changed the document\nwritten:\n%s\n",
                     written.constData());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    if (Rtf::looksLikeRtf(input))
        checkRoundTrip(input);
    else // most mutations lose the signature: read them as the body of a document
        checkRoundTrip(QByteArrayLiteral("{\\rtf1\\ansi\\ansicpg936 ") + input);
    return 0;
}
