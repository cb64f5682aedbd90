// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Feeds arbitrary bytes to the RTF reader. Besides not crashing, hanging or leaking, whatever
// the reader makes of the bytes must survive the writer: writing the document and reading it
// again gives the same document, also when the Asian character properties the writer adds
// for Chinese text are left out, as a reader that knows only \f and \fs would.
#include "../tests/text/WithoutAsianSet.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void checkReadsAs(const QByteArray& written, const RichTextModel& expected) {
    const std::optional<RichTextModel> second = Rtf::read(written);
    if (!second || !(*second == expected)) {
        std::fprintf(stderr, "round trip changed the document\nwritten:\n%s\n",
                     written.constData());
        std::abort();
    }
}

void checkRoundTrip(const QByteArray& input) {
    const std::optional<RichTextModel> first = Rtf::read(input);
    if (!first)
        return;
    const QByteArray written = Rtf::write(*first);
    checkReadsAs(written, *first);
    checkReadsAs(withoutAsianSet(written), *first);
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
