// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "RecoveryJournal.h"

#include "FileAccess.h"
#include "StepSession.h"
#include "TarvelError.h"
#include "WorkFile.h"
#include "WorkSteps.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString journalFormat = QStringLiteral("tarvel-journal");
constexpr int journalVersion = 1;
const QString journalSuffix = QStringLiteral(".journal");
const QString lockSuffix = QStringLiteral(".lock");
// A journal holds the steps of a work and what undo and redo did since: it may be larger
// than the work it brings back, never without bound.
constexpr DocumentLimits journalLimits{workLimits.bytes * 2, workLimits.objects * 2};

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// A lock nobody else holds, taken; -1 when another process holds it or it cannot be opened.
int takeLock(const QString& path) {
    const int handle = ::open(QFile::encodeName(path).constData(),
                              O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (handle < 0)
        return -1;
    if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
        ::close(handle);
        return -1;
    }
    return handle;
}

void writeAll(int handle, const QByteArray& data) {
    const char* at = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(handle, at, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw errno;
        }
        at += written;
        left -= written;
    }
}

// The folder's entry for a file made or renamed in it reaches the disk too.
void syncFolder(const QString& folder) {
    const int handle = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (handle >= 0) {
        ::fsync(handle);
        ::close(handle);
    }
}

QByteArray compact(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// The lines that take a journal from the steps it holds (done of them done) to the history's:
// undo and redo to where they part, then the new steps, then undo of the new ones not done.
// False when the history cannot be reached that way (it lost steps without new ones).
struct Diff {
    QJsonArray steps;
    QJsonObject files;
    int pushed = 0;
};

bool diffSteps(const std::vector<std::shared_ptr<const Step>>& from, std::size_t fromDone,
               const std::vector<std::shared_ptr<const Step>>& to, std::size_t toDone,
               std::set<QString>& filesWritten, Diff& diff) {
    std::size_t same = 0;
    while (same < from.size() && same < to.size() && from[same] == to[same])
        ++same;
    const auto move = [&](std::size_t& done, std::size_t target) {
        for (; done > target; --done)
            diff.steps.append(QJsonObject{{QStringLiteral("do"), QStringLiteral("undo")}});
        for (; done < target; ++done)
            diff.steps.append(QJsonObject{{QStringLiteral("do"), QStringLiteral("redo")}});
    };
    std::size_t done = fromDone;
    if (same == to.size()) {
        if (from.size() != to.size())
            return false;
        move(done, toDone);
        return true;
    }
    move(done, same);
    for (std::size_t i = same; i < to.size(); ++i) {
        checkEmbeddable(*to[i]);
        QJsonObject files;
        for (const QJsonValue& step : workSteps({to[i]}, files))
            diff.steps.append(step);
        for (auto file = files.begin(); file != files.end(); ++file)
            if (filesWritten.insert(file.key()).second)
                diff.files.insert(file.key(), file.value());
        ++diff.pushed;
    }
    done = to.size();
    move(done, toDone);
    return true;
}

std::vector<std::shared_ptr<const Step>> historySteps(const History& history) {
    std::vector<std::shared_ptr<const Step>> steps;
    steps.reserve(history.size());
    for (std::size_t i = 0; i < history.size(); ++i)
        steps.push_back(history.at(i).recipe);
    return steps;
}

QByteArray lineOf(const Diff& diff, int actions) {
    QJsonObject line{{QStringLiteral("steps"), diff.steps}, {QStringLiteral("actions"), actions}};
    if (!diff.files.isEmpty())
        line.insert(QStringLiteral("files"), diff.files);
    return compact(line) + '\n';
}

// The journal's complete lines; a last line cut short by a crash is left out.
QList<QByteArray> completeLines(const QByteArray& data) {
    QList<QByteArray> lines = data.split('\n');
    // After the last newline: empty, or a line whose write did not finish.
    lines.removeLast();
    return lines;
}

} // namespace

RecoveryJournal::RecoveryJournal(const QString& folder) {
    if (!QDir().mkpath(folder))
        throw TarvelError(
            QCoreApplication::translate("Composition", "无法建立恢复记录的文件夹“%1”。")
                .arg(QDir::toNativeSeparators(folder)));
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QDateTime now = QDateTime::currentDateTime();
    const QString name = QStringLiteral("%1-%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(now.toMSecsSinceEpoch());
    journalPath = QDir(folder).absoluteFilePath(name + journalSuffix);
    lockFile = QDir(folder).absoluteFilePath(name + lockSuffix);
    lockHandle = takeLock(lockFile);
    if (lockHandle < 0)
        throw TarvelError(QCoreApplication::translate("Composition", "无法建立恢复记录“%1”：%2。")
                              .arg(QDir::toNativeSeparators(lockFile), systemError(errno)));
    // Who holds it, for a person reading the folder; the lock itself is what tells.
    const QByteArray owner = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                             now.toString(Qt::ISODate).toUtf8() + '\n';
    try {
        writeAll(lockHandle, owner);
    } catch (int) {
        // The lock holds without its text.
    }
}

RecoveryJournal::~RecoveryJournal() {
    if (fileHandle >= 0)
        ::close(fileHandle);
    QFile::remove(journalPath);
    QFile::remove(lockFile);
    ::close(lockHandle);
}

void RecoveryJournal::restart(JournalBase newBase) {
    base = std::move(newBase);
    removeFile();
}

void RecoveryJournal::removeFile() {
    if (fileHandle >= 0) {
        ::close(fileHandle);
        fileHandle = -1;
    }
    QFile::remove(journalPath);
    written.clear();
    for (const std::shared_ptr<const Step>& step : base.steps)
        written.push_back({step, 0});
    writtenDone = written.size();
    filesWritten.clear();
    fileBytes = 0;
    fileLineBytes = 0;
    actions = 0;
    needsRewrite = false;
}

QByteArray RecoveryJournal::headerLine() const {
    return compact({{QStringLiteral("format"), journalFormat},
                    {QStringLiteral("version"), journalVersion},
                    {QStringLiteral("work"), base.workFile},
                    {QStringLiteral("workHash"), QString::fromLatin1(base.workHash)}}) +
           '\n';
}

void RecoveryJournal::follow(const CompositionState& composition) {
    const std::vector<std::shared_ptr<const Step>> now = historySteps(composition.steps());
    const std::size_t done = composition.steps().doneCount();
    // Saved work has nothing to bring back.
    if (composition.isClean()) {
        removeFile();
        return;
    }
    std::vector<std::shared_ptr<const Step>> before;
    for (const Entry& entry : written)
        before.push_back(entry.step);
    Diff diff;
    std::set<QString> files = filesWritten;
    // A journal that cannot take a step would bring back an older work: none is kept.
    for (const std::shared_ptr<const Step>& step : now) {
        try {
            checkEmbeddable(*step);
        } catch (const TarvelError& error) {
            removeFile();
            throw TarvelError(
                QCoreApplication::translate("Composition",
                                            "%1 程序意外退出时，这件作品不能恢复：请保存作品。")
                    .arg(error.text()));
        }
    }
    if (fileHandle < 0 || needsRewrite || !diffSteps(before, writtenDone, now, done, files, diff)) {
        rewrite(now, done);
        return;
    }
    if (diff.steps.isEmpty())
        return;
    const QByteArray line = lineOf(diff, actions + 1);
    append(line);
    filesWritten = std::move(files);
    qint64 fileLine = 0;
    for (auto file = diff.files.begin(); file != diff.files.end(); ++file)
        fileLine += file.key().size() + file.value().toString().size();
    fileLineBytes += fileLine;
    // What the line took, shared by the steps it pushed, so that a journal grown by undo,
    // redo and nudges half past what its live steps take is written again from them.
    std::size_t same = 0;
    while (same < written.size() && same < now.size() && written[same].step == now[same])
        ++same;
    written.resize(same);
    for (std::size_t i = same; i < now.size(); ++i)
        written.push_back({now[i], (line.size() - fileLine) / std::max(diff.pushed, 1)});
    writtenDone = done;
    qint64 live = fileLineBytes + headerLine().size();
    for (const Entry& entry : written)
        live += entry.bytes;
    if (fileBytes > live + live / 2) {
        try {
            rewrite(now, done);
        } catch (const TarvelError&) {
            // The journal as appended still holds every step: it is written afresh later.
            needsRewrite = false;
        }
    }
}

void RecoveryJournal::append(const QByteArray& line) {
    try {
        writeAll(fileHandle, line);
        if (::fdatasync(fileHandle) != 0)
            throw errno;
    } catch (int error) {
        // Part of the line may stand in the file: the next step writes it whole again.
        needsRewrite = true;
        throw TarvelError(QCoreApplication::translate("Composition", "无法写入恢复记录“%1”：%2。")
                              .arg(QDir::toNativeSeparators(journalPath), systemError(error)));
    }
    fileBytes += line.size();
    ++actions;
}

void RecoveryJournal::rewrite(const std::vector<std::shared_ptr<const Step>>& now,
                              std::size_t done) {
    std::set<QString> files;
    Diff diff;
    diffSteps(base.steps, base.steps.size(), now, done, files, diff);
    if (diff.steps.isEmpty()) {
        removeFile();
        return;
    }
    const QByteArray data = headerLine() + lineOf(diff, std::max(actions, 1));
    // Written beside the journal and renamed over it: a crash meanwhile leaves the old one.
    const QString fresh = journalPath + QStringLiteral(".new");
    const int handle = ::open(QFile::encodeName(fresh).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    int error = handle < 0 ? errno : 0;
    if (handle >= 0) {
        try {
            writeAll(handle, data);
            if (::fdatasync(handle) != 0)
                error = errno;
        } catch (int failed) {
            error = failed;
        }
        ::close(handle);
    }
    if (!error && ::rename(QFile::encodeName(fresh).constData(),
                           QFile::encodeName(journalPath).constData()) != 0)
        error = errno;
    if (error) {
        QFile::remove(fresh);
        needsRewrite = true;
        throw TarvelError(QCoreApplication::translate("Composition", "无法写入恢复记录“%1”：%2。")
                              .arg(QDir::toNativeSeparators(journalPath), systemError(error)));
    }
    syncFolder(QFileInfo(journalPath).absolutePath());
    if (fileHandle >= 0)
        ::close(fileHandle);
    fileHandle =
        ::open(QFile::encodeName(journalPath).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    needsRewrite = fileHandle < 0;
    fileBytes = data.size();
    actions = std::max(actions, 1);
    filesWritten = std::move(files);
    fileLineBytes = 0;
    for (auto file = diff.files.begin(); file != diff.files.end(); ++file)
        fileLineBytes += file.key().size() + file.value().toString().size();
    written.clear();
    for (const std::shared_ptr<const Step>& step : now)
        written.push_back(
            {step, (data.size() - fileLineBytes) / qint64(std::max<std::size_t>(now.size(), 1))});
    writtenDone = done;
}

std::vector<LeftJournal> leftJournals(const QString& folder) {
    std::vector<LeftJournal> found;
    const QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(
        {QStringLiteral("*") + journalSuffix, QStringLiteral("*") + lockSuffix},
        QDir::Files | QDir::NoSymLinks | QDir::Hidden, QDir::Time | QDir::Reversed);
    for (const QFileInfo& entry : entries) {
        const QString stem = entry.absolutePath() + QLatin1Char('/') + entry.completeBaseName();
        const bool isJournal = entry.fileName().endsWith(journalSuffix);
        if (!isJournal) {
            // A lock without a journal, of a program that ended: nothing to offer.
            if (!QFileInfo::exists(stem + journalSuffix)) {
                const int lock = takeLock(entry.absoluteFilePath());
                if (lock >= 0) {
                    QFile::remove(stem + journalSuffix + QStringLiteral(".new"));
                    QFile::remove(entry.absoluteFilePath());
                    ::close(lock);
                }
            }
            continue;
        }
        // A journal whose lock is held belongs to a window still open.
        const int lock = takeLock(stem + lockSuffix);
        if (lock < 0)
            continue;
        LeftJournal journal;
        journal.lock = std::shared_ptr<int>(new int(lock), [](int* handle) {
            ::close(*handle);
            delete handle;
        });
        journal.path = entry.absoluteFilePath();
        journal.written = entry.lastModified();
        // A journal being written afresh when its program ended: the old one stands.
        QFile::remove(journal.path + QStringLiteral(".new"));
        const files::ReadResult read =
            files::readRegularFile(journal.path, journalLimits.bytes + 1);
        const QList<QByteArray> lines = completeLines(read.data);
        if (!lines.isEmpty()) {
            const QJsonObject header = QJsonDocument::fromJson(lines.first()).object();
            journal.workFile = header.value(QStringLiteral("work")).toString();
            journal.workHash = header.value(QStringLiteral("workHash")).toString().toLatin1();
        }
        // The actions since the work was saved, as the last whole line counts them.
        for (qsizetype i = lines.size(); i-- > 1 && !journal.steps;)
            journal.steps =
                QJsonDocument::fromJson(lines[i]).object().value(QStringLiteral("actions")).toInt();
        if (journal.steps <= 0 && read.problem == files::ReadProblem::None) {
            // Nothing to bring back.
            removeJournal(journal);
            continue;
        }
        found.push_back(std::move(journal));
    }
    return found;
}

JournalBase recoverJournal(CompositionState& composition, const LeftJournal& journal,
                           QStringList* warnings) {
    const QString shown = QDir::toNativeSeparators(journal.path);
    const auto refuse = [&](const QString& why) {
        throw TarvelError(
            QCoreApplication::translate("Composition", "无法恢复“%1”：%2").arg(shown, why));
    };
    const files::ReadResult read = files::readRegularFile(journal.path, journalLimits.bytes + 1);
    if (read.problem != files::ReadProblem::None)
        refuse(files::problemText(read, journalLimits.bytes) +
               QCoreApplication::translate("Composition", "。"));
    QList<QByteArray> lines = completeLines(read.data);
    // The last line may also be whole in length but not in content, when the disk kept the
    // file's size and not yet its bytes.
    if (lines.size() > 1 && QJsonDocument::fromJson(lines.last()).isNull())
        lines.removeLast();
    const QJsonObject header =
        lines.isEmpty() ? QJsonObject() : QJsonDocument::fromJson(lines.first()).object();
    if (header.value(QStringLiteral("format")).toString() != journalFormat ||
        header.value(QStringLiteral("version")).toInt() != journalVersion)
        refuse(QCoreApplication::translate("Composition", "这个文件不是 Tarvel 的恢复记录。"));
    QJsonArray steps;
    QJsonObject files;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QJsonDocument line = QJsonDocument::fromJson(lines[i]);
        if (!line.isObject() || !line.object().value(QStringLiteral("steps")).isArray())
            refuse(QCoreApplication::translate("Composition", "第 %1 行坏了。").arg(i + 1));
        for (const QJsonValue& step : line.object().value(QStringLiteral("steps")).toArray())
            steps.append(step);
        const QJsonObject lineFiles = line.object().value(QStringLiteral("files")).toObject();
        for (auto file = lineFiles.begin(); file != lineFiles.end(); ++file)
            files.insert(file.key(), file.value());
    }
    QJsonObject work{{QStringLiteral("format"), workFormatName},
                     {QStringLiteral("version"), workFormatVersion},
                     {QStringLiteral("steps"), steps}};
    if (!files.isEmpty())
        work.insert(QStringLiteral("files"), files);
    ScriptDocument document;
    try {
        document =
            readScriptDocument(QJsonDocument(work).toJson(QJsonDocument::Compact), journalLimits);
        checkWorkSteps(document);
    } catch (const ScriptFormatError& error) {
        refuse(error.text());
    } catch (const TarvelError& error) {
        refuse(error.text());
    }
    CompositionState recovered;
    JournalBase base;
    base.workFile = header.value(QStringLiteral("work")).toString();
    base.workHash = header.value(QStringLiteral("workHash")).toString().toLatin1();
    if (!base.workFile.isEmpty()) {
        QByteArray hash;
        try {
            openWorkFile(recovered, base.workFile, warnings, &hash);
        } catch (const TarvelError& error) {
            refuse(error.text());
        }
        if (hash != base.workHash)
            refuse(QCoreApplication::translate(
                       "Composition", "作品“%1”在这些步骤之后又保存过或改过，步骤不能接在它后面。")
                       .arg(QDir::toNativeSeparators(base.workFile)));
        base.steps = recovered.steps().recipe();
    }
    StepSession session(recovered, std::move(document.files),
                        QFileInfo(base.workFile).absoluteDir());
    try {
        applySteps(session, document.steps, warnings);
    } catch (const TarvelError& error) {
        refuse(error.text());
    }
    composition.putWork(recovered.takeWork());
    return base;
}

void removeJournal(const LeftJournal& journal) {
    QFile::remove(journal.path);
    QFile::remove(journal.path.chopped(journalSuffix.size()) + lockSuffix);
}

QString setJournalAside(const LeftJournal& journal) {
    const QString aside = journal.path + QStringLiteral(".aside-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(journal.path, aside))
        return journal.path;
    QFile::remove(journal.path.chopped(journalSuffix.size()) + lockSuffix);
    return aside;
}
