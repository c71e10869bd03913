#include "platform/headless/HeadlessPlatform.h"

#include "platform/Png.h"
#include "util/escape.h"

#include <algorithm>
#include <iostream>

namespace orv {

namespace {

bool waitsForPlayer(WaitKind kind) {
    return kind == WaitKind::Player || kind == WaitKind::PlayerOrTime;
}

} // namespace

HeadlessPlatform::HeadlessPlatform(HeadlessOptions options, std::vector<ScriptEvent> script)
    : options_(options), script_(std::move(script)) {}

HeadlessPlatform::HeadlessPlatform(HeadlessOptions options, std::vector<ScriptEvent> script,
                                   FrameBuffer window)
    : options_(options), script_(std::move(script)), frame_(std::move(window)) {
    const size_t stride = size_t(kScreenWidth) * 3;
    if (frame_.width != kScreenWidth || frame_.height != kScreenHeight ||
        size_t(frame_.stride) != stride || frame_.pixels.size() != stride * kScreenHeight)
        frame_ = FrameBuffer{};
    else
        std::fill(frame_.pixels.begin(), frame_.pixels.end(), uint8_t{0});
}

std::ostream& HeadlessPlatform::log() {
    return options_.log ? *options_.log : std::cerr;
}

void HeadlessPlatform::checkTimeLimit() const {
    if (options_.maxTimeMs && clock_ >= *options_.maxTimeMs)
        throw ExitRequest{4, "stopped at the time limit: " + std::to_string(*options_.maxTimeMs) +
                                 " ms of virtual time (--max-time)"};
}

void HeadlessPlatform::sleep(uint32_t ms) {
    clock_ += ms;
    checkTimeLimit();
}

void HeadlessPlatform::idle() {
    if (waitKind() == WaitKind::Player && !options_.autoClick && !options_.player && scriptDone())
        throw ExitRequest{3};
    // An idle poll lets time pass, so that waits on the clock come to an end.
    ++clock_;
    checkTimeLimit();
}

size_t HeadlessPlatform::nextEvent(std::optional<uint64_t>& due) const {
    size_t i = head_;
    uint64_t total = 0;
    bool waited = false;
    while (i < script_.size() && script_[i].kind == ScriptEventKind::Wait) {
        total += script_[i].ms;
        waited = true;
        ++i;
    }
    if (waited)
        due = headSince_ + total;
    else
        due.reset();
    return i;
}

bool HeadlessPlatform::scriptDone() {
    std::optional<uint64_t> due;
    size_t next = nextEvent(due);
    if (next < script_.size()) return false;
    // Trailing waits still let time run before the script counts as used up.
    if (due && clock_ < *due) return false;
    head_ = script_.size();
    return true;
}

bool HeadlessPlatform::inputPending() const {
    for (EventKind kind : {EventKind::MouseMove, EventKind::LButtonDown, EventKind::LButtonUp,
                           EventKind::RButtonDown, EventKind::RButtonUp, EventKind::Char,
                           EventKind::Command, EventKind::Key, EventKind::Wheel}) {
        if (queue().has(kind)) return true;
    }
    return false;
}

void HeadlessPlatform::postInput(EventKind kind, int code) {
    queue().post({kind, pointerX_, pointerY_, code});
}

void HeadlessPlatform::shoot(const ScriptEvent& ev) {
    std::string error;
    if (!writePng(ev.file, frame_, &error)) {
        log() << "orvane: cannot write screenshot '" << escapeControls(ev.file)
              << "': " << escapeControls(error) << std::endl;
        noteLostOutput();
    }
}

bool HeadlessPlatform::perform(const ScriptEvent& ev) {
    switch (ev.kind) {
    case ScriptEventKind::Click:
    case ScriptEventKind::RClick: {
        if (ev.hasPosition) {
            pointerX_ = ev.x;
            pointerY_ = ev.y;
            postInput(EventKind::MouseMove);
        }
        bool left = ev.kind == ScriptEventKind::Click;
        postInput(left ? EventKind::LButtonDown : EventKind::RButtonDown);
        postInput(left ? EventKind::LButtonUp : EventKind::RButtonUp);
        return true;
    }
    case ScriptEventKind::Move:
        pointerX_ = ev.x;
        pointerY_ = ev.y;
        postInput(EventKind::MouseMove);
        return true;
    case ScriptEventKind::Key:
        postInput(ev.namedKey ? EventKind::Key : EventKind::Char, ev.code);
        return true;
    case ScriptEventKind::Wheel:
        postInput(EventKind::Wheel, ev.code);
        return true;
    case ScriptEventKind::Text:
        for (char32_t c : ev.text) postInput(EventKind::Char, int(c));
        return !ev.text.empty();
    case ScriptEventKind::Menu:
        postInput(EventKind::Command, ev.code);
        return true;
    case ScriptEventKind::Hold:
        // A held key is a state, not an event: nothing is queued.
        ctrlHeld_ = ev.code != 0;
        return false;
    case ScriptEventKind::Shot:
        shoot(ev);
        return false;
    case ScriptEventKind::Answer:
        // Only a message box takes an answer; reaching a wait for the player
        // first means the box never came, so the answer lapses.
    case ScriptEventKind::Wait:
        return false;
    }
    return false;
}

void HeadlessPlatform::gather() {
    // The clock only moves where the limit is checked; this catches a limit of 0.
    checkTimeLimit();
    fireTimers();
    // One script entry at a time, and only once the input it posted has been
    // taken: a click written for one wait must not be left over for the next.
    if (inputPending()) return;
    for (;;) {
        std::optional<uint64_t> due;
        size_t next = nextEvent(due);
        if (next >= script_.size()) {
            if (options_.player && scriptDone() && waitsForPlayer(waitKind())) {
                const size_t before = script_.size();
                options_.player(script_);
                if (script_.size() > before) continue;
                return;
            }
            if (scriptDone() && options_.autoClick && waitsForPlayer(waitKind())) {
                postInput(EventKind::LButtonDown, kAutomaticClick);
                postInput(EventKind::LButtonUp, kAutomaticClick);
            }
            return;
        }
        const ScriptEvent& ev = script_[next];
        bool ready;
        if (due)
            ready = clock_ >= *due;
        else if (ev.kind == ScriptEventKind::Move || ev.kind == ScriptEventKind::Menu ||
                 ev.kind == ScriptEventKind::Hold)
            ready = true;
        else
            ready = waitsForPlayer(waitKind());
        if (!ready) return;
        head_ = next + 1;
        headSince_ = clock_;
        if (perform(ev)) return;
    }
}

void HeadlessPlatform::setClipboardText(std::string_view utf8) {
    clipboard_ = std::string(utf8);
    log() << "[clipboard] " << escapeControls(utf8) << std::endl;
}

MessageBoxResult HeadlessPlatform::messageBox(std::string_view caption, std::string_view text,
                                              MessageBoxButtons buttons) {
    log() << '[' << escapeControls(caption) << "] " << escapeControls(text) << std::endl;
    std::optional<ScriptAnswer> answer;
    std::optional<uint64_t> due;
    size_t next = nextEvent(due);
    if (next < script_.size() && script_[next].kind == ScriptEventKind::Answer &&
        (!due || clock_ >= *due)) {
        answer = script_[next].answer;
        head_ = next + 1;
        headSince_ = clock_;
    }
    if (buttons == MessageBoxButtons::Ok) return MessageBoxResult::Ok;
    return answer == ScriptAnswer::No ? MessageBoxResult::No : MessageBoxResult::Yes;
}

} // namespace orv
