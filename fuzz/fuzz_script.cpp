// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Feeds arbitrary bytes to the composition script reader: it must accept or refuse them
// with a ScriptFormatError, never crash or hang.
#include "ScriptReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const auto steps =
            readScript(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
        for (const ScriptStep& step : steps)
            if (step.number < 1 || step.command.isEmpty())
                __builtin_trap();
    } catch (const ScriptFormatError&) {
    }
    return 0;
}
