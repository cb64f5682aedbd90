// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Writes the rich text document model as RTF that common word processors open with the same
// text, faces, sizes, colours, styles and alignment.
#pragma once

#include "RichTextModel.h"

#include <QByteArray>

namespace Rtf {

QByteArray write(const RichTextModel& model);

} // namespace Rtf
