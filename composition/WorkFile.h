// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Work files and composition scripts on a composition, without any window: saving the recipe
// as a work, opening one (nothing changes unless every step succeeded), and running a script
// step by step.
#pragma once

#include "CompositionState.h"
#include "ScriptReader.h"

#include <QDir>
#include <QJsonObject>
#include <QString>
#include <cstdio>

// The largest work file written or read.
inline constexpr qint64 largestWork = workLimits.bytes;

// The work as a script: the steps still done with every file they use.
QJsonObject workDocument(const CompositionState& composition);
// Writes a whole file through a temporary one, so that a failed write leaves the old file.
void writeWholeFile(const QString& path, const QByteArray& data);
// Writes the work through a temporary file and marks the composition saved; returns the
// SHA-256 of what it wrote, in hex.
QByteArray saveWorkFile(CompositionState& composition, const QString& path);
// Reads a work and applies its steps to a composition of its own; only when every step
// succeeded does it replace the composition, marked saved. Throws TarvelError
// ("无法打开作品“…”：…") otherwise, with the composition as it was. warnings receives what
// its steps warned of (characters drawn in a fallback face); hash the SHA-256 of the file
// read, in hex.
void openWorkFile(CompositionState& composition, const QString& path,
                  QStringList* warnings = nullptr, QByteArray* hash = nullptr);
// Refuses a document with other commands than a composition's steps, or files of its own
// that its steps do not carry.
void checkWorkSteps(const ScriptDocument& document);
// Refuses a step whose background picture was too large to be kept for the work file.
void checkEmbeddable(const Step& step);

// Applies the steps of a work in order; a step that fails stops them with TarvelError
// ("第 N 步：…"). warnings receives what the steps warned of, each once.
class StepSession;
void applySteps(StepSession& session, const std::vector<ScriptStep>& steps, QStringList* warnings);
// The text of a failure, as a step's error boundary gives it.
QString failureText(const std::exception_ptr& failure);

// Runs the script FILE on the composition, writing "check" labels to out and step errors and
// warnings to err; returns the process exit status: 0 every step succeeded, 1 a step failed,
// 2 the script could not be read or is malformed.
int runScriptFile(CompositionState& composition, const QString& file, FILE* out, FILE* err);
// Runs the steps of a script already read; relative names are found among its embedded
// files, then in base. firstError receives "第 N 步：…" of the failing step.
int runScriptDocument(CompositionState& composition, const ScriptDocument& document,
                      const QDir& base, FILE* out, FILE* err, QString& firstError);
