// What the player's own conveniences keep: auto-forward, skipping text already read, copying
// pages out, and the volumes' menu. None of it is seen by a scenario or kept in the files a game
// and its saves use; the settings live in orvane.ini.
#pragma once

#include "platform/Transcript.h"
#include "text/ReadMarks.h"

#include <cstdint>
#include <memory>
#include <string>

namespace orv {

enum class AutoForwardSpeed { Slow, Normal, Fast };

struct PlayerState {
    // The player's popup is handed to the platform with the menu bar: the program's runs offer
    // it, engines made in-process (tests, explore) leave the bar as the game built it.
    bool menuOffered = false;

    bool autoForward = false;
    AutoForwardSpeed autoForwardSpeed = AutoForwardSpeed::Normal;
    // Characters drawn since the last click wait ended: what the reader has to read before the
    // text moves on by itself.
    int charactersSinceWait = 0;

    // Tab's skipping: on until the next unread line or a decision.
    bool tabSkip = false;
    // A click wait of the text is in progress: the one place Tab starts the skipping.
    bool atTextWait = false;
    // The display line being shown had been read before it started now.
    bool lineRead = false;
    ReadMarks readMarks;

    // Each finished page as one line of UTF-8 (--text-out), and/or on the clipboard.
    std::unique_ptr<Transcript> textOut;
    bool copyPages = false;
    std::string pageText;
};

} // namespace orv
