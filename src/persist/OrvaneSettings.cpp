#include "persist/OrvaneSettings.h"

#include "interp/Engine.h"
#include "persist/PlayerFiles.h"

#include <charconv>

namespace orv {

namespace {

// Far more than any copy writes; a larger file is read as its first part.
constexpr size_t kMaxSettingsBytes = size_t(1) << 16;

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string oneLine(std::string_view value) {
    std::string line;
    for (char c : value)
        if (c != '\n' && c != '\r') line += c;
    return line;
}

} // namespace

void OrvaneSettings::parse(std::string_view text) {
    entries_.clear();
    changed_ = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = trim(line.substr(0, equals));
        if (key.empty()) continue;
        set(key, trim(line.substr(equals + 1)));
    }
    changed_ = false;
}

std::string OrvaneSettings::serialize() const {
    std::string text = "# Orvane's own settings for this game\n";
    for (const auto& [key, value] : entries_) text += key + "=" + value + "\n";
    return text;
}

std::optional<std::string> OrvaneSettings::get(std::string_view key) const {
    for (const auto& [k, value] : entries_)
        if (k == key) return value;
    return std::nullopt;
}

int OrvaneSettings::getInt(std::string_view key, int fallback, int min, int max) const {
    const std::optional<std::string> text = get(key);
    if (!text) return fallback;
    int value = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || stop != end || value < min || value > max) return fallback;
    return value;
}

bool OrvaneSettings::getBool(std::string_view key, bool fallback) const {
    const std::optional<std::string> text = get(key);
    if (text == "1" || text == "true" || text == "on") return true;
    if (text == "0" || text == "false" || text == "off") return false;
    return fallback;
}

void OrvaneSettings::set(std::string_view key, std::string_view value) {
    const std::string line = oneLine(value);
    const std::string name = oneLine(key);
    for (auto& [k, v] : entries_) {
        if (k != name) continue;
        if (v != line) {
            v = line;
            changed_ = true;
        }
        return;
    }
    entries_.emplace_back(name, line);
    changed_ = true;
}

void OrvaneSettings::setInt(std::string_view key, int value) {
    set(key, std::to_string(value));
}

void OrvaneSettings::setBool(std::string_view key, bool value) {
    set(key, value ? "1" : "0");
}

OrvaneSettings readOrvaneSettings(const PlayerFiles& files) {
    OrvaneSettings settings;
    const std::optional<std::string> text = files.read(kOrvaneSettingsFileName, kMaxSettingsBytes);
    settings.parse(text ? *text : std::string_view());
    return settings;
}

void loadOrvaneSettings(Engine& engine) {
    engine.persist.settings = readOrvaneSettings(engine.persist.files);
}

void saveOrvaneSettings(Engine& engine) {
    OrvaneSettings& settings = engine.persist.settings;
    if (!settings.changed()) return;
    if (writePlayerFile(engine, kOrvaneSettingsFileName, settings.serialize()))
        settings.markWritten();
}

} // namespace orv
