// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Steps given by their script keys, applied to a composition without any widget: scripts,
// work files and templates all run here. Each dialog command is kept as the values its
// dialog would hold (keys left out keep them from step to step), its record and whether its
// element is armed, and ends as "close" says: 确定, 应用, 取消, the close box, 预览 or 清空
// leave armed and drawn what the dialog's buttons would.
#pragma once

#include "CompositionState.h"
#include "FontCoverage.h"
#include "ScriptReader.h"

#include <QByteArray>
#include <QDir>
#include <QJsonObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>

class RichText;

class StepSession {
public:
    // files are the embedded files by the names the steps use; other names are files in
    // base. out receives what "check" prints.
    StepSession(CompositionState& composition, std::map<QString, QByteArray> files,
                const QDir& base, FILE* out = nullptr);
    ~StepSession();
    StepSession(const StepSession&) = delete;
    StepSession& operator=(const StepSession&) = delete;

    // Applies one step; throws TarvelError with the reason when it fails.
    void run(const ScriptStep& step);
    // Warnings of the last step (characters drawn in a fallback face), which still succeeded.
    QStringList takeWarnings() { return std::exchange(warnings, {}); }
    // The canvas settings the canvas dialog holds: what the text size check and the fan read.
    const TSetStruct& canvasSettings() const;

private:
    struct Dialogs;
    QByteArray fileBytes(const QString& name, qint64 largest) const;
    QString path(const QString& name) const;
    void canvas(const QJsonObject& keys);
    void text(const QJsonObject& keys);
    void rotated(const QJsonObject& keys);
    void seal(const QJsonObject& keys);
    void shape(ElementKind kind, const QJsonObject& keys);
    void click(QPoint at);
    void nudge(const QJsonObject& keys);
    void followMovedText();
    void effect(const QJsonObject& keys);
    void templateStep(const QJsonObject& keys);
    void exportPdfStep(const QJsonObject& keys);
    void warnOf(const QList<FaceGap>& gaps);

    CompositionState& composition;
    std::map<QString, QByteArray> files;
    QDir base;
    FILE* out;
    QStringList warnings;
    std::unique_ptr<Dialogs> dialogs;
};

// The largest background file a work carries.
inline constexpr qint64 maxEmbeddedPicture = qint64(8) << 20;

// Composes a template's steps into a composition of their own, with its background picture
// (or a mounted couplet's strips) as the file its canvas step names.
void composeTemplate(CompositionState& composed, const WorkTemplate& work,
                     const QByteArray& picture);
