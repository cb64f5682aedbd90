// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The work file's steps: the recipe of a composition written as script steps with every
// value of its records, and script steps applied to a composition as values, without any
// dialog. What is written here is read back by the same keys.
#pragma once

#include "CompositionState.h"
#include "ScriptReader.h"

#include <QByteArray>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class RichText;

// The runs of a text, as the text step's "runs" key writes them: every run with its face,
// size, colour and style; a paragraph break is a line break at the start of a run.
QJsonArray runsOfModel(const RichTextModel& model);
// The runs typed into a rich text store, each with its face, size, colour and style chosen
// first, each choice kept for the runs after it.
void writeRuns(RichText& text, const QJsonArray& runs);
// A colour as the scripts write it ("#RRGGBB"); none for the system colours.
std::optional<QString> scriptColor(TColor color);

// The steps that rebuild the recipe, in order, and the files they use in files (base64, by
// names made from their content, so that equal files are kept once).
QJsonArray workSteps(const std::vector<std::shared_ptr<const Step>>& recipe, QJsonObject& files);

// Applies script steps to a composition as a work file and a template hold them: each dialog
// step is confirmed with the values its keys give (the record's defaults for those left out),
// a click stamps what is armed, and the other commands act on the composition directly.
class StepPlayer {
public:
    // files are the embedded files by the names the steps use; other names are read from
    // base.
    StepPlayer(CompositionState& composition, std::map<QString, QByteArray> files,
               const QDir& base);
    // Applies one step; throws TarvelError with the reason when it fails.
    void run(const ScriptStep& step);

private:
    QByteArray fileBytes(const QString& name) const;
    void canvas(const QJsonObject& keys);
    void text(const QJsonObject& keys);
    void arm(ElementKind kind, const QJsonObject& keys);
    void click(const QJsonObject& keys);
    void nudge(const QJsonObject& keys);

    CompositionState& composition;
    std::map<QString, QByteArray> files;
    QDir base;
    std::array<std::optional<Element>, 4> armed; // rotated text, seal, circle, fan
};
