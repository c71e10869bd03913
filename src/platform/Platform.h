// The platform layer: everything the engine needs from the operating system.
// The engine never talks to SDL or the OS directly; it asks this interface,
// which has an SDL2 backend for people and a headless backend for tests.
#pragma once

#include "platform/MenuBar.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

// Window messages the engine reacts to. Positions are in 640x480 game
// coordinates whatever the window's scale or full-screen letterboxing.
enum class EventKind {
    MouseMove,
    LButtonDown,
    LButtonUp,
    RButtonDown,
    RButtonUp,
    Char,    // code = character (32 Space, 13 Enter, 27 Escape, or the Unicode code point)
    Close,   // code 0: the player asked to close the window; kCloseTerminate: the system
             // asked the program to end (SIGTERM, session end), so nobody is there to ask
    Paint,   // the window needs its picture again
    Timer,   // code = timer id
    Command, // code = menu command id
    Key,     // a key that types no character: code = one of the kKey* codes below
    Wheel,   // the mouse wheel: code = kWheelUp or kWheelDown; x, y where the pointer is
};

constexpr int kCloseTerminate = 1;

// Codes of Key events.
constexpr int kKeyUp = 1;
constexpr int kKeyDown = 2;
constexpr int kKeyLeft = 3;
constexpr int kKeyRight = 4;
constexpr int kKeyBackTab = 5;    // Shift+Tab (Tab itself types a character: Char 9)
constexpr int kKeyFullScreen = 6; // F11 and Alt+Enter
constexpr int kKeyScreenshot = 7; // F12
constexpr int kKeyLarger = 8;     // Ctrl and +: the window one scale larger
constexpr int kKeySmaller = 9;    // Ctrl and -: one scale smaller

// Codes of Wheel events: one notch away from the player, or towards.
constexpr int kWheelUp = 1;
constexpr int kWheelDown = -1;

struct Event {
    EventKind kind = EventKind::Paint;
    int x = 0;
    int y = 0;
    int code = 0;
};

// Half-open rectangle in game coordinates: [left, right) x [top, bottom).
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
// The point menus and dialogs centre on; wide, since their arithmetic with the scenario's
// pitches is.
constexpr int64_t kScreenCentreX = kScreenWidth / 2;
constexpr int64_t kScreenCentreY = kScreenHeight / 2;

// The window's picture in the engine's own pixel layout: rows bottom-up,
// pixels blue-green-red, each row padded to a multiple of 4 bytes.
struct FrameBuffer {
    int width = kScreenWidth;
    int height = kScreenHeight;
    int stride = kScreenWidth * 3;
    std::vector<uint8_t> pixels = std::vector<uint8_t>(size_t(kScreenWidth) * 3 * kScreenHeight);

    // Pointer to the first byte of screen row y (0 = top of the picture).
    uint8_t* row(int y) { return pixels.data() + size_t(height - 1 - y) * stride; }
    const uint8_t* row(int y) const { return pixels.data() + size_t(height - 1 - y) * stride; }
};

enum class MessageBoxButtons { Ok, YesNo };
enum class MessageBoxResult { Ok, Yes, No };

// The four size arguments of an input dialog, in points: a point is 96/72 of a game pixel.
struct InputDialogSize {
    int dialogWidth = 0;
    int dialogHeight = 0;
    int fieldWidth = 0;
    int fieldHeight = 0;
};

// An input dialog as the engine asks for it; texts in UTF-8.
struct InputDialogRequest {
    std::string caption;
    std::string prompt;
    // The dialog's own layout when absent.
    std::optional<InputDialogSize> size;
    // Headless, with --auto-click and the events used up: what the automatic click answers when
    // the field as typed is refused.
    std::string automaticAnswer;
};

// Why the field's text cannot be the answer: a message box (UTF-8) over the dialog, which stays
// open with the text as typed.
struct InputRefusal {
    std::string caption;
    std::string text;
};
// Judges the field's text (UTF-8) when 決定 is pressed: nothing when it is the answer.
using InputCheck = std::function<std::optional<InputRefusal>(std::string_view)>;

// How the engine is waiting while it pumps events. Scripted headless input
// for the player (clicks, keys) is held back until the engine waits for the
// player, so a test's clicks land in the wait they were written for.
enum class WaitKind {
    None,         // busy: text running, effects, timed waits
    Player,       // only the player can end this wait (click wait, choice, menu)
    PlayerOrTime, // the player or a timeout ends it (autoclick, timed button wait)
};

// Thrown to end the run with a process exit status: 0 game ended, 2 scenario
// error, 3 headless input exhausted, 4 a limit of the run reached. The engine
// never returns otherwise, so this unwinds the statement loop back to the caller.
struct ExitRequest {
    explicit ExitRequest(int exitStatus = 0, std::string why = {})
        : status(exitStatus), message(std::move(why)) {}
    int status;
    // Why, for one line on stderr, when the status alone does not say it.
    std::string message;
};

// The code of the button events --auto-click makes up: such a click can answer only a wait that
// any click ends.
constexpr int kAutomaticClick = 1;

// A cursor picture: 32-bit BGRA rows top-down, with its hot spot.
struct CursorImage {
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<uint8_t> bgra;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Clock in milliseconds (wraps at 2^32 like the multimedia clock).
    virtual uint32_t ticks() = 0;
    virtual void sleep(uint32_t ms) = 0;

    // Event queue. takeEvent first gathers what the system has to offer
    // (and, headless, what the events file delivers for this kind of wait).
    virtual bool takeEvent(Event& out) = 0;
    // Blocks until an event is waiting, a timer is due or timeoutMs have passed. A virtual clock
    // has nothing to wait for: it moves on by virtualStepMs instead.
    virtual void waitForEvent(uint32_t timeoutMs, uint32_t virtualStepMs) = 0;
    virtual bool hasEvent(EventKind kind) = 0;
    // Whether an event of any other kind is waiting (what is due is gathered once for the lot).
    virtual bool hasEventOtherThan(EventKind kind) = 0;
    virtual void discardEvents(EventKind kind) = 0;
    virtual void postEvent(const Event& event) = 0;
    // What the engine's current pump is waiting for (see WaitKind).
    virtual void setWaitKind(WaitKind kind) = 0;
    virtual WaitKind waitKind() const = 0;

    // Repeating timers delivered as Timer events with code = id.
    virtual void setTimer(int id, uint32_t periodMs) = 0;
    virtual void killTimer(int id) = 0;

    // The window's picture; present() shows the part that changed.
    virtual FrameBuffer& window() = 0;
    virtual void present(const Rect& rect) = 0;
    virtual void showWindow() = 0;

    // Texts at this boundary are UTF-8; the engine converts its Shift-JIS.
    virtual MessageBoxResult messageBox(std::string_view caption, std::string_view text,
                                        MessageBoxButtons buttons) = 0;
    // Asks for a text in a modal dialog: caption, prompt, an edit field and the 決定 button
    // (Enter presses it; nothing else closes the dialog). Each press asks check, whose refusal is
    // shown as a message box while the dialog stays open. The accepted text, or nothing when the
    // system asked the program to end meanwhile (a terminating Close is then waiting).
    virtual std::optional<std::string> inputDialog(const InputDialogRequest& request,
                                                   const InputCheck& check) = 0;
    virtual void setTitle(std::string_view title) = 0;
    virtual void setArrowCursor() = 0;
    virtual void setCustomCursor(const CursorImage& image) = 0;
    // Switch between the window and desktop full screen; false when refused.
    virtual bool setFullScreen(bool on) = 0;
    // Makes the window one whole scale larger (step 1) or smaller (-1), within 1 to 8; the scale
    // it has then, or 0 where there is no window to scale.
    virtual int changeWindowScale(int /*step*/) { return 0; }

    // The menu bar above the picture. The platform keeps its own copy: call again after every
    // change. A chosen item comes back as a Command event with the item's id. Shown or not
    // matters in full screen, where a shown bar lies over the top rows of the picture; in a
    // window a hidden bar leaves its strip empty.
    virtual void setMenuBar(const MenuBar& menu) = 0;
    virtual void setMenuBarShown(bool shown) = 0;

    // The record of displayed text (UTF-8), when --transcript was given.
    virtual void writeTranscript(std::string_view utf8) = 0;
    // Completes the record at the end of the run; false, with the reason, when text was lost.
    virtual bool finishTranscript(std::string* error) = 0;
    // True when an output asked for during the run (a headless shot) could not be written; its
    // reason was said on stderr then.
    virtual bool lostOutput() const = 0;

    // Headless runs take no single-instance lock and show nothing.
    virtual bool isHeadless() const = 0;

    // Puts the text (UTF-8) on the desktop's clipboard, where dictionary and translation tools
    // pick it up.
    virtual void setClipboardText(std::string_view utf8) = 0;
    // Whether a Ctrl key is held down now.
    virtual bool ctrlHeld() = 0;
};

} // namespace orv
