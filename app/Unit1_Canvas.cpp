// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The main window's new-canvas and save commands: the canvas settings dialog, the background
// painters on the work canvas, and the save dialog with its JPEG, BMP or PNG file.
#include "Unit1.h"

#include "FileAccess.h"
#include "ImageControl.h"
#include "PictureCodecs.h"
#include "PictureSave.h"
#include "PlatformDialogs.h"
#include "StepSession.h"
#include "Unit2.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

namespace {

// The main window's save dialog. It lives as long as the window, so each showing starts
// from the name chosen the time before.
class SavePictureDialog final : public QObject {
public:
    explicit SavePictureDialog(QObject* owner) : QObject(owner) {
        setObjectName(QStringLiteral("SavePictureDialog1"));
        request.kind = FileDialogRequest::Kind::Save;
        // The program's first entry, which the dialog opens with, then each type by itself.
        request.filter = PlatformDialogs::pictureFilter(
            QStringLiteral("All (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp"));
        request.defaultExtension = QStringLiteral("jpg");
        request.extensionFromType = true;
        request.picturePreview = true;
    }
    FileDialogRequest request;
};

SavePictureDialog* savePictureDialog(TForm1* form) {
    QObject* existing =
        form->findChild<QObject*>(QStringLiteral("SavePictureDialog1"), Qt::FindDirectChildrenOnly);
    if (auto* dialog = dynamic_cast<SavePictureDialog*>(existing))
        return dialog;
    return new SavePictureDialog(form);
}

// A save that worked says so for a few seconds in the last status panel, which the pointer
// never writes to; then the panel shows what it showed before.
void showSavedNotice(TForm1* form, const QString& notice) {
    auto* timer =
        form->findChild<QTimer*>(QStringLiteral("SavedNoticeTimer"), Qt::FindDirectChildrenOnly);
    if (!timer) {
        timer = new QTimer(form);
        timer->setObjectName(QStringLiteral("SavedNoticeTimer"));
        timer->setSingleShot(true);
        timer->setInterval(5000);
        const QString greeting = form->StatusPanel2->text();
        QObject::connect(timer, &QTimer::timeout, form,
                         [form, greeting] { form->StatusPanel2->setText(greeting); });
    }
    form->StatusPanel2->setText(notice);
    timer->start();
}

} // namespace

void TForm1::createCanvasDialog() {
    Form2 = new TForm2(this);
    savePictureDialog(this);
}

QString TForm1::unsavedQuestion() const {
    if (!exportedPicture.isEmpty())
        return tr("图片已导出到“%1”，但作品还没有保存。是否保存作品？")
            .arg(QDir::toNativeSeparators(exportedPicture));
    return tr("当前作品尚未保存，是否保存？");
}

bool TForm1::saveOrDiscardWork() {
    // A hidden window (a script run) has no one to ask.
    if (!State.isModified() || !isVisible())
        return true;
    switch (PlatformDialogs::askToSave(this, unsavedQuestion())) {
    case PlatformDialogs::SaveAnswer::Save:
        // The work is the document: 保存 saves the work file, asking for its name the first
        // time. A save cancelled or failed discards nothing.
        SaveWorkClick();
        return !State.isModified();
    case PlatformDialogs::SaveAnswer::Discard:
        return true;
    case PlatformDialogs::SaveAnswer::Cancel:
        break;
    }
    return false;
}

void TForm1::ToolButton40Click() {
    if (!saveOrDiscardWork())
        return;
    const TSetStruct shown = Form2->CanvasSettings;
    Form2->Cancelled = false;
    // 1. However else the dialog closes, the canvas is rebuilt from the committed settings;
    // cancelled, it leaves the composition as it was.
    Form2->exec();
    if (Form2->Cancelled) {
        Form2->CanvasSettings = shown;
        return;
    }
    const TSetStruct settings = Form2->CanvasSettings;
    // The background picture is read before the canvas is touched: a file that is not a
    // picture, or one too large, ends the command with the canvas, its size, the effect base
    // and the history as they were.
    QImage background;
    QByteArray pictureBytes;
    if (settings.UsePicture) {
        try {
            background = codecs::loadPicture(settings.PictureFile);
            pictureBytes = files::readRegularFile(settings.PictureFile, maxEmbeddedPicture).data;
        } catch (...) {
            // The settings go back with the canvas, so that the text size check and the fan
            // read the canvas that is really shown.
            Form2->CanvasSettings = shown;
            throw;
        }
    }
    // 2. to 6.
    newCanvasFrom(settings, background, pictureBytes);
}

void TForm1::newCanvasFrom(const TSetStruct& settings, const QImage& background,
                           const QByteArray& pictureBytes) {
    // The work file carries the picture itself.
    State.newCanvas(settings, background, pictureBytes);
    // A new work is shown whole when it is larger than the window, even at the old size.
    ScrollBox1->showNewPicture();
}

void TForm1::BitBtn3Click() {
    SavePictureDialog* dialog = savePictureDialog(this);
    const std::optional<QString> chosen = PlatformDialogs::chooseFile(this, dialog->request);
    if (!chosen)
        return;
    const QString path =
        PlatformDialogs::withDefaultExtension(*chosen, dialog->request.defaultExtension);
    dialog->request.initialPath = path;
    savePicture(State.canvas().picture(), path, State.canvas().dotsPerInch());
    // A picture is an export: the work stays unsaved until it is saved as a work.
    exportedPicture = path;
    showSavedNotice(this, tr("已保存：%1").arg(QDir::toNativeSeparators(path)));
}
