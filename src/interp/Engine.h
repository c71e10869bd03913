// The engine: one object holding everything a running game has, passed by
// reference to every handler. There is no global state, so several engines
// can live in one process (the tests make use of that).
#pragma once

#include "graphics/Buttons.h"
#include "graphics/GraphicsState.h"
#include "interp/InterpState.h"
#include "interp/Variables.h"
#include "media/PackedFiles.h"
#include "menus/ChoiceState.h"
#include "menus/SystemMenuState.h"
#include "persist/PersistState.h"
#include "platform/Platform.h"
#include "script/ScriptState.h"
#include "shell/PlayerState.h"
#include "shell/ShellState.h"
#include "sound/SoundState.h"
#include "text/TextState.h"
#include "util/gamefs.h"
#include "video/VideoState.h"

#include <filesystem>

namespace orv {

struct Engine {
    // gameDir is the folder the scenario and every data file are read from.
    Engine(Platform& platform, std::filesystem::path gameDir);
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    Platform& platform;
    GameFs fs;
    // This run's own temporary directory; empty when none could be made.
    std::filesystem::path tempDirectory;

    // One member per subsystem, each declared in its own folder.
    ScriptState script;
    InterpState interp;
    Variables vars;
    ShellState shell;
    PersistState persist;
    GraphicsState graphics;
    TextState text;
    ChoiceState choices;
    ButtonState buttons;
    SystemMenuState systemMenu;
    SoundState sound;
    PackedFilesState packed;
    PlayerState player;
    VideoState video;
};

} // namespace orv
