// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The platform's colour and file dialogs, behind one seam so that tests and scripts can
// answer them as a user would.
#pragma once

#include "Colors.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    // Pairs of description and pattern separated by bars: "Bitmaps (*.bmp)|*.bmp|...".
    QString filter;
    QString defaultExtension; // appended to a name typed without one (save dialogs)
    // A save dialog whose file types each name one extension: a name typed without one gets
    // the extension of the type chosen in the dialog ("Bitmaps (*.bmp)": ".bmp"); a type of
    // several extensions gives the default one.
    bool extensionFromType = false;
    bool picturePreview = false;
    QString initialPath; // the name the dialog starts from
};

namespace PlatformDialogs {

// The answers to "当前作品尚未保存，是否保存？".
enum class SaveAnswer { Save, Discard, Cancel };

using ColorChooser = std::function<std::optional<TColor>(QWidget* parent, TColor initial)>;
using FileChooser =
    std::function<std::optional<QString>(QWidget* parent, const FileDialogRequest& request)>;
using SaveQuestion = std::function<SaveAnswer(QWidget* parent)>;
using YesNoQuestion = std::function<bool(QWidget* parent, const QString& question)>;
// The answers to "上次没有保存的作品可以恢复：…"; Esc keeps the work for the next start.
enum class RecoverAnswer { Recover, SaveAs, Discard, Later };
using RecoverQuestion = std::function<RecoverAnswer(QWidget* parent, const QString& question)>;

std::optional<TColor> chooseColor(QWidget* parent, TColor initial);
std::optional<QString> chooseFile(QWidget* parent, const FileDialogRequest& request);
// Asks whether the unsaved composition is saved first: 保存, 不保存 or 取消 (also Esc). Without
// a question, "当前作品尚未保存，是否保存？".
SaveAnswer askToSave(QWidget* parent, const QString& question = QString());
// Tells the user something that needs no answer (a message box with one button).
void tell(QWidget* parent, const QString& text);

// A question answered 是 or 否 (Esc: 否); true for 是.
bool askYesNo(QWidget* parent, const QString& question);

// Offers a work left unsaved back: 恢复, 另存为…, 丢弃.
RecoverAnswer askToRecover(QWidget* parent, const QString& question);

// Replace the dialogs (an empty function restores the real ones); return the previous.
ColorChooser setColorChooser(ColorChooser chooser);
FileChooser setFileChooser(FileChooser chooser);
SaveQuestion setSaveQuestion(SaveQuestion question);
YesNoQuestion setYesNoQuestion(YesNoQuestion question);
RecoverQuestion setRecoverQuestion(RecoverQuestion question);
using Notice = std::function<void(QWidget* parent, const QString& text)>;
Notice setNotice(Notice notice);

// A picture dialog's filter: the program's own first entry ("All (*.jpg;*.jpeg;*.bmp)|…"), then
// each picture type the program reads and writes, described in the user's language.
QString pictureFilter(const QString& firstEntry);
// "desc|pattern|desc|pattern" -> Qt's "desc (pattern)" list, patterns separated by spaces.
QStringList qtNameFilters(const QString& barFilter);
// A name typed without an extension gets the default one, as the save dialog does; a name
// that ends in a dot gets only the extension after it ("g." becomes "g.jpg").
QString withDefaultExtension(const QString& path, const QString& extension);
// The extension a bare name gets when the file type of the given index (0 for the first
// pair of the filter) is chosen in the save dialog of the request.
QString extensionForType(const FileDialogRequest& request, int typeIndex);

} // namespace PlatformDialogs
