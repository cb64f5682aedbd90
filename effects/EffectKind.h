// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The kinds of whole-picture effect; efNone is the restored picture.
#pragma once

#include <QtGlobal>

enum EffectKind : qint32 {
    efNone = 0,
    efHollow = 1,
    efNostalgic = 2,
    efRelief = 3,
    efSharpen = 4,
    efClear = 5,
    efOutline = 6,
    efBlur = 7,
    efSoft = 8,
};

// Every effect of the effect menu, in the menu's order: its kind, its name in scripts, its
// caption (translated in the context "Effects") and the object name of its menu item. The menu, its
// check marks and the script's choices are all built from this table; "还原" (restore) follows the
// effects.
struct EffectEntry {
    EffectKind kind;
    const char* scriptName;
    const char* caption;
    const char* objectName;
};
inline constexpr EffectEntry effectTable[] = {
    {efHollow, "hollow", QT_TRANSLATE_NOOP("Effects", "空心"), "N17"},
    {efNostalgic, "nostalgic", QT_TRANSLATE_NOOP("Effects", "怀旧"), "N18"},
    {efRelief, "relief", QT_TRANSLATE_NOOP("Effects", "立体"), "N21"},
    {efSharpen, "sharpen", QT_TRANSLATE_NOOP("Effects", "锐化"), "N23"},
    {efClear, "clear", QT_TRANSLATE_NOOP("Effects", "清晰"), "N25"},
    {efOutline, "outline", QT_TRANSLATE_NOOP("Effects", "描边"), "N26"},
    {efSoft, "soft", QT_TRANSLATE_NOOP("Effects", "柔和"), "N28"},
    {efBlur, "blur", QT_TRANSLATE_NOOP("Effects", "模糊"), "N27"},
};
inline constexpr EffectEntry restoreEntry = {efNone, "restore",
                                             QT_TRANSLATE_NOOP("Effects", "还原"), "N29"};

inline const char* effectScriptName(EffectKind kind) {
    for (const EffectEntry& entry : effectTable)
        if (entry.kind == kind)
            return entry.scriptName;
    return restoreEntry.scriptName;
}
