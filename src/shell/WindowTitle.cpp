#include "shell/WindowTitle.h"

#include "interp/Engine.h"
#include "shell/Wait.h"

#include <filesystem>

namespace orv {

std::string folderTitle(const std::string& folder) {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::weakly_canonical(folder, ec);
    if (ec) path = std::filesystem::path(folder).lexically_normal();
    if (!path.has_filename()) path = path.parent_path();
    std::string name = path.filename().string();
    return name.empty() ? path.string() : name;
}

void showFolderTitle(Engine& engine) {
    ShellState& shell = engine.shell;
    if (shell.title.captionGiven) return;
    shell.title.text = folderTitle(engine.fs.root().string());
    if (!shell.title.noteUntil) engine.platform.setTitle(shell.title.text);
}

void setCaptionTitle(Engine& engine, std::string utf8) {
    ShellState& shell = engine.shell;
    shell.title.captionGiven = true;
    shell.title.text = std::move(utf8);
    // A note showing keeps the title until its time is over.
    if (!shell.title.noteUntil) engine.platform.setTitle(shell.title.text);
}

void showTitleNote(Engine& engine, std::string_view utf8) {
    engine.shell.title.noteUntil = engine.platform.ticks() + kTitleNoteMs;
    engine.platform.setTitle(utf8);
}

void expireTitleNote(Engine& engine) {
    WindowTitleState& title = engine.shell.title;
    if (!title.noteUntil || !clockReached(engine.platform.ticks(), *title.noteUntil)) return;
    title.noteUntil.reset();
    engine.platform.setTitle(title.text);
}

} // namespace orv
