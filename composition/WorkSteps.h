// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The work file's steps: the recipe of a composition written as script steps with every
// value of its records, which StepSession reads back by the same keys.
#pragma once

#include "CompositionState.h"
#include "ScriptReader.h"

#include <QByteArray>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
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
// A colour as the scripts write it ("#RRGGBB"); a system colour as it is drawn.
QString scriptColor(TColor color);

// The steps that rebuild the recipe, in order, and the files they use in files (base64, by
// names made from their content, so that equal files are kept once).
QJsonArray workSteps(const std::vector<std::shared_ptr<const Step>>& recipe, QJsonObject& files);
