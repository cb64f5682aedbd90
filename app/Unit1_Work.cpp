// The work file: the composition's steps in the script format with every file they use, so a
// saved work opens again for editing with its history. The window records each step as it
// is done (see recordSteps); saving writes the done steps, opening replays them.
#include "Unit1.h"

#include "ErrorBoundary.h"
#include "FileAccess.h"
#include "PictureCodecs.h"
#include "PlatformDialogs.h"
#include "Script.h"
#include "ScriptReader.h"
#include "TarvelError.h"
#include "TemplateDialog.h"

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
    const History& history = State.steps();
    QJsonArray steps;
    QJsonObject files;
    if (history.trimmed()) {
        // The oldest steps are forgotten: the work starts from the picture before the first
        // step still kept, carried as a lossless bitmap.
        const Picture start = State.pictureBeforeHistory();
        QJsonObject canvas{{QStringLiteral("do"), QStringLiteral("canvas")},
                           {QStringLiteral("width"), start.width()},
                           {QStringLiteral("height"), start.height()}};
        if (start.hasPicture()) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            codecs::writeBmp(start.picture().image(), buffer);
            files.insert(QStringLiteral("start.bmp"),
                         QString::fromLatin1(buffer.data().toBase64()));
            canvas.insert(QStringLiteral("picture"), QStringLiteral("start.bmp"));
            canvas.insert(QStringLiteral("layout"), QStringLiteral("center"));
        }
        steps.append(canvas);
    }
    for (std::size_t i = 0; i < history.doneCount(); ++i) {
        const HistoryStep& step = history.at(i);
        for (const QJsonValue& entry : step.script)
            steps.append(entry);
        for (auto it = step.files.begin(); it != step.files.end(); ++it) {
            if (it.value().isEmpty())
                throw TarvelError(QStringLiteral("背景图片太大（超过 %1 MB），不能放进作品文件。")
                                      .arg(maxEmbeddedPicture >> 20));
            files.insert(it.key(), QString::fromLatin1(it.value().toBase64()));
        }
    }
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
    // The steps are replayed on a new composition; the one shown now comes back if any fails.
    CompositionState::Work kept = State.takeWork();
    const bool wasReplaying = std::exchange(replaying, true);
    QString error;
    int status = 1;
    try {
        status = runScriptDocument(*this, document, QFileInfo(path).absoluteDir(), stdout, stderr,
                                   error);
    } catch (...) {
        replaying = wasReplaying;
        State.putWork(std::move(kept));
        throw;
    }
    replaying = wasReplaying;
    if (status != 0) {
        State.putWork(std::move(kept));
        refuse(error);
    }
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
