// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The work file: the composition's recipe in the script format with every file it uses, so a
// saved work opens again for editing with its history. Saving writes the steps done; opening
// applies them to a composition of its own and shows it only when every step succeeded.
#include "Unit1.h"

#include "ErrorBoundary.h"
#include "FileAccess.h"
#include "PictureCodecs.h"
#include "PlatformDialogs.h"
#include "Script.h"
#include "ScriptReader.h"
#include "TarvelError.h"
#include "TemplateDialog.h"
#include "Unit2.h"
#include "WorkSteps.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMenu>
#include <QSaveFile>
#include <QSettings>
#include <cstdio>

namespace {

constexpr int recentWorkCount = 6;
constexpr qint64 largestWork = 16 * 1024 * 1024;

FileDialogRequest workRequest(FileDialogRequest::Kind kind, const QString& initial) {
    FileDialogRequest request;
    request.kind = kind;
    request.filter = QStringLiteral("Tarvel 作品 (*.tarvel)|*.tarvel");
    request.defaultExtension = QStringLiteral("tarvel");
    request.initialPath = initial;
    return request;
}

// The commands a work file may hold: those the window records. Saving, opening and the
// text dialog's own files would reach outside the work.
void checkWorkSteps(const ScriptDocument& document) {
    static const QStringList allowed = {"canvas", "text",  "rotated", "seal", "circle", "fan",
                                        "click",  "nudge", "undo",    "redo", "clear",  "effect"};
    for (const ScriptStep& step : document.steps) {
        const auto refuse = [&](const QString& what) {
            throw TarvelError(QStringLiteral("第 %1 步（第 %2 行）：%3")
                                  .arg(step.number)
                                  .arg(step.line)
                                  .arg(what));
        };
        if (!allowed.contains(step.command))
            refuse(QStringLiteral("作品文件里不能有“%1”").arg(step.command));
        for (const char* key : {"open", "saveAs"})
            if (step.keys.contains(QLatin1String(key)))
                refuse(QStringLiteral("作品文件里的文本不能读写别的文件（“%1”）")
                           .arg(QLatin1String(key)));
        const QString picture = step.keys.value(QStringLiteral("picture")).toString();
        if (!picture.isEmpty() && !document.files.count(picture))
            refuse(QStringLiteral("背景图片“%1”不在作品文件里").arg(picture));
    }
}

void writeWholeFile(const QString& path, const QByteArray& data) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw TarvelError(
            QStringLiteral("无法保存“%1”：%2。").arg(QDir::toNativeSeparators(path), reason));
    }
}

} // namespace

QJsonObject TForm1::workScript() const {
    for (const std::shared_ptr<const Step>& step : State.steps().recipe())
        if (step->kind == Step::Kind::Canvas && step->canvas.UsePicture && step->picture.isEmpty())
            throw TarvelError(QStringLiteral("背景图片太大（超过 %1 MB），不能放进作品文件。")
                                  .arg(maxEmbeddedPicture >> 20));
    QJsonObject files;
    const QJsonArray steps = workSteps(State.steps().recipe(), files);
    QJsonObject work{{QStringLiteral("format"), workFormatName},
                     {QStringLiteral("version"), workFormatVersion},
                     {QStringLiteral("steps"), steps}};
    if (!files.isEmpty())
        work.insert(QStringLiteral("files"), files);
    return work;
}

void TForm1::saveWork(const QString& path) {
    const QByteArray data = QJsonDocument(workScript()).toJson(QJsonDocument::Indented);
    if (data.size() > largestWork)
        throw TarvelError(QStringLiteral("作品太大（超过 16 MB），无法保存为作品文件。"));
    writeWholeFile(path, data);
    currentWorkFile = path;
    State.markSaved();
    rememberRecentWork(path);
    updateTitle();
}

void TForm1::openWork(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    const auto refuse = [&](const QString& why) {
        throw TarvelError(QStringLiteral("无法打开作品“%1”：%2").arg(shown, why));
    };
    const files::ReadResult read = files::readRegularFile(path, largestWork + 1);
    if (read.problem != files::ReadProblem::None)
        refuse(files::problemText(read, largestWork) + QStringLiteral("。"));
    ScriptDocument document;
    try {
        document = readScriptDocument(read.data);
        checkWorkSteps(document);
    } catch (const ScriptFormatError& error) {
        refuse(error.text());
    } catch (const TarvelError& error) {
        refuse(error.text());
    }
    // The steps are applied to a composition of their own, without any dialog: the work shown
    // now, the dialogs and the title change only when every step succeeded.
    CompositionState opened;
    StepPlayer player(opened, std::move(document.files), QFileInfo(path).absoluteDir());
    for (const ScriptStep& step : document.steps) {
        try {
            player.run(step);
        } catch (const TarvelError& error) {
            refuse(QStringLiteral("第 %1 步：%2").arg(step.number).arg(error.text()));
        } catch (const std::bad_alloc&) {
            refuse(QStringLiteral("第 %1 步：内存不足，命令没有完成。").arg(step.number));
        }
    }
    State.putWork(opened.takeWork());
    // Nothing armed before stays armed over the work, and the canvas dialog holds the canvas
    // the work shows, which the text size check and the fan read.
    for (const ElementKindEntry& entry : placedKinds)
        if (PlacedElement* placed = State.element(entry.kind))
            placed->disarm();
    Form2->CanvasSettings = State.canvasSettings();
    currentWorkFile = path;
    State.markSaved();
    rememberRecentWork(path);
    updateTitle();
}

void TForm1::SaveWorkClick() {
    QString path = currentWorkFile;
    if (path.isEmpty()) {
        const std::optional<QString> chosen = PlatformDialogs::chooseFile(
            this, workRequest(FileDialogRequest::Kind::Save, QString()));
        if (!chosen)
            return;
        path = PlatformDialogs::withDefaultExtension(*chosen, QStringLiteral("tarvel"));
    }
    saveWork(path);
    ApplicationHint(QStringLiteral("已保存：%1").arg(QDir::toNativeSeparators(path)));
}

void TForm1::OpenWorkClick() {
    if (!saveOrDiscardWork())
        return;
    const std::optional<QString> chosen = PlatformDialogs::chooseFile(
        this, workRequest(FileDialogRequest::Kind::Open, currentWorkFile));
    if (chosen)
        openWork(*chosen);
}

void TForm1::ExportScriptClick() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.filter = QStringLiteral("脚本 (*.json)|*.json");
    request.defaultExtension = QStringLiteral("json");
    const std::optional<QString> chosen = PlatformDialogs::chooseFile(this, request);
    if (!chosen)
        return;
    const QString path = PlatformDialogs::withDefaultExtension(*chosen, request.defaultExtension);
    writeWholeFile(path, QJsonDocument(workScript()).toJson(QJsonDocument::Indented));
    ApplicationHint(QStringLiteral("已保存：%1").arg(QDir::toNativeSeparators(path)));
}

void TForm1::TemplateClick() {
    if (!saveOrDiscardWork())
        return;
    TemplateDialog dialog(fontFaceList(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    composeTemplate(dialog.workTemplate());
}

void TForm1::composeTemplate(const WorkTemplate& work) {
    // Laid out first: a work that does not fit says so before anything changes.
    const QJsonObject script{{QStringLiteral("steps"), templateSteps(work)}};
    const ScriptDocument document =
        readScriptDocument(QJsonDocument(script).toJson(QJsonDocument::Compact));
    CompositionState::Work kept = State.takeWork();
    QString error;
    int status = 1;
    try {
        status = runScriptDocument(*this, document, QDir::current(), stdout, stderr, error);
    } catch (...) {
        State.putWork(std::move(kept));
        throw;
    }
    if (status != 0) {
        State.putWork(std::move(kept));
        throw TarvelError(QStringLiteral("无法按模板合成作品：%1").arg(error));
    }
    currentWorkFile.clear();
    updateTitle();
}

void TForm1::updateTitle() {
    const QString program = QStringLiteral("Tarvel2008");
    setWindowTitle(
        currentWorkFile.isEmpty()
            ? program + QStringLiteral("[*]")
            : QStringLiteral("%1[*] - %2").arg(QFileInfo(currentWorkFile).fileName(), program));
    setWindowModified(State.isModified());
}

QStringList TForm1::recentWorks() const {
    return QSettings().value(QStringLiteral("recentWorks")).toStringList();
}

void TForm1::rememberRecentWork(const QString& path) {
    QStringList works = recentWorks();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    works.removeAll(absolute);
    works.prepend(absolute);
    while (works.size() > recentWorkCount)
        works.removeLast();
    QSettings().setValue(QStringLiteral("recentWorks"), works);
}

void TForm1::fillRecentWorks() {
    MenuRecentWorks->clear();
    const QStringList works = recentWorks();
    for (const QString& work : works) {
        QAction* item = MenuRecentWorks->addAction(QDir::toNativeSeparators(work));
        connect(item, &QAction::triggered, this, [this, work] {
            ErrorBoundary::run(this, [&] {
                if (saveOrDiscardWork())
                    openWork(work);
            });
        });
    }
    MenuRecentWorks->setEnabled(true);
    if (works.isEmpty())
        MenuRecentWorks->addAction(QStringLiteral("（无）"))->setEnabled(false);
}
