// The headless backend: no window and no devices, a virtual clock, and player
// input read from an events file. It makes runs exactly repeatable, which is
// what the scenario tests and benchmarks rely on.
#pragma once

#include "platform/PlatformBase.h"
#include "platform/headless/EventScript.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orv {

struct HeadlessOptions {
    // Answer every wait for the player with a click once the script is used up.
    bool autoClick = false;
    // End with status 4 once the virtual clock has advanced this far.
    std::optional<uint64_t> maxTimeMs;
    // Where message boxes and screenshot failures are reported (std::cerr when null).
    std::ostream* log = nullptr;
    // Plays for the player: once the script is used up and the engine waits for the player, this
    // appends what the player does next to the script, which is then delivered like any scripted
    // event (so the whole script replays the run). Takes the place of the automatic click.
    std::function<void(std::vector<ScriptEvent>&)> player;
};

class HeadlessPlatform : public PlatformBase {
public:
    HeadlessPlatform(HeadlessOptions options, std::vector<ScriptEvent> script);
    // The same, drawing into the window buffer an earlier platform had (taken with std::move from
    // its window()), black again as a new one is: many short runs in one process then spare an
    // allocation each.
    HeadlessPlatform(HeadlessOptions options, std::vector<ScriptEvent> script, FrameBuffer window);

    uint32_t ticks() override { return uint32_t(clock_); }
    void sleep(uint32_t ms) override;

    void waitForEvent(uint32_t, uint32_t virtualStepMs) override { sleep(virtualStepMs); }

    FrameBuffer& window() override { return frame_; }
    void present(const Rect&) override { ++presents_; }
    void showWindow() override {}

    MessageBoxResult messageBox(std::string_view caption, std::string_view text,
                                MessageBoxButtons buttons) override;
    // The events file types into the field (text, key CHAR), presses 決定 (key enter, a click on
    // it) and answers the refusals (answer ok).
    std::optional<std::string> inputDialog(const InputDialogRequest& request,
                                           const InputCheck& check) override;
    void setTitle(std::string_view title) override { title_ = std::string(title); }
    void setArrowCursor() override { cursor_.reset(); }
    void setCustomCursor(const CursorImage& image) override { cursor_ = image; }
    bool setFullScreen(bool on) override {
        fullScreen_ = on;
        return true;
    }
    void setMenuBar(const MenuBar& menu) override { menuBar_ = menu; }
    void setMenuBarShown(bool shown) override { menuBarShown_ = shown; }

    bool isHeadless() const override { return true; }
    // Kept for the tests, and written beside the message boxes as "[clipboard] text".
    void setClipboardText(std::string_view utf8) override;
    bool ctrlHeld() override { return ctrlHeld_; }

    // For tests: the full virtual clock (not wrapped), and what was shown.
    uint64_t clock() const { return clock_; }
    const std::string& title() const { return title_; }
    bool fullScreen() const { return fullScreen_; }
    // The menu bar as last handed over, and whether it is shown.
    const MenuBar& menuBar() const { return menuBar_; }
    bool menuBarShown() const { return menuBarShown_; }
    // The custom cursor last set; empty while the arrow shows.
    const std::optional<CursorImage>& cursor() const { return cursor_; }
    int presentCount() const { return presents_; }
    int pointerX() const { return pointerX_; }
    int pointerY() const { return pointerY_; }
    // The whole script, with what the player callback added.
    const std::vector<ScriptEvent>& script() const { return script_; }
    // What was last put on the clipboard.
    const std::string& clipboard() const { return clipboard_; }
    // Script events not yet delivered (waits included).
    size_t scriptRemaining() const { return script_.size() - head_; }

protected:
    // Fires due timers and delivers what the script has for this moment.
    void gather() override;
    // Scripted input has not happened yet: a discard drops only what is already queued.
    void gatherBeforeDiscard() override {}
    // Nothing to take: the player is gone for good, or a millisecond passes.
    void idle() override;

private:
    std::ostream& log();
    void checkTimeLimit() const;
    bool inputPending() const;
    // Index of the first non-wait event from the head, and when it is due
    // (nullopt when no wait precedes it, so it goes by the wait kind instead).
    size_t nextEvent(std::optional<uint64_t>& due) const;
    bool scriptDone();
    // Posts the events of one script entry; false when it posted none.
    bool perform(const ScriptEvent& ev);
    void postInput(EventKind kind, int code = 0);
    // Writes the window's picture for a shot entry.
    void shoot(const ScriptEvent& ev);

    HeadlessOptions options_;
    std::vector<ScriptEvent> script_;
    size_t head_ = 0;
    uint64_t headSince_ = 0; // when script_[head_] became the head
    uint64_t clock_ = 0;
    FrameBuffer frame_;
    std::string title_;
    bool fullScreen_ = false;
    MenuBar menuBar_;
    bool menuBarShown_ = true;
    std::optional<CursorImage> cursor_;
    int presents_ = 0;
    int pointerX_ = 0;
    int pointerY_ = 0;
    bool ctrlHeld_ = false;
    std::string clipboard_;
};

} // namespace orv
