#include "RtfReader.h"

namespace Rtf {

bool looksLikeRtf(const QByteArray& data) {
    qsizetype i = 0;
    while (i < data.size() &&
           (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

std::optional<RichTextModel> read(const QByteArray&) {
    return std::nullopt;
}

} // namespace Rtf
