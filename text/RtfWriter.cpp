#include "RtfWriter.h"

namespace Rtf {

QByteArray write(const RichTextModel&) {
    return "{\\rtf1}";
}

} // namespace Rtf
