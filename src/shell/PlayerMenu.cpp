#include "shell/PlayerMenu.h"

#include "interp/Engine.h"
#include "shell/MainMenu.h"
#include "shell/Screenshot.h"
#include "sound/Volumes.h"
#include "text/AutoForward.h"
#include "text/ReadMarks.h"
#include "text/TextOut.h"

#include <string>

namespace orv {

namespace {

constexpr std::string_view kSpeedKey = "autoforward.speed";
constexpr std::string_view kSpeedWords[] = {"slow", "normal", "fast"};

void setSpeed(Engine& engine, AutoForwardSpeed speed) {
    engine.player.autoForwardSpeed = speed;
    engine.persist.settings.set(kSpeedKey, kSpeedWords[size_t(speed)]);
}

// Full, three quarters, half, a quarter, none, and full again.
void lowerVolume(Engine& engine, VolumeCategory category) {
    const int now = engine.sound.volumes.percent[size_t(category)];
    setPlayerVolume(engine, category, now <= 0 ? 100 : ((now - 1) / 25) * 25);
}

struct PlayerMenuRow {
    int id; // 0: a dividing line
    const char* label;
    // The volume rows show their level after the label.
    int volume;
    bool (*checked)(const Engine& engine);
    void (*run)(Engine& engine);
};

constexpr int kNoVolume = -1;

template <AutoForwardSpeed speed> constexpr PlayerMenuRow speedRow(int id, const char* label) {
    return {id, label, kNoVolume,
            [](const Engine& e) { return e.player.autoForwardSpeed == speed; },
            [](Engine& e) { setSpeed(e, speed); }};
}

template <VolumeCategory category> constexpr PlayerMenuRow volumeRow(int id, const char* label) {
    return {id, label, int(category), nullptr, [](Engine& e) { lowerVolume(e, category); }};
}

const PlayerMenuRow kRows[] = {
    {kPlayerAutoForward, "オートモード（A）", kNoVolume,
     [](const Engine& e) { return e.player.autoForward; },
     [](Engine& e) { setAutoForward(e, !e.player.autoForward); }},
    speedRow<AutoForwardSpeed::Slow>(kPlayerSpeedSlow, "オートの速さ：遅い"),
    speedRow<AutoForwardSpeed::Normal>(kPlayerSpeedNormal, "オートの速さ：普通"),
    speedRow<AutoForwardSpeed::Fast>(kPlayerSpeedFast, "オートの速さ：速い"),
    {0, "", kNoVolume, nullptr, nullptr},
    {kPlayerSkipRead, "既読スキップ（Tab、Ctrlを押す間）", kNoVolume,
     [](const Engine& e) { return e.player.tabSkip; },
     [](Engine& e) { e.player.tabSkip = !e.player.tabSkip; }},
    {kPlayerCopyPages, "ページをクリップボードへ", kNoVolume,
     [](const Engine& e) { return e.player.copyPages; },
     [](Engine& e) { setCopyPages(e, !e.player.copyPages); }},
    {0, "", kNoVolume, nullptr, nullptr},
    volumeRow<VolumeCategory::Music>(kPlayerVolumeMusic, "音楽の音量"),
    volumeRow<VolumeCategory::Effects>(kPlayerVolumeEffects, "効果音の音量"),
    volumeRow<VolumeCategory::Voices>(kPlayerVolumeVoices, "音声の音量"),
    volumeRow<VolumeCategory::Video>(kPlayerVolumeVideo, "動画の音量"),
    {kPlayerMute, "消音（M）", kNoVolume, [](const Engine& e) { return e.sound.volumes.muted; },
     [](Engine& e) { setMuted(e, !e.sound.volumes.muted); }},
    {0, "", kNoVolume, nullptr, nullptr},
    {kPlayerScreenshot, "スクリーンショット（F12）", kNoVolume, nullptr,
     [](Engine& e) { saveScreenshot(e); }},
};

} // namespace

MenuEntry buildPlayerMenu(const Engine& engine) {
    std::vector<MenuItem> items;
    for (const PlayerMenuRow& row : kRows) {
        MenuItem item;
        item.id = row.id;
        item.separator = row.id == 0;
        item.label = row.label;
        if (row.volume != kNoVolume)
            item.label +=
                "　" + std::to_string(engine.sound.volumes.percent[size_t(row.volume)]) + "%";
        item.checked = row.checked && row.checked(engine);
        items.push_back(std::move(item));
    }
    return MenuEntry::dropDown("プレイヤー", std::move(items));
}

void runPlayerCommand(Engine& engine, int id) {
    for (const PlayerMenuRow& row : kRows) {
        if (row.id == 0 || row.id != id) continue;
        row.run(engine);
        publishMenu(engine);
        return;
    }
}

void playerKey(Engine& engine, int code) {
    if (code == 'a' || code == 'A')
        runPlayerCommand(engine, kPlayerAutoForward);
    else if (code == 'm' || code == 'M')
        runPlayerCommand(engine, kPlayerMute);
}

void loadPlayerSettings(Engine& engine) {
    const std::optional<std::string> speed = engine.persist.settings.get(kSpeedKey);
    for (size_t i = 0; i < std::size(kSpeedWords); ++i)
        if (speed == kSpeedWords[i]) engine.player.autoForwardSpeed = AutoForwardSpeed(i);
    loadVolumes(engine);
    loadTextOutSettings(engine);
    loadReadMarks(engine);
}

void savePlayerFiles(Engine& engine) {
    saveReadMarks(engine);
}

} // namespace orv
