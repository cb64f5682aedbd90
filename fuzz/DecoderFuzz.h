// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// What every picture decoder must do with arbitrary bytes: return an opaque 32-bit picture
// within the limits, or raise the program's error; never crash, leak or read out of bounds.
#pragma once

#include "PictureCodecs.h"
#include "TarvelError.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

template <class Decode> int fuzzDecoder(const uint8_t* data, size_t size, Decode decode) {
    // Smaller caps than the program's keep each run fast; the checks are the same code.
    codecs::DecodeLimits limits;
    limits.maxSide = 4096;
    limits.maxDecodedBytes = qint64(16) << 20;
    limits.maxLibraryMemory = long(64) << 20;
    try {
        const QImage image =
            decode(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), limits);
        if (image.format() != QImage::Format_RGB32 || image.width() > limits.maxSide ||
            image.height() > limits.maxSide)
            std::abort();
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(row[x]) != 255)
                    std::abort();
        }
    } catch (const TarvelError&) {
    }
    return 0;
}
