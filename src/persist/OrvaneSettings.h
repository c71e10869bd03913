// Orvane's own settings, beside the player's other files in "orvane.ini": what players of today
// expect and the engine never kept (window scale, volumes, auto-forward speed ...). They live in
// a file of their own so that the files games and their players already have stay byte for
// byte as they always were.
//
// The file is plain UTF-8 text, one "key=value" a line; lines starting with '#' or ';' and
// blank lines are comments. Keys this build does not know are kept and written back, so an older
// and a newer copy can share a save folder without losing each other's settings.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

struct Engine;

inline constexpr std::string_view kOrvaneSettingsFileName = "orvane.ini";

// The window's whole scale (1 to 8) and whether it starts in full screen.
inline constexpr std::string_view kScaleSetting = "scale";
inline constexpr std::string_view kFullScreenSetting = "fullscreen";

class OrvaneSettings {
public:
    // Replaces everything with what the text holds; a malformed line is skipped.
    void parse(std::string_view text);
    std::string serialize() const;

    std::optional<std::string> get(std::string_view key) const;
    // The stored number when it is a whole number within [min, max], else the fallback.
    int getInt(std::string_view key, int fallback, int min, int max) const;
    bool getBool(std::string_view key, bool fallback) const;

    // Keys are lower-case words; a value is one line (line breaks are dropped).
    void set(std::string_view key, std::string_view value);
    void setInt(std::string_view key, int value);
    void setBool(std::string_view key, bool value);

    // Something was set to a new value since the file was read or written.
    bool changed() const { return changed_; }
    void markWritten() { changed_ = false; }

private:
    std::vector<std::pair<std::string, std::string>> entries_;
    bool changed_ = false;
};

class PlayerFiles;

// What the settings file in the player's folder holds (nothing when it is missing).
OrvaneSettings readOrvaneSettings(const PlayerFiles& files);

// Once per program run, before the first engine start (later starts keep what the run changed).
void loadOrvaneSettings(Engine& engine);
// At the end of the run, only when a setting changed: a player who never touches one never gets
// the file.
void saveOrvaneSettings(Engine& engine);

} // namespace orv
