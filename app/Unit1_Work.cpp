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
#include "StepSession.h"
#include "TarvelError.h"
#include "TemplateDialog.h"
#include "Unit2.h"
#include "WorkFile.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLabel>
#include <QMenu>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace {

constexpr int recentWorkCount = 6;
// The settings hold a few names; a file much larger is not the program's.
constexpr qint64 largestSettings = 64 << 10;

QString settingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tarvel/Tarvel2008.conf");
}

// The settings are read and written only through a regular file of a reasonable size. Anything
// else in its place (a named pipe that would block, a link that a save would write through, a
// file of megabytes) is renamed aside, the link itself and never what it points to, and the
// settings start afresh.
bool settingsUsable() {
    const QString path = settingsPath();
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT;
    if (S_ISREG(status.st_mode) && status.st_size <= largestSettings)
        return true;
    const QString aside = path + QStringLiteral(".aside-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return ::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) == 0;
}

QStringList readRecentWorks() {
    const std::unique_ptr<QSettings> settings = openUserSettings();
    if (!settings)
        return {};
    const QStringList stored = settings->value(QStringLiteral("recentWorks")).toStringList();
    QStringList works;
    for (const QString& work : stored)
        if (!work.isEmpty() && work.size() <= 4096 && works.size() < recentWorkCount)
            works << work;
    return works;
}

void writeRecentWorks(const QStringList& works) {
    if (const std::unique_ptr<QSettings> settings = openUserSettings())
        settings->setValue(QStringLiteral("recentWorks"), works);
}

FileDialogRequest workRequest(FileDialogRequest::Kind kind, const QString& initial) {
    FileDialogRequest request;
    request.kind = kind;
    request.filter = QCoreApplication::translate("TForm1", "Tarvel 作品 (*.tarvel)|*.tarvel");
    request.defaultExtension = QStringLiteral("tarvel");
    request.initialPath = initial;
    return request;
}

} // namespace

std::unique_ptr<QSettings> openUserSettings() {
    if (!settingsUsable())
        return nullptr;
    return std::make_unique<QSettings>(settingsPath(), QSettings::NativeFormat);
}

QJsonObject TForm1::workScript() const {
    return workDocument(State);
}

void TForm1::saveWork(const QString& path) {
    const QByteArray hash = saveWorkFile(State, path);
    // Saved steps need no journal: the next one starts a new journal from this file.
    restartJournal({QFileInfo(path).absoluteFilePath(), hash, State.steps().recipe()});
    currentWorkFile = path;
    exportedPicture.clear();
    rememberRecentWork(path);
    updateTitle();
}

void TForm1::openWork(const QString& path) {
    // Nothing changes here unless every step of the work succeeded.
    QStringList warnings;
    QByteArray hash;
    openWorkFile(State, path, &warnings, &hash);
    restartJournal({QFileInfo(path).absoluteFilePath(), hash, State.steps().recipe()});
    workReplaced();
    // Characters drawn in another face than the work names (a face not installed here draws
    // none of its own) are said at once.
    if (!warnings.isEmpty())
        StatusPanel2->setText(warnings.join(QLatin1Char(' ')));
    exportedPicture.clear();
    currentWorkFile = path;
    rememberRecentWork(path);
    updateTitle();
}

void TForm1::workReplaced() {
    // Nothing armed before stays armed over the new work, and the canvas dialog holds the
    // canvas shown, which the text size check and the fan read.
    for (const ElementKindEntry& entry : placedKinds)
        if (PlacedElement* placed = State.element(entry.kind))
            placed->disarm();
    Form2->CanvasSettings = State.canvasSettings();
    effectMarkFromHistory();
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
    ApplicationHint(tr("已保存：%1").arg(QDir::toNativeSeparators(path)));
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
    request.filter = tr("脚本 (*.json)|*.json");
    request.defaultExtension = QStringLiteral("json");
    const std::optional<QString> chosen = PlatformDialogs::chooseFile(this, request);
    if (!chosen)
        return;
    const QString path = PlatformDialogs::withDefaultExtension(*chosen, request.defaultExtension);
    writeWholeFile(path, QJsonDocument(workScript()).toJson(QJsonDocument::Indented));
    ApplicationHint(tr("已保存：%1").arg(QDir::toNativeSeparators(path)));
}

void TForm1::TemplateClick() {
    if (!saveOrDiscardWork())
        return;
    // One dialog for as long as the program runs: it opens with what was typed last.
    if (!templateDialog)
        templateDialog = new TemplateDialog(fontFaceList(), this);
    // A work that does not fit is said, and the dialog comes back with everything typed.
    while (templateDialog->exec() == QDialog::Accepted)
        if (ErrorBoundary::run(this, [&] { composeTemplate(templateDialog->workTemplate()); }))
            return;
}

void TForm1::composeTemplate(const WorkTemplate& work) {
    QByteArray picture;
    if (!work.picture.isEmpty()) {
        const files::ReadResult read = files::readRegularFile(work.picture, maxEmbeddedPicture);
        if (read.problem != files::ReadProblem::None)
            throw TarvelError(tr("无法按模板合成作品：无法读取图片%1：%2。")
                                  .arg(files::quoted(work.picture),
                                       files::problemText(read, maxEmbeddedPicture)));
        picture = read.data;
    }
    // One step: a work that does not fit says so before anything changes, and one undo
    // takes the whole template away.
    try {
        State.applyTemplate(work, picture);
    } catch (const TarvelError& error) {
        throw TarvelError(tr("无法按模板合成作品：%1").arg(error.text()));
    }
    workReplaced();
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
    return readRecentWorks();
}

void TForm1::rememberRecentWork(const QString& path) {
    QStringList works = recentWorks();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    works.removeAll(absolute);
    works.prepend(absolute);
    while (works.size() > recentWorkCount)
        works.removeLast();
    writeRecentWorks(works);
}

void TForm1::fillRecentWorks() {
    MenuRecentWorks->clear();
    const QStringList works = recentWorks();
    for (const QString& work : works) {
        QAction* item = MenuRecentWorks->addAction(QDir::toNativeSeparators(work));
        connect(item, &QAction::triggered, this, [this, work] {
            ErrorBoundary::run(this, [&] {
                // A work moved or deleted since is offered for removal from the list.
                if (!QFileInfo::exists(work)) {
                    if (PlatformDialogs::askYesNo(this,
                                                  tr("作品“%1”已经不在了（移走或删除了）。要把它从"
                                                     "“最近的作品”中去掉吗？")
                                                      .arg(QDir::toNativeSeparators(work)))) {
                        QStringList works = recentWorks();
                        works.removeAll(work);
                        writeRecentWorks(works);
                        fillRecentWorks();
                    }
                    return;
                }
                if (saveOrDiscardWork())
                    openWork(work);
            });
        });
    }
    MenuRecentWorks->setEnabled(true);
    if (works.isEmpty())
        MenuRecentWorks->addAction(tr("（无）"))->setEnabled(false);
}
