// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The recovery journal: every step since the work was last saved or opened, appended to a
// file and flushed to the disk before the step is shown, so that a crash, a kill or a power
// cut loses nothing the user saw done. Each window keeps its own journal beside a lock it
// holds while it runs; a journal whose lock nobody holds was left by a program that ended
// without saving, and is offered back at the next start.
//
// A journal is lines of JSON. The first names the work the steps start from (its file and
// the hash of its content, or none for a work never saved); each further line is one action
// of the user, in the work file's format: {"steps": [...], "files": {...}}, the steps that
// bring the history from the previous line's state to this one (undo, redo and the steps
// done) with the embedded files they use for the first time.
#pragma once

#include "CompositionState.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <set>
#include <vector>

// The state a journal's steps start from: a saved work, or nothing.
struct JournalBase {
    QString workFile;                               // absolute; empty for a work never saved
    QByteArray workHash;                            // SHA-256 of the work file's content, hex
    std::vector<std::shared_ptr<const Step>> steps; // the history's steps then, all done
};

class RecoveryJournal {
public:
    // Takes this window's lock in folder (made when missing). The journal file itself is
    // written at the first unsaved step. Throws TarvelError when the folder cannot be used.
    explicit RecoveryJournal(const QString& folder);
    // A clean end: the journal and the lock go.
    ~RecoveryJournal();
    RecoveryJournal(const RecoveryJournal&) = delete;
    RecoveryJournal& operator=(const RecoveryJournal&) = delete;

    // The work was saved, opened or replaced: the journal goes, and the steps from here on
    // are journaled from this base.
    void restart(JournalBase base);
    // The journal follows the composition's history: one line with the steps since the last
    // one, written and flushed before returning. A composition back at its base removes the
    // journal. Throws TarvelError when the disk refuses; the next call writes it whole.
    void follow(const CompositionState& composition);
    // The journal's file (which exists only while there are unsaved steps) and its lock.
    QString path() const { return journalPath; }
    QString lockPath() const { return lockFile; }
    // The bytes of the journal file, and of the lines its live steps take.
    qint64 size() const { return fileBytes; }

private:
    struct Entry {
        std::shared_ptr<const Step> step;
        qint64 bytes = 0; // the line that pushed it; 0 for the base's steps
    };
    void removeFile();
    void append(const QByteArray& line);
    void rewrite(const std::vector<std::shared_ptr<const Step>>& steps, std::size_t done);
    QByteArray headerLine() const;

    QString journalPath;
    QString lockFile;
    int lockHandle = -1;
    int fileHandle = -1;
    JournalBase base;
    // What the journal holds: the steps it has pushed and how many are done.
    std::vector<Entry> written;
    std::size_t writtenDone = 0;
    std::set<QString> filesWritten;
    qint64 fileBytes = 0;
    qint64 fileLineBytes = 0;
    // The actions journaled since the base, which the offer counts as steps.
    int actions = 0;
    bool needsRewrite = false;
};

// A journal left by a program that is no longer running, held (its lock taken) while it is
// offered, so that another window starting at the same time does not offer it too.
struct LeftJournal {
    QString path;
    QString workFile; // the work it starts from; empty for a work never saved
    QByteArray workHash;
    int steps = 0; // the actions journaled since the work was saved
    QDateTime written;
    std::shared_ptr<int> lock; // the dead owner's lock, taken; released when the last copy goes
};

// The journals left in folder, oldest first.
std::vector<LeftJournal> leftJournals(const QString& folder);
// Applies a left journal to a composition of its own and, when every step succeeded, puts
// the result in composition, unsaved; returns the base it started from. A torn last line is
// dropped. Throws TarvelError ("…") with the composition as it was otherwise. warnings
// receives what the steps warned of.
JournalBase recoverJournal(CompositionState& composition, const LeftJournal& journal,
                           QStringList* warnings = nullptr);
// The journal and its lock deleted (discarded, or recovered into a journal of its own).
void removeJournal(const LeftJournal& journal);
// A journal that could not be replayed kept beside the others under a name no program
// offers again; returns that name.
QString setJournalAside(const LeftJournal& journal);
