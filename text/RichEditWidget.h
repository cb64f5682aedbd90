// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The rich text editor control of the text dialog and the seal dialog: a QTextEdit showing a
// RichText's document, with the selection kept in step both ways, so that what the user
// selects is what RichText's setSel* act on, and what the layout selects shows in the editor.
#pragma once

#include "RichText.h"

#include <QTextEdit>
#include <QTimer>

class RichEdit final : public QTextEdit {
    Q_OBJECT
public:
    explicit RichEdit(QWidget* parent = nullptr);

    RichText& richText() { return *rich; }
    const RichText& richText() const { return *rich; }

    // The selection stays highlighted without focus (on by default).
    void setKeepSelectionVisible(bool keep);
    bool keepsSelectionVisible() const { return keepsSelection; }

    // Wraps at the editor's width, which RichText's display lines then follow.
    void setWordWrap(bool on);

    // Underlines the characters that their faces lack, and that are therefore drawn in a
    // fallback face, with a wavy red line shown in the editor only: the document's formats,
    // what is saved and what is drawn stay as they are. The marks follow every change.
    void setMarksFallbackCharacters(bool on);
    // Puts the marks on at once rather than after the change being made.
    void markFallbackCharacters();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Shift+Enter ends the paragraph like Enter: the layout and the size check know no other
    // line break.
    void keyPressEvent(QKeyEvent* event) override;
    // Pasted rich text keeps only the attributes a character can carry here.
    void insertFromMimeData(const QMimeData* source) override;

private:
    void takeSelectionFromRichText();
    void giveSelectionToRichText();
    void applyAppearance();

    RichText* rich;
    bool keepsSelection = true;
    bool syncing = false;
    bool marksFallbacks = false;
    QTimer* fallbackMarking = nullptr;
};
