#include "graphics/ButtonCommands.h"

#include "graphics/GraphicsCommands.h"
#include "graphics/ImageLoader.h"
#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "shell/PickPoints.h"
#include "shell/Wait.h"
#include "text/AutoForward.h"
#include "text/TextWindow.h"
#include "util/sjis.h"

#include <string>

namespace orv {

namespace {

void presentDisplay(Engine& engine, const DirtyRect& area) {
    copyToWindow(engine.graphics.surfaces.display, engine.platform.window(), area);
    engine.platform.present(toPlatformRect(area));
}

// What the player did before the wait does not count in it.
void forgetEarlierInput(Engine& engine) {
    ShellState& shell = engine.shell;
    shell.skipMode = false;
    stopPlayerModes(engine);
    engine.platform.discardEvents(EventKind::LButtonUp);
    engine.platform.discardEvents(EventKind::Char);
    shell.clickFlag = false;
    shell.rightClickFlag = false;
}

// A move to where the pointer is, so the wait highlights what lies under it at once. Before the
// pointer was ever seen over the window there is nothing to highlight.
void postPointerPosition(Engine& engine) {
    const ShellState& shell = engine.shell;
    if (shell.mouseX < 0 || shell.mouseY < 0) return;
    engine.platform.postEvent(Event{EventKind::MouseMove, shell.mouseX, shell.mouseY, 0});
}

WaitRule playerWait() {
    WaitRule rule;
    rule.kind = WaitKind::Player;
    rule.virtualStepMs = 1;
    rule.unwindOnReset = true;
    return rule;
}

void showHighlight(Engine& engine, const Button& b, bool on) {
    DirtyRect area;
    if (!b.screenArea(area)) return;
    Surface& display = engine.graphics.surfaces.display;
    if (on)
        copyClippedBlock(engine.buttons.source, b.srcX, b.srcY, display, b.x, b.y, b.w, b.h);
    else
        copyClippedBlock(engine.graphics.surfaces.composition, b.x, b.y, display, b.x, b.y, b.w,
                         b.h);
    presentDisplay(engine, area);
}

// The box a text link takes (its text cells' height) and whether the point lies in it.
struct LinkBox {
    int64_t left, top, right, bottom; // inclusive
    bool contains(int px, int py) const {
        return left <= px && px <= right && top <= py && py <= bottom;
    }
};

LinkBox linkBox(const TextLink& link, int pitch) {
    return {link.left, link.top, int64_t{link.right} - 1, int64_t{link.top} + pitch - 1};
}

int linkAt(const TextLinkTable& links, int pitch, int px, int py) {
    for (int i = links.count - 1; i >= 0; --i)
        if (linkBox(links.entries[static_cast<size_t>(i)], pitch).contains(px, py)) return i;
    return -1;
}

void restoreLink(Engine& engine, const TextLink& link, int pitch) {
    const LinkBox box = linkBox(link, pitch);
    DirtyRect area;
    if (!clipWideRect(box.left, box.top, box.right, box.bottom, area)) return;
    copyRect(engine.buttons.source, engine.graphics.surfaces.display, area);
    presentDisplay(engine, area);
}

void underlineLink(Engine& engine, const TextLink& link, int pitch) {
    const LinkBox box = linkBox(link, pitch);
    const int64_t row = int64_t{link.top} + pitch - 2;
    DirtyRect line;
    if (clipWideRect(link.left, row, int64_t{link.right} - 2, row, line)) {
        const TextColour& c = engine.text.window.linkColour;
        const uint32_t rgb =
            uint32_t(c.red & 0xff) << 16 | uint32_t(c.green & 0xff) << 8 | uint32_t(c.blue & 0xff);
        fillRect(engine.graphics.surfaces.display, line.left, line.top, line.right + 1,
                 line.bottom + 1, rgb);
    }
    DirtyRect area;
    if (clipWideRect(box.left, box.top, box.right, box.bottom, area)) presentDisplay(engine, area);
}

int32_t readTargetVariable(Engine& engine, std::string_view message) {
    return readVariableRef(engine, '%', caption::kSyntax, message);
}

void store(Engine& engine, int32_t variable, int32_t value) {
    engine.vars.num[static_cast<size_t>(variable)] = value;
    engine.vars.applyBounds();
}

} // namespace

void startButtonPass(Engine& engine) {
    engine.buttons.count = 0;
    releaseSurface(engine.buttons.source);
}

int32_t waitButton(Engine& engine) {
    ShellState& shell = engine.shell;
    const ButtonState& buttons = engine.buttons;
    hideTextWindowIfErasable(engine);
    forgetEarlierInput(engine);
    postPointerPosition(engine);
    int hovered = -1;
    int32_t value = 0;
    bool rightClick = false;
    const OfferedPicks picks(shell, buttons.count,
                             [&](int x, int y) { return buttons.buttonAt(x, y); });
    waitUntil(engine, playerWait(), [&](const Event* event) {
        if (!event) return false;
        if (event->kind == EventKind::MouseMove) {
            const int now = buttons.buttonAt(event->x, event->y);
            if (now != hovered) {
                if (hovered >= 0) showHighlight(engine, buttons.entries[size_t(hovered)], false);
                if (now >= 0) showHighlight(engine, buttons.entries[size_t(now)], true);
                hovered = now;
            }
        }
        if (shell.clickFlag) {
            shell.clickFlag = false;
            value = hovered >= 0 ? buttons.entries[size_t(hovered)].value : 0;
            return true;
        }
        rightClick = shell.rightClickFlag;
        return rightClick;
    });
    if (rightClick) {
        // The highlight lives on the display only: showing the composition takes it away.
        shell.rightClickFlag = false;
        showRegion(engine, EffectSpec{1, 0, {}}, kWholeScreen);
        return -1;
    }
    return value;
}

int32_t waitTextLink(Engine& engine) {
    ShellState& shell = engine.shell;
    GraphicsState& g = engine.graphics;
    const TextLinkTable& links = engine.text.links;
    const int pitch = engine.text.window.pitchY;
    forgetEarlierInput(engine);
    // The screen as it is, to take an underline away again; the button picture makes room for it.
    Surface& snapshot = engine.buttons.source;
    releaseSurface(snapshot);
    createSurface(snapshot, kScreenRight + 1, kScreenBottom + 1, 24);
    copyRect(g.surfaces.display, snapshot, kWholeScreen);
    postPointerPosition(engine);
    int hovered = -1;
    const OfferedPicks picks(shell, links.count,
                             [&](int x, int y) { return linkAt(links, pitch, x, y); });
    waitUntil(engine, playerWait(), [&](const Event* event) {
        if (!event) return false;
        if (event->kind == EventKind::MouseMove) {
            const int now = linkAt(links, pitch, event->x, event->y);
            if (now != hovered) {
                if (hovered >= 0) restoreLink(engine, links.entries[size_t(hovered)], pitch);
                if (now >= 0) underlineLink(engine, links.entries[size_t(now)], pitch);
                hovered = now;
            }
        }
        shell.rightClickFlag = false;
        if (!shell.clickFlag) return false;
        shell.clickFlag = false;
        if (hovered >= 0) return true;
        // --auto-click has nothing better to offer: the run can never get past this wait.
        if (event->kind == EventKind::LButtonUp && event->code == kAutomaticClick)
            throw ExitRequest{3, "input exhausted: tbtnwait waits for a link, and the automatic "
                                 "click at (" +
                                     std::to_string(event->x) + ", " + std::to_string(event->y) +
                                     ") is on none of its " + std::to_string(links.count) +
                                     " links"};
        return false;
    });
    redrawRegion(engine, kWholeScreen);
    showRegion(engine, EffectSpec{1, 0, {}}, kWholeScreen);
    releaseSurface(snapshot);
    return links.entries[size_t(hovered)].number;
}

void cmdBtndef(Engine& engine) {
    ButtonState& buttons = engine.buttons;
    const std::string name = readString(engine);
    buttons.count = 0;
    if (name.empty())
        releaseSurface(buttons.source);
    else
        loadImage(engine, buttons.source, name);
}

void cmdBtn(Engine& engine) {
    ButtonState& buttons = engine.buttons;
    const auto [value, x, y, w, h, srcX, srcY] = readNumbers<7>(engine);
    if (buttons.count >= ButtonState::kCapacity)
        reportError(engine, S(caption::kError),
                    S("ボタンが多すぎます。btn命令で定義できるボタンは256個までです。"));
    buttons.entries[static_cast<size_t>(buttons.count++)] = Button{value, x, y, w, h, srcX, srcY};
}

void cmdBtnwait(Engine& engine) {
    const int32_t variable = readTargetVariable(engine, "btnwaitの第一引数は数字変数です。");
    const int32_t value = waitButton(engine);
    if (value > 0) {
        releaseSurface(engine.buttons.source);
        engine.buttons.count = 0;
    }
    store(engine, variable, value);
}

void cmdBtnwait2(Engine& engine) {
    const int32_t variable = readTargetVariable(engine, "btnwaitの第一引数は数字変数です。");
    store(engine, variable, waitButton(engine));
}

void cmdTbtnwait(Engine& engine) {
    const int32_t variable = readTargetVariable(engine, "tbtnwaitの第一引数は数字変数です。");
    const int32_t number = waitTextLink(engine);
    engine.text.links.clear();
    store(engine, variable, number);
}

} // namespace orv
