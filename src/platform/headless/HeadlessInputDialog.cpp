// The input dialog of the headless platform. The dialog is modal: nothing reaches the engine
// while it is open, so it takes the events file's entries itself, one after the other, time
// passing as the file's waits say.
#include "platform/InputDialogView.h"
#include "platform/headless/HeadlessPlatform.h"
#include "util/escape.h"
#include "util/sjis.h"

#include <algorithm>
#include <cstdint>

namespace orv {

namespace {

std::string utf8Of(char32_t c) {
    std::string out;
    sjis::appendUtf8(out, c);
    return out;
}

// What an entry does to the dialog: true when it pressed 決定.
bool apply(InputDialogView& view, const ScriptEvent& ev, int& pointerX, int& pointerY) {
    switch (ev.kind) {
    case ScriptEventKind::Text: {
        std::string utf8;
        for (char32_t c : ev.text) utf8 += utf8Of(c);
        view.type(utf8);
        return false;
    }
    case ScriptEventKind::Key:
        // The close box and Escape are not handled: 決定 is the only way out.
        if (ev.namedKey) return false;
        if (ev.code == 13) return view.key(FieldKey::Enter).submitted;
        if (ev.code != 27 && ev.code != 9) view.type(utf8Of(char32_t(ev.code)));
        return false;
    case ScriptEventKind::Click:
    case ScriptEventKind::Move:
        if (ev.hasPosition) {
            pointerX = ev.x;
            pointerY = ev.y;
        }
        if (ev.kind == ScriptEventKind::Move) return false;
        view.buttonDown(pointerX, pointerY);
        return view.buttonUp(pointerX, pointerY).submitted;
    default:
        // Right clicks and the menu bar do not reach past a modal dialog; an answer with no box
        // open lapses.
        return false;
    }
}

} // namespace

std::optional<std::string> HeadlessPlatform::inputDialog(const InputDialogRequest& request,
                                                         const InputCheck& check) {
    InputDialogView view(request.caption, request.prompt, request.size);
    for (;;) {
        std::optional<uint64_t> due;
        const size_t next = nextEvent(due);
        // The player thinks for as long as the file waits.
        while (due && clock_ < *due) sleep(uint32_t(std::min<uint64_t>(*due - clock_, UINT32_MAX)));
        if (next >= script_.size() && options_.player) {
            // A generated player answers as an automatic click would, in events a file can
            // hold, so that the script it leaves plays the same run again.
            std::vector<ScriptEvent> answer;
            std::string error;
            parseEventScript("text " + request.automaticAnswer + "\nkey enter\n", answer, error);
            for (ScriptEvent& ev : answer) {
                ev.line = int(script_.size()) + 1;
                script_.push_back(std::move(ev));
            }
            continue;
        }
        if (next >= script_.size()) {
            head_ = script_.size();
            if (!options_.autoClick)
                throw ExitRequest{3, "input exhausted: an input dialog waits for its answer "
                                     "(text, then key enter)"};
            if (!check(view.text())) return view.text();
            if (!check(request.automaticAnswer)) return request.automaticAnswer;
            throw ExitRequest{3, "input exhausted: an input dialog waits, and the automatic "
                                 "answer '" +
                                     escapeControls(request.automaticAnswer) + "' is refused"};
        }
        head_ = next + 1;
        headSince_ = clock_;
        const ScriptEvent& ev = script_[next];
        if (ev.kind == ScriptEventKind::Shot) {
            shoot(ev);
            continue;
        }
        if (!apply(view, ev, pointerX_, pointerY_)) continue;
        if (const std::optional<InputRefusal> refused = check(view.text()))
            messageBox(refused->caption, refused->text, MessageBoxButtons::Ok);
        else
            return view.text();
    }
}

} // namespace orv
