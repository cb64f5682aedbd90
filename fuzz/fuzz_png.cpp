// Feeds arbitrary bytes to the PNG decoder.
// fuzz-libs: codecs_core
#include "DecoderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzDecoder(data, size, [](QByteArrayView bytes, const codecs::DecodeLimits& limits) {
        return codecs::decodePng(bytes, limits);
    });
}
