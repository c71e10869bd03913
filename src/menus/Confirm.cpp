#include "menus/Confirm.h"

#include "interp/Engine.h"
#include "menus/Choice.h"
#include "menus/RightClickMenu.h"
#include "shell/Wait.h"
#include "sound/SoundPlayback.h"
#include "util/sjis.h"

#include <cstdint>
#include <string>

namespace orv {

namespace {

uint32_t rgb(const TextColour& c) {
    return (static_cast<uint32_t>(c.red & 0xff) << 16) |
           (static_cast<uint32_t>(c.green & 0xff) << 8) | static_cast<uint32_t>(c.blue & 0xff);
}

} // namespace

ConfirmAnswer confirmOptionAt(const MenuWindow& window, int x, int y) {
    const int64_t px = window.pitchX;
    const int64_t py = window.pitchY;
    if (y < kScreenCentreY + py || y >= kScreenCentreY + 2 * py) return ConfirmAnswer::Cancelled;
    if (x >= kScreenCentreX + 2 * px && x < kScreenCentreX + 5 * px) return ConfirmAnswer::No;
    if (x >= kScreenCentreX - 4 * px && x < kScreenCentreX - px) return ConfirmAnswer::Yes;
    return ConfirmAnswer::Cancelled;
}

int confirmQuestionX(const MenuWindow& window, int bytes) {
    const int64_t width = int64_t{bytes} * window.pitchX;
    if (width >= 1280) return 1;
    return static_cast<int>(kScreenCentreX - width / 4);
}

ConfirmAnswer confirm(Engine& engine, std::string_view question) {
    ShellState& shell = engine.shell;
    const MenuWindow& window = engine.systemMenu.window;
    const ChoiceForm form = menuForm(engine);
    // Each question stands on a backdrop of its own, without the menu's entries behind it.
    showMenuBackdrop(engine);

    int x = confirmQuestionX(window, static_cast<int>(question.size()));
    int y = static_cast<int>(kScreenCentreY - window.pitchY);
    drawChoiceText(engine, form, question, x, y, rgb(engine.text.window.textColour));
    const std::string yes = S("はい　");
    const std::string no = S("いいえ");
    auto draw = [&](ConfirmAnswer option, uint32_t colour) {
        const bool isYes = option == ConfirmAnswer::Yes;
        int ox = static_cast<int>(isYes ? kScreenCentreX - 4 * window.pitchX
                                        : kScreenCentreX + 2 * window.pitchX);
        int oy = static_cast<int>(kScreenCentreY + window.pitchY);
        drawChoiceText(engine, form, isYes ? yes : no, ox, oy, colour);
    };
    draw(ConfirmAnswer::Yes, form.normal);
    draw(ConfirmAnswer::No, form.normal);

    ConfirmAnswer highlighted = ConfirmAnswer::Cancelled;
    ConfirmAnswer answer = ConfirmAnswer::Cancelled;
    WaitRule rule;
    rule.kind = WaitKind::Player;
    rule.virtualStepMs = 1;
    rule.unwindOnReset = true;
    rule.animatesCells = false;
    waitUntil(engine, rule, [&](const Event* event) {
        if (!event) return false;
        switch (event->kind) {
        case EventKind::MouseMove: {
            const ConfirmAnswer hit = confirmOptionAt(window, shell.mouseX, shell.mouseY);
            if (hit == highlighted) return false;
            playVoice(engine, engine.systemMenu.voices.moved);
            if (highlighted != ConfirmAnswer::Cancelled) draw(highlighted, form.normal);
            if (hit != ConfirmAnswer::Cancelled) draw(hit, form.highlighted);
            highlighted = hit;
            return false;
        }
        case EventKind::LButtonUp:
            shell.clickFlag = false;
            if (highlighted != ConfirmAnswer::Cancelled) {
                const MenuVoices& voices = engine.systemMenu.voices;
                playVoice(engine, highlighted == ConfirmAnswer::Yes ? voices.yes : voices.no);
                draw(highlighted, form.normal);
                answer = highlighted;
                return true;
            }
            if (event->code == kAutomaticClick)
                throw ExitRequest{3, "input exhausted: a yes/no question waits, and the automatic "
                                     "click at (" +
                                         std::to_string(event->x) + ", " +
                                         std::to_string(event->y) + ") is on neither answer"};
            return false;
        case EventKind::RButtonUp:
            shell.rightClickFlag = false;
            if (!engine.systemMenu.voices.closing.empty()) {
                if (highlighted != ConfirmAnswer::Cancelled) draw(highlighted, form.normal);
                playVoice(engine, engine.systemMenu.voices.closing);
            }
            return true;
        default:
            return false;
        }
    });
    return answer;
}

} // namespace orv
