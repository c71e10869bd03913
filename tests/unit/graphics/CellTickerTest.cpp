// The cell ticker's pass against waiting input and its idle hint.
#include "graphics/CellTicker.h"
#include "EngineHarness.h"
#include "Pictures.h"
#include "graphics/GraphicsCommands.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Harness;

// Input that turns up when the probe has been asked `quietCalls` times.
class ScriptedInput final : public InputProbe {
public:
    explicit ScriptedInput(int quietCalls) : quiet_(quietCalls) {}
    bool inputWaiting() override { return quiet_-- <= 0; }

private:
    int quiet_;
};

// Three-cell, 100 ms sprites 0..count-1, loaded at time 0.
LayerState animatedSprites(int count, int loopMode = 0) {
    LayerState layers;
    layers.sprites.resize(kSpriteCount);
    for (int n = 0; n < count; ++n) {
        Sprite& s = layers.sprites[static_cast<size_t>(n)];
        s.name = "cells";
        s.visible = 1;
        s.picture = test::solidPicture(30, 10, 0xffffff);
        s.picture.cellCount = 3;
        s.picture.cellTime = 100;
        s.picture.loopMode = loopMode;
    }
    return layers;
}

std::vector<int> cells(const LayerState& layers, int count) {
    std::vector<int> out;
    for (int n = 0; n < count; ++n) out.push_back(layers.sprites[size_t(n)].picture.currentCell);
    return out;
}

TEST(CellTicker, WaitingInputEndsThePassAndALaterPassCatchesUp) {
    LayerState layers = animatedSprites(3);
    ScriptedInput clickBeforeSecond(1);
    EXPECT_TRUE(advanceDueCells(layers, 101, clickBeforeSecond));
    EXPECT_EQ(cells(layers, 3), (std::vector{1, 0, 0}));
    ScriptedInput quiet(1000);
    EXPECT_TRUE(advanceDueCells(layers, 102, quiet));
    EXPECT_EQ(cells(layers, 3), (std::vector{1, 1, 1}));
    EXPECT_FALSE(advanceDueCells(layers, 103, quiet));
}

// The engine's probe: a click waiting stops the pass, the window's timer does not.
TEST(CellTicker, AClickWaitingHoldsTheCellsButATimerDoesNot) {
    for (const auto& [kind, moved] :
         {std::pair{EventKind::LButtonUp, false}, std::pair{EventKind::Timer, true}}) {
        Harness h;
        Engine& engine = h.engine();
        startGraphicsPass(engine);
        engine.graphics.layers = animatedSprites(1);
        engine.platform.sleep(101);
        engine.platform.postEvent({kind, 0, 0, 0});
        animateCells(engine);
        EXPECT_EQ(engine.graphics.layers.sprites[0].picture.currentCell, moved ? 1 : 0);
    }
}

// The idle of a wait lasts until the next cell; a picture resting on its last cell (loop mode 1)
// asks for none, or an idle game would spin.
TEST(CellTicker, TheIdleHintCountsToTheNextCellAndIgnoresRestingPictures) {
    LayerState layers = animatedSprites(1, 1);
    EXPECT_EQ(msUntilNextCellDue(layers, 30), 71u);
    layers.sprites[0].picture.currentCell = 2;
    EXPECT_EQ(msUntilNextCellDue(layers, 500), kNoCellDue);
    ScriptedInput quiet(1000);
    EXPECT_FALSE(advanceDueCells(layers, 500, quiet));
}

} // namespace
} // namespace orv
