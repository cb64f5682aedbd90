// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The rich text editor control: the widget side of RichText.
#include "RichEditWidget.h"

#include "ErrorBoundary.h"
#include "FontCoverage.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPalette>
#include <QResizeEvent>

RichEdit::RichEdit(QWidget* parent) : QTextEdit(parent), rich(new RichText(this)) {
    // The control's default font is RichText's; keep the document's own font when the
    // widget sets its document.
    const QFont documentFont = rich->document()->defaultFont();
    setDocument(rich->document());
    rich->document()->setDefaultFont(documentFont);
    setAcceptRichText(true);
    setTextCursor(rich->cursor());

    connect(rich, &RichText::selectionChanged, this, &RichEdit::takeSelectionFromRichText);
    connect(rich, &RichText::appearanceChanged, this, &RichEdit::applyAppearance);
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichEdit::giveSelectionToRichText);
    connect(this, &QTextEdit::selectionChanged, this, &RichEdit::giveSelectionToRichText);
    connect(this, &QTextEdit::currentCharFormatChanged, this, &RichEdit::giveSelectionToRichText);
    setKeepSelectionVisible(true);
    applyAppearance();

    // A change of many characters (a paste, a conversion, a new face for all) is marked
    // once, when it is complete.
    fallbackMarking = new QTimer(this);
    fallbackMarking->setSingleShot(true);
    fallbackMarking->setInterval(0);
    connect(fallbackMarking, &QTimer::timeout, this, &RichEdit::markFallbackCharacters);
    connect(rich, &RichText::changed, this, [this] {
        if (marksFallbacks)
            fallbackMarking->start();
    });
}

void RichEdit::setMarksFallbackCharacters(bool on) {
    marksFallbacks = on;
    markFallbackCharacters();
}

void RichEdit::markFallbackCharacters() {
    fallbackMarking->stop();
    QList<QTextEdit::ExtraSelection> marks;
    if (marksFallbacks) {
        QTextCharFormat wavy;
        wavy.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        wavy.setUnderlineColor(Qt::red);
        for (const DocumentSpan& span : fallbackSpans(*rich)) {
            QTextCursor stretch(document());
            stretch.setPosition(span.position);
            stretch.setPosition(span.position + span.length, QTextCursor::KeepAnchor);
            marks.append({stretch, wavy});
        }
    }
    setExtraSelections(marks);
}

void RichEdit::takeSelectionFromRichText() {
    if (syncing)
        return;
    syncing = true;
    setTextCursor(rich->cursor());
    syncing = false;
}

void RichEdit::giveSelectionToRichText() {
    if (syncing)
        return;
    syncing = true;
    rich->setCursor(textCursor());
    syncing = false;
}

void RichEdit::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // What is typed is held to the same limits as a file's text.
    const QString typed = enter ? QStringLiteral("\n") : event->text();
    if (enter || (!typed.isEmpty() && typed.at(0).isPrint())) {
        giveSelectionToRichText();
        if (!ErrorBoundary::run(this, [&] { rich->checkInsertion(typed); }))
            return;
    }
    if (enter && event->modifiers().testFlag(Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), ushort(event->count()));
        QTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void RichEdit::insertFromMimeData(const QMimeData* source) {
    giveSelectionToRichText();
    if (!source->hasHtml()) {
        // Control characters (a form feed copied from a PDF) are no text: they are left out,
        // as a work or a script would refuse them.
        QString text = source->text();
        text.removeIf([](QChar c) {
            const char16_t code = c.unicode();
            return (code < 0x20 && code != u'\t' && code != u'\n' && code != u'\r') ||
                   (code >= 0x7F && code <= 0x9F);
        });
        if (ErrorBoundary::run(this, [&] { rich->checkInsertion(text); })) {
            QMimeData plain;
            plain.setText(text);
            QTextEdit::insertFromMimeData(&plain);
        }
        return;
    }
    if (ErrorBoundary::run(this, [&] { rich->insertHtml(source->html()); }))
        ensureCursorVisible();
}

void RichEdit::setWordWrap(bool on) {
    rich->setWordWrap(on, viewport()->width());
}

void RichEdit::resizeEvent(QResizeEvent* event) {
    QTextEdit::resizeEvent(event);
    if (rich->wordWrap() && rich->wrapWidth() != viewport()->width())
        rich->setWordWrap(true, viewport()->width());
}

void RichEdit::setKeepSelectionVisible(bool keep) {
    keepsSelection = keep;
    const bool hide = !keep;
    QPalette p = palette();
    // Without focus the selection is drawn with the inactive colours; make them the active
    // ones to keep it visible, or the base colours to hide it.
    if (hide) {
        p.setColor(QPalette::Inactive, QPalette::Highlight,
                   p.color(QPalette::Inactive, QPalette::Base));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   p.color(QPalette::Inactive, QPalette::Text));
    } else {
        p.setColor(QPalette::Inactive, QPalette::Highlight,
                   p.color(QPalette::Active, QPalette::Highlight));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   p.color(QPalette::Active, QPalette::HighlightedText));
    }
    setPalette(p);
}

void RichEdit::applyAppearance() {
    QPalette p = palette();
    const QColor background = toQColor(rich->backgroundColor());
    p.setColor(QPalette::Active, QPalette::Base, background);
    p.setColor(QPalette::Inactive, QPalette::Base, background);
    setPalette(p);
    if (rich->wordWrap()) {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(rich->wrapWidth());
        setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    } else {
        setLineWrapMode(QTextEdit::NoWrap);
    }
}
