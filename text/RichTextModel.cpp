// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Normalising and flattening the rich text document model.
#include "RichTextModel.h"

void RichTextModel::normalize() {
    if (paragraphs.empty())
        paragraphs.emplace_back();
    for (RichTextParagraph& paragraph : paragraphs) {
        std::vector<RichTextRun> joined;
        joined.reserve(paragraph.runs.size());
        for (RichTextRun& run : paragraph.runs) {
            if (run.text.isEmpty())
                continue;
            if (!joined.empty() && joined.back().attributes == run.attributes)
                joined.back().text += run.text;
            else
                joined.push_back(std::move(run));
        }
        paragraph.runs = std::move(joined);
    }
}

QString RichTextModel::plainText() const {
    QString text;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        for (const RichTextRun& run : paragraphs[i].runs)
            text += run.text;
    }
    return text;
}
