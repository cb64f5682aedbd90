// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Feeds arbitrary bytes to the BMP decoder.
#include "DecoderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzDecoder(data, size, [](QByteArrayView bytes, const codecs::DecodeLimits& limits) {
        return codecs::decodeBmp(bytes, limits);
    });
}
