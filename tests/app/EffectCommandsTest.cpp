// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The effect menu on the real main window: check marks, the kept base, restore, the empty
// canvas and the hourglass, checked on the pixels of the work canvas.
#include "Filter3x3.h"
#include "ImageControl.h"
#include "Unit1.h"

#include <QAction>
#include <QApplication>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Whether two pictures show the same colours at every pixel, whatever their pixel formats.
::testing::AssertionResult sameColours(const DrawingSurface& actual,
                                       const DrawingSurface& expected) {
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << "sizes differ";
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << ": " << std::hex << actual.pixel(x, y)
                       << " instead of " << expected.pixel(x, y);
    return ::testing::AssertionSuccess();
}

// The picture the filter alone makes of a picture.
DrawingSurface filtered(const DrawingSurface& picture, EffectKind kind) {
    DrawingSurface copy;
    CopyTo24Bit(copy, picture);
    Filter3x3(EffectWeights(kind), copy);
    return copy;
}

class EffectCommands : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm1>();
        items = {form->N17, form->N18, form->N21, form->N23, form->N25,
                 form->N26, form->N28, form->N27, form->N29};
        // A canvas as the new-canvas command leaves it (32 bits), with some ink on it.
        DrawingSurface canvas(40, 30);
        canvas.brush.color = 0x00336699;
        canvas.fillRect(5, 4, 21, 17);
        canvas.brush.color = clBlack;
        canvas.fillRect(0, 29, 40, 30);
        form->Image1->setPicture(canvas);
        original = canvas;
    }

    void TearDown() override { EXPECT_EQ(QApplication::overrideCursor(), nullptr); }

    // The items that carry a check mark, by caption. The others are plain items: not even an
    // empty check box.
    QStringList checkedItems() const {
        QStringList checked;
        for (QAction* item : items) {
            if (item->isChecked())
                checked << item->text();
            else
                EXPECT_FALSE(item->isCheckable()) << item->text().toStdString();
        }
        return checked;
    }

    // Something stamped on the work canvas.
    void stamp() {
        DrawingSurface& canvas = form->Image1->canvas();
        canvas.brush.color = clRed;
        canvas.fillRect(30, 2, 36, 8);
        form->Image1->pictureChanged();
    }

    const DrawingSurface& work() const { return form->Image1->picture(); }

    std::unique_ptr<TForm1> form;
    QList<QAction*> items;
    DrawingSurface original;
};

TEST_F(EffectCommands, EachItemFiltersTheCanvasAndTakesTheCheckMark) {
    const std::pair<QAction*, EffectKind> commands[] = {
        {form->N17, efHollow},  {form->N18, efNostalgic}, {form->N21, efRelief},
        {form->N23, efSharpen}, {form->N25, efClear},     {form->N26, efOutline},
        {form->N28, efSoft},    {form->N27, efBlur}};
    for (const auto& [item, kind] : commands) {
        item->trigger();
        EXPECT_EQ(checkedItems(), QStringList{item->text()});
        EXPECT_EQ(form->composition().currentEffect(), kind);
        EXPECT_TRUE(form->composition().effectBaseTaken());
        EXPECT_EQ(work().format(), DrawingSurface::Format::Bit24);
        EXPECT_TRUE(sameColours(work(), filtered(original, kind))) << item->text().toStdString();
        EXPECT_TRUE(sameColours(form->composition().effectBase(), original));
    }
    // Choosing the checked item again keeps its mark (the action would toggle it off).
    form->N27->trigger();
    EXPECT_EQ(checkedItems(), QStringList{QStringLiteral("模糊")});
    EXPECT_TRUE(sameColours(work(), filtered(original, efBlur)));
    // Undo and redo move the mark with the effect shown: none before the first effect.
    form->N29->trigger();
    form->ToolButton22Click();
    EXPECT_EQ(checkedItems(), QStringList{QStringLiteral("模糊")});
    form->RedoClick();
    EXPECT_EQ(checkedItems(), QStringList{QStringLiteral("还原")});
    while (form->composition().canUndo())
        form->ToolButton22Click();
    EXPECT_EQ(checkedItems(), QStringList());
}

TEST_F(EffectCommands, BlurOfWhiteWithBlackBottomRow) {
    DrawingSurface white(6, 4);
    white.brush.color = clBlack;
    white.fillRect(0, 3, 6, 4);
    form->Image1->setPicture(white);
    form->N27Click();
    EXPECT_EQ(work().pixel(0, 0), 0x00BFBFBFu);
    EXPECT_EQ(work().pixel(5, 0), 0x00BFBFBFu);
    for (int x = 1; x < 5; ++x)
        EXPECT_EQ(work().pixel(x, 0), 0x009F9F9Fu) << x;
    EXPECT_EQ(work().pixel(2, 1), clWhite);
    EXPECT_EQ(work().size(), QSize(6, 4));
}

TEST_F(EffectCommands, EffectsDoNotAccumulate) {
    form->N23Click();
    EXPECT_TRUE(sameColours(work(), filtered(original, efSharpen)));
    form->N27Click();
    EXPECT_TRUE(sameColours(work(), filtered(original, efBlur)));
    form->N27Click();
    EXPECT_TRUE(sameColours(work(), filtered(original, efBlur)));
}

TEST_F(EffectCommands, StampedElementDisappearsAtTheNextEffectOrRestore) {
    form->N23Click();
    stamp();
    EXPECT_EQ(work().pixel(32, 4), clRed);
    form->N27Click();
    EXPECT_TRUE(sameColours(work(), filtered(original, efBlur)));
    stamp();
    form->N29Click();
    EXPECT_TRUE(sameColours(work(), original));
    EXPECT_EQ(checkedItems(), QStringList{QStringLiteral("还原")});
    EXPECT_EQ(form->composition().currentEffect(), efNone);
    EXPECT_TRUE(form->composition().effectBaseTaken());
    // The base stays the reference after restore.
    form->N26Click();
    EXPECT_TRUE(sameColours(work(), filtered(original, efOutline)));
}

TEST_F(EffectCommands, ClearedCanvasComesBackAsTheBase) {
    form->N28Click();
    form->ToolButton23Click();
    ASSERT_FALSE(form->Image1->hasPicture());
    form->N29Click();
    EXPECT_TRUE(sameColours(work(), original));
    form->ToolButton23Click();
    form->N18Click();
    EXPECT_TRUE(sameColours(work(), filtered(original, efNostalgic)));
}

TEST_F(EffectCommands, RestoreBeforeAnyEffectOnlyMovesTheCheckMark) {
    form->N29->trigger();
    EXPECT_EQ(checkedItems(), QStringList{QStringLiteral("还原")});
    EXPECT_EQ(form->composition().currentEffect(), efNone);
    EXPECT_FALSE(form->composition().effectBaseTaken());
    EXPECT_TRUE(form->composition().effectBase().isEmpty());
    EXPECT_EQ(work().format(), DrawingSurface::Format::Bit32);
    EXPECT_TRUE(sameColours(work(), original));
    // Chosen again, it keeps its mark.
    form->N29->trigger();
    EXPECT_EQ(checkedItems(), QStringList{QStringLiteral("还原")});
}

TEST_F(EffectCommands, AfterANewCanvasTheNextEffectWorksFromIt) {
    form->N21Click();
    // What the new-canvas command leaves: another picture and the base given up, the base
    // itself, the current effect and the marks as they were.
    DrawingSurface fresh(25, 12);
    fresh.brush.color = 0x0000AA00;
    fresh.fillRect(3, 3, 9, 9);
    TSetStruct settings;
    settings.Width = 25;
    settings.Height = 12;
    settings.UsePicture = true;
    settings.Layout = plCenter;
    form->createDialogs();
    form->newCanvasFrom(settings, fresh.image(), QByteArray());
    form->N29Click();
    EXPECT_TRUE(sameColours(work(), fresh));
    form->N25Click();
    EXPECT_TRUE(sameColours(work(), filtered(fresh, efClear)));
    EXPECT_TRUE(sameColours(form->composition().effectBase(), fresh));
    form->N29Click();
    EXPECT_TRUE(sameColours(work(), fresh));
}

TEST_F(EffectCommands, NoPictureChangesNothing) {
    form->N27Click(); // a mark to keep
    form->createDialogs();
    form->newCanvasFrom(TSetStruct{}, QImage(), QByteArray()); // neither colour nor picture
    const DrawingSurface base = form->composition().effectBase();
    for (QAction* item : {form->N17, form->N27, form->N28}) {
        item->trigger();
        EXPECT_FALSE(form->Image1->hasPicture());
        EXPECT_FALSE(form->composition().effectBaseTaken());
        EXPECT_TRUE(sameColours(form->composition().effectBase(), base));
        EXPECT_EQ(form->composition().currentEffect(), efBlur);
        EXPECT_EQ(checkedItems(), QStringList{QStringLiteral("模糊")});
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    // A bitmap of no width or no height is no picture either.
    for (const QSize size : {QSize(0, 10), QSize(10, 0)}) {
        form->Image1->setPicture(DrawingSurface(size.width(), size.height()));
        form->N18->trigger();
        EXPECT_TRUE(form->Image1->picture().isEmpty());
        EXPECT_FALSE(form->composition().effectBaseTaken());
        EXPECT_EQ(form->composition().currentEffect(), efBlur);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(EffectCommands, NoPictureAtStartLeavesNoMark) {
    form->Image1->clearPicture();
    form->N23->trigger();
    EXPECT_TRUE(checkedItems().isEmpty());
    EXPECT_FALSE(form->Image1->hasPicture());
    EXPECT_TRUE(form->composition().effectBase().isEmpty());
    EXPECT_EQ(form->composition().currentEffect(), efNone);
}

TEST_F(EffectCommands, HourglassIsTakenDownAndOuterCursorsKept) {
    QApplication::setOverrideCursor(Qt::CrossCursor);
    form->N17Click();
    form->N29Click();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();
}

TEST_F(EffectCommands, EachEffectIsOneStepOfTheHistory) {
    form->N26Click();
    form->N28Click();
    EXPECT_TRUE(sameColours(work(), filtered(original, efSoft)));
    EXPECT_TRUE(form->ToolButton22->isEnabled());
    form->ToolButton22Click();
    EXPECT_TRUE(sameColours(work(), filtered(original, efOutline)));
    EXPECT_EQ(form->composition().currentEffect(), efOutline);
    // Undo of the first effect gives the base back: the next effect takes it again.
    form->ToolButton22Click();
    EXPECT_TRUE(sameColours(work(), original));
    EXPECT_FALSE(form->composition().effectBaseTaken());
    EXPECT_FALSE(form->ToolButton22->isEnabled());
    form->MenuRedo->trigger();
    EXPECT_TRUE(sameColours(work(), filtered(original, efOutline)));
    // The next effect still works from the base.
    form->N27Click();
    EXPECT_TRUE(sameColours(work(), filtered(original, efBlur)));
    EXPECT_TRUE(sameColours(form->composition().effectBase(), original));
    EXPECT_FALSE(form->MenuRedo->isEnabled()); // the undone soft effect is gone
}

} // namespace
