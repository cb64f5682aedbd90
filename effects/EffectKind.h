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
