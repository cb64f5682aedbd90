// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Recovery after a crash: while the work is unsaved, every step is journaled before it is
// shown, and at the next start the work a program that ended without saving left behind is
// offered back with its history.
#include "Unit1.h"

#include "ErrorBoundary.h"
#include "PlatformDialogs.h"
#include "TarvelError.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <new>

QString TForm1::recoveryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/recovery");
}

void TForm1::startRecovery(const QString& folder) {
    recoveryFolderInUse = folder.isEmpty() ? recoveryFolder() : folder;
    recoveryJournal = std::make_unique<RecoveryJournal>(recoveryFolderInUse);
    JournalBase base;
    base.steps = State.steps().recipe();
    recoveryJournal->restart(std::move(base));
    followJournal();
}

void TForm1::restartJournal(JournalBase base) {
    if (recoveryJournal)
        recoveryJournal->restart(std::move(base));
}

bool TForm1::followJournal() {
    if (!recoveryJournal)
        return false;
    try {
        recoveryJournal->follow(State);
        return true;
    } catch (const TarvelError& error) {
        // The step stands; only its protection is missing, which the user is told.
        StatusPanel2->setText(error.text());
    } catch (const std::bad_alloc&) {
        StatusPanel2->setText(tr("内存不足，这一步没有写入恢复记录。"));
    }
    return false;
}

void TForm1::offerRecovery() {
    if (!recoveryJournal)
        return;
    for (const LeftJournal& left : leftJournals(recoveryFolderInUse)) {
        const QString name =
            left.workFile.isEmpty() ? tr("未命名作品") : QFileInfo(left.workFile).fileName();
        const PlatformDialogs::RecoverAnswer answer = PlatformDialogs::askToRecover(
            this, tr("上次没有保存的作品可以恢复：%1（%2 步，%3）")
                      .arg(name)
                      .arg(left.steps)
                      .arg(left.written.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
        if (answer == PlatformDialogs::RecoverAnswer::Later)
            continue;
        if (answer == PlatformDialogs::RecoverAnswer::Discard) {
            removeJournal(left);
            continue;
        }
        // A second work recovered asks about the first.
        if (!saveOrDiscardWork())
            continue;
        // The work comes back whole before this window journals it, once, from its base.
        std::unique_ptr<RecoveryJournal> own = std::move(recoveryJournal);
        QStringList warnings;
        JournalBase base;
        try {
            base = recoverJournal(State, left, &warnings);
        } catch (const TarvelError& error) {
            recoveryJournal = std::move(own);
            const QString aside = setJournalAside(left);
            ErrorBoundary::show(this, tr("%1\n恢复记录已经留在“%2”。")
                                          .arg(error.text(), QDir::toNativeSeparators(aside)));
            continue;
        } catch (...) {
            // Out of memory or worse: the journal left stays for the next start, this
            // window keeps its own.
            recoveryJournal = std::move(own);
            throw;
        }
        recoveryJournal = std::move(own);
        workReplaced();
        // A template composed over the work made it a new one, without a file: the work it
        // started from is not saved over without asking for a name.
        const std::vector<std::shared_ptr<const Step>> done = State.steps().recipe();
        bool composedAnew = false;
        for (std::size_t i = 0; i < done.size(); ++i)
            if ((i >= base.steps.size() || done[i] != base.steps[i]) &&
                done[i]->kind == Step::Kind::Template)
                composedAnew = true;
        currentWorkFile = composedAnew ? QString() : base.workFile;
        exportedPicture.clear();
        restartJournal(std::move(base));
        // The old journal goes only once this window's holds its steps; when it cannot, the
        // old one stays and is offered again.
        if (followJournal())
            removeJournal(left);
        updateTitle();
        if (!warnings.isEmpty())
            StatusPanel2->setText(warnings.join(QLatin1Char(' ')));
        if (answer == PlatformDialogs::RecoverAnswer::SaveAs) {
            const QString kept = currentWorkFile;
            currentWorkFile.clear();
            SaveWorkClick();
            // Not saved after all: the work stays recovered, under its old name.
            if (currentWorkFile.isEmpty())
                currentWorkFile = kept;
            updateTitle();
        }
    }
}
