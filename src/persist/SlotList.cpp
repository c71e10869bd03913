#include "persist/SlotList.h"

#include "interp/Engine.h"
#include "interp/EngineRun.h"
#include "menus/Choice.h"
#include "menus/KeyboardHighlight.h"
#include "menus/RightClickMenu.h"
#include "persist/SaveSlots.h"
#include "persist/SoundHooks.h"
#include "shell/Wait.h"
#include "util/sjis.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace orv {

namespace {

constexpr std::string_view kFullWidthSpace = "\x81\x40";
// "－" twelve times: the date's width.
constexpr std::string_view kEmptySlot = "\x81\x7c\x81\x7c\x81\x7c\x81\x7c\x81\x7c\x81\x7c"
                                        "\x81\x7c\x81\x7c\x81\x7c\x81\x7c\x81\x7c\x81\x7c";

// ASCII digits and spaces of a formatted number as their full-width characters.
void appendFullWidth(std::string& out, std::string_view ascii) {
    for (char c : ascii) {
        if (c == ' ') {
            out += kFullWidthSpace;
        } else {
            out += '\x82';
            out += static_cast<char>(0x4f + (c - '0'));
        }
    }
}

void appendField(std::string& out, const char* format, int value, std::string_view unitSjis) {
    char digits[16];
    std::snprintf(digits, sizeof digits, format, value);
    appendFullWidth(out, digits);
    out += unitSjis;
}

std::optional<std::tm> localTime(std::filesystem::file_time_type time) {
    const auto system = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
        time - std::filesystem::file_time_type::clock::now() + std::chrono::system_clock::now());
    const std::time_t t = std::chrono::system_clock::to_time_t(system);
    std::tm local{};
    if (!localtime_r(&t, &local)) return std::nullopt;
    return local;
}

uint32_t rgb(const TextColour& c) {
    return (static_cast<uint32_t>(c.red & 0xff) << 16) |
           (static_cast<uint32_t>(c.green & 0xff) << 8) | static_cast<uint32_t>(c.blue & 0xff);
}

// x of a text of `bytes` bytes centred on the screen, or 1 when it is too wide for that.
int centredX(const MenuWindow& window, size_t bytes) {
    const int64_t width = static_cast<int64_t>(bytes) * window.pitchX;
    return width >= 1280 ? 1 : static_cast<int>(kScreenCentreX - width / 4);
}

} // namespace

std::string slotDateText(const std::tm& local) {
    std::string out;
    appendField(out, "%2d", local.tm_mon + 1, "\x8c\x8e"); // 月
    appendField(out, "%2d", local.tm_mday, "\x93\xfa");    // 日
    appendField(out, "%2d", local.tm_hour, "\x8e\x9e");    // 時
    appendField(out, "%02d", local.tm_min, "\x95\xaa");    // 分
    return out;
}

std::string slotLabel(std::string_view word, int slot, int count,
                      const std::optional<std::tm>& modified) {
    std::string label(word);
    if (count > 9 && slot <= 9) label += kFullWidthSpace;
    appendFullWidthNumber(label, slot);
    label += kFullWidthSpace;
    label += modified ? slotDateText(*modified) : std::string(kEmptySlot);
    return label;
}

size_t slotNameBytes(std::string_view word, int count) {
    return word.size() + (count > 9 ? 4 : 2);
}

SlotLabelPlace slotLabelPlace(const MenuWindow& window, int count, int i, size_t labelBytes) {
    SlotLabelPlace place;
    place.x = centredX(window, labelBytes);
    place.right =
        static_cast<int>(kScreenCentreX + static_cast<int64_t>(labelBytes) * window.pitchX / 4);
    const int64_t first =
        std::max<int64_t>(1, kScreenCentreY - int64_t{count / 2 - 1} * window.pitchY);
    place.y = static_cast<int>(first + int64_t{i} * window.pitchY);
    return place;
}

int chooseSlot(Engine& engine, bool saving, std::string& name) {
    ShellState& shell = engine.shell;
    const SystemMenuState& sm = engine.systemMenu;
    const SaveSlotState& slots = engine.persist.slots;
    const MenuWindow& window = sm.window;
    const ChoiceForm form = menuForm(engine);
    const int count = std::clamp(slots.slotCount, 1, kMaxSlotCount);

    showMenuBackdrop(engine);
    const std::string& title = saving ? slots.saveTitle : slots.loadTitle;
    playMenuVoice(engine, sm.voices.opening);
    int titleX = centredX(window, title.size());
    int titleY = static_cast<int>(
        std::max<int64_t>(1, kScreenCentreY - int64_t{count / 2 + 1} * window.pitchY));
    drawChoiceText(engine, form, title, titleX, titleY, rgb(engine.text.window.textColour));

    std::vector<std::string> labels;
    std::vector<bool> used;
    for (int slot = 1; slot <= count; ++slot) {
        std::optional<std::tm> date;
        if (auto time = engine.persist.files.modified(slotFileName(slot))) date = localTime(*time);
        used.push_back(date.has_value());
        labels.push_back(slotLabel(slots.slotWord, slot, count, date));
    }
    auto colourOf = [&](int i) { return used[size_t(i)] ? form.normal : sm.unavailable; };
    auto draw = [&](int i, uint32_t colour) {
        const SlotLabelPlace place = slotLabelPlace(window, count, i, labels[size_t(i)].size());
        int x = place.x;
        int y = place.y;
        drawChoiceText(engine, form, labels[size_t(i)], x, y, colour);
    };
    auto labelAt = [&](int px, int py) {
        for (int i = 0; i < count; ++i) {
            const SlotLabelPlace place = slotLabelPlace(window, count, i, labels[size_t(i)].size());
            if (py >= place.y && py < place.y + window.pitchY && px >= place.x && px < place.right)
                return i;
        }
        return -1;
    };
    for (int i = 0; i < count; ++i) draw(i, colourOf(i));

    int highlighted = -1;
    int chosen = -1;
    WaitRule rule;
    rule.kind = WaitKind::Player;
    rule.virtualStepMs = 1;
    rule.unwindOnReset = true;
    rule.animatesCells = false;
    auto highlight = [&](int hit) {
        if (hit == highlighted) return;
        if (hit >= 0) playMenuVoice(engine, sm.voices.moved);
        if (highlighted >= 0) draw(highlighted, colourOf(highlighted));
        if (hit >= 0) draw(hit, form.highlighted);
        highlighted = hit;
    };
    waitUntil(engine, rule, [&](const Event* event) {
        if (!event) return false;
        if (const int step = highlightStep(event)) {
            highlight(steppedEntry(highlighted, step, count));
            return false;
        }
        const bool takeKey = isTakeKey(event);
        switch (event->kind) {
        case EventKind::MouseMove:
            highlight(labelAt(shell.mouseX, shell.mouseY));
            return false;
        case EventKind::Char:
            if (!takeKey) return false;
            [[fallthrough]];
        case EventKind::LButtonUp:
            shell.clickFlag = false;
            if (highlighted >= 0 && (saving || used[size_t(highlighted)])) {
                playMenuVoice(engine, sm.voices.decided);
                draw(highlighted, colourOf(highlighted));
                chosen = highlighted;
                return true;
            }
            if (highlighted >= 0) {
                playMenuVoice(engine, sm.voices.refused);
                return false;
            }
            if (!takeKey && event->code == kAutomaticClick)
                throw ExitRequest{3, "input exhausted: the slot list waits, and the automatic "
                                     "click at (" +
                                         std::to_string(event->x) + ", " +
                                         std::to_string(event->y) + ") is on no slot"};
            return false;
        case EventKind::RButtonUp:
            shell.rightClickFlag = false;
            if (highlighted >= 0) draw(highlighted, colourOf(highlighted));
            playMenuVoice(engine, sm.voices.closing);
            return true;
        default:
            return false;
        }
    });
    if (chosen >= 0) name = labels[size_t(chosen)].substr(0, slotNameBytes(slots.slotWord, count));
    return chosen;
}

} // namespace orv
