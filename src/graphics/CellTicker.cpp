#include "graphics/CellTicker.h"

#include "graphics/GraphicsCommands.h"
#include "graphics/Sprites.h"
#include "interp/Engine.h"

#include <algorithm>

namespace orv {

namespace {

bool animated(const Sprite& sprite) {
    return !sprite.name.empty() && sprite.visible && sprite.picture.cellCount > 1;
}

bool animated(const StandingPicture& standing) {
    return !standing.name.empty() && standing.picture.cellCount > 1;
}

// How long the current cell stays: the picture's cell time, or its entry in the time list.
uint32_t cellDuration(const Surface& picture) {
    if (picture.cellTime != -1) return static_cast<uint32_t>(std::max(picture.cellTime, 0));
    const auto cell = static_cast<size_t>(std::max(picture.currentCell, 0));
    return cell < picture.cellTimes.size()
               ? static_cast<uint32_t>(std::max(picture.cellTimes[cell], 0))
               : 0;
}

bool due(const Surface& picture, uint32_t now) {
    return now - picture.lastCellTime > cellDuration(picture);
}

bool wraps(const Surface& picture) {
    return picture.loopMode == 0 || picture.loopMode == 2;
}

// A picture that stops on its last cell (loop mode 1) and stands there: it is left alone, its time
// not updated, and it never moves again.
bool resting(const Surface& picture) {
    const int next = picture.currentCell + picture.cellStep;
    return !wraps(picture) && (next < 0 || next >= picture.cellCount);
}

// The next cell of a picture that is not resting: past either end, loop mode 0 starts again at
// the first cell and loop mode 2 turns back (0 1 2 1 0 ...).
void advance(Surface& picture) {
    const int step = picture.cellStep;
    int next = picture.currentCell + step;
    if (next < 0 || next >= picture.cellCount) {
        if (picture.loopMode == 0) {
            next = 0;
        } else {
            picture.cellStep = -step;
            next = picture.currentCell - step;
        }
    }
    picture.currentCell = next;
}

class Pass {
public:
    Pass(LayerState& layers, uint32_t now, InputProbe& input)
        : layers_(layers), now_(now), input_(input) {}

    // False once input waits: the pass ends there.
    bool visit(Surface& picture, int x, int y) {
        if (resting(picture) || !due(picture, now_)) return true;
        if (input_.inputWaiting()) return false;
        advance(picture);
        markPictureArea(layers_.dirty, picture, x, y);
        picture.lastCellTime = now_;
        changed_ = true;
        return true;
    }

    bool changed() const { return changed_; }

private:
    LayerState& layers_;
    uint32_t now_;
    InputProbe& input_;
    bool changed_ = false;
};

class PlatformInput final : public InputProbe {
public:
    explicit PlatformInput(Platform& platform) : platform_(platform) {}
    bool inputWaiting() override { return platform_.hasEventOtherThan(EventKind::Timer); }

private:
    Platform& platform_;
};

} // namespace

bool advanceDueCells(LayerState& layers, uint32_t now, InputProbe& input) {
    Pass pass(layers, now, input);
    for (Sprite& sprite : layers.sprites)
        if (animated(sprite) && !pass.visit(sprite.picture, sprite.x, sprite.y))
            return pass.changed();
    for (StandingPicture& standing : layers.standing)
        if (animated(standing) && !pass.visit(standing.picture, standing.x, standing.y))
            return pass.changed();
    return pass.changed();
}

uint32_t msUntilNextCellDue(const LayerState& layers, uint32_t now) {
    uint32_t soonest = kNoCellDue;
    auto consider = [&](const Surface& picture) {
        if (resting(picture)) return;
        const uint32_t elapsed = now - picture.lastCellTime;
        const uint32_t duration = cellDuration(picture);
        soonest = std::min(soonest, elapsed > duration ? 0 : duration - elapsed + 1);
    };
    for (const Sprite& sprite : layers.sprites)
        if (animated(sprite)) consider(sprite.picture);
    for (const StandingPicture& standing : layers.standing)
        if (animated(standing)) consider(standing.picture);
    return soonest;
}

void animateCells(Engine& engine) {
    PlatformInput input(engine.platform);
    if (advanceDueCells(engine.graphics.layers, engine.platform.ticks(), input))
        showDirty(engine, 1, 0, "");
}

uint32_t msUntilNextCell(Engine& engine) {
    return msUntilNextCellDue(engine.graphics.layers, engine.platform.ticks());
}

} // namespace orv
