// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Measuring the text block and the size check against the canvas.
#include "TextMeasure.h"

#include "ColumnSetting.h"
#include "FontFallback.h"
#include "Gbk.h"
#include "TextLayout.h"

#include <QCoreApplication>
#include <algorithm>

namespace TextWalk {

int selectCharacter(RichText& text, int position, uchar firstByte) {
    const int length = Gbk::charLength(firstByte);
    text.setSelStart(position);
    text.setSelLength(length);
    return length;
}

int nextLinePosition(const RichText& text, int line, int positionAfterLine) {
    if (text.wordWrap() && line + 1 < text.lineCount())
        return text.lineStart(line + 1);
    return positionAfterLine + 2;
}

} // namespace TextWalk

void storeExtent(TextSettings& settings, int blockLength, int blockDepth) {
    if (isVertical(settings.Arrangement)) {
        settings.ExtentWidth = blockDepth;
        settings.ExtentHeight = blockLength;
    } else {
        settings.ExtentWidth = blockLength;
        settings.ExtentHeight = blockDepth;
    }
}

namespace {

// The running values of the measuring walk. Sums are kept wide so that extreme spin box values
// cannot overflow; the results are brought back into the record's 32-bit range.
struct BlockMeasure {
    qint64 longest = 0;
    qint64 tallest = 0;
    qint64 across = 0;
    qint64 length = 0;
    qint64 lineMax = 0;
};

qint32 toField(qint64 value) {
    return qint32(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                     std::numeric_limits<qint32>::max()));
}

} // namespace

void MeasureTextBlock(RichText& text, TextSettings& settings) {
    BlockMeasure m;
    const qint64 charSpacing = settings.CharSpacing;
    const qint64 lineSpacing = settings.LineSpacing;
    bool anyLine = false;
    // Under a punctuation convention the columns are measured as they will be drawn, with the
    // characters' own fonts.
    const bool inColumns = isVertical(settings.Arrangement) && settings.Punctuation != vpOriginal;
    DrawingSurface measuring;
    std::optional<ColumnCell> previous;
    TextWalk::walk(
        text,
        [&](int, int requestedLength, const RichText::Character& character) {
            const int height = character.pixelHeight;
            const QString shown = shownCharacter(character.string, settings.ChineseDigits);
            const bool twoByte = requestedLength == 2 || shown != character.string;
            if (inColumns) {
                setFontFromSelection(measuring.font, character.attributes, height);
                measuring.font.name = FontFallback::faceFor(measuring.font, shown);
                const ColumnCell cell =
                    setInColumn(measuring, shown, twoByte, height, settings.Punctuation,
                                {0, m.length, charSpacing, previous});
                if (cell.kind == ColumnCell::Kind::Dropped || cell.kind == ColumnCell::Kind::Small)
                    return;
                previous = cell;
                m.length += cell.advance;
            } else {
                m.length += estimatedAdvance(height, twoByte ? 2 : 1) + charSpacing;
            }
            m.lineMax = std::max(m.lineMax, height + lineSpacing);
        },
        [&](int) {
            previous.reset();
            anyLine = true;
            m.tallest = std::max(m.tallest, m.lineMax);
            m.longest = std::max(m.longest, m.length);
            // The running maximum over the lines so far, not this line's own height.
            m.across += m.tallest + lineSpacing;
            m.length = 0;
            m.lineMax = 0;
        });
    if (!anyLine) {
        settings.RowPitch = 0;
        storeExtent(settings, 0, 0);
        return;
    }
    const qint64 blockLength = m.longest + charSpacing + 2 * qint64(settings.LeftMargin);
    const qint64 blockDepth = m.across + 2 * qint64(settings.TopMargin);
    settings.RowPitch = toField(m.tallest);
    storeExtent(settings, toField(blockLength), toField(blockDepth));
}

QString textSizeReport(const TextSettings& settings, const TSetStruct& canvas) {
    QString report = QCoreApplication::translate("Text", "文本尺寸为:%1*%2。")
                         .arg(settings.ExtentWidth)
                         .arg(settings.ExtentHeight);
    // Negative spacings can make the extent negative; such a block fits no canvas.
    if (canvas.Width < settings.ExtentWidth || canvas.Height < settings.ExtentHeight ||
        settings.ExtentWidth < 0 || settings.ExtentHeight < 0)
        report +=
            QCoreApplication::translate("Text", "文本超出图片范围了，请重新调整文本或者图片大小。");
    return report;
}
