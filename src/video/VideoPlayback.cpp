#include "video/VideoPlayback.h"

#include "interp/Engine.h"
#include "media/PackedFiles.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "shell/Wait.h"
#include "sound/Mixer.h"
#include "sound/SoundLog.h"
#include "sound/SoundPlayback.h"
#include "sound/Volumes.h"
#include "util/sjis.h"
#include "video/VideoPlayer.h"

namespace orv {

namespace {

void logVideo(Engine& engine, const std::string& event) {
    if (engine.sound.log) engine.sound.log->write(engine.platform.ticks(), event);
}

// In a window pictures are checked this often (a picture at 30 a second lasts 33 ms).
constexpr uint32_t kPictureCheckMs = 5;

[[noreturn]] void cannotPlay(Engine& engine, VideoOpenError why, const std::string& name) {
    switch (why) {
    case VideoOpenError::NoPicture:
        reportError(engine, S(caption::kVideoNoPicture),
                    formatMessage(S("動画%sには映像がありません。"), name));
    case VideoOpenError::CannotScale:
        reportError(engine, S(caption::kVideoScale),
                    formatMessage(S("動画%sの映像を画面の大きさに変換できません。"), name));
    default:
        reportError(engine, S(caption::kVideoOpen),
                    formatMessage(S("動画%sを開けません。壊れているか、読めない形式です。"), name));
    }
}

// Stops the video however the wait is left (its end, a click, the program ending meanwhile).
struct StopOnExit {
    Engine& engine;
    ~StopOnExit() { stopVideo(engine); }
};

} // namespace

void playVideo(Engine& engine, const std::string& name, bool clickToStop) {
    stopVideo(engine);
    VideoState& video = engine.video;
    std::filesystem::path path;
    if (std::optional<std::filesystem::path> found = engine.fs.find(name)) {
        path = *found;
    } else if (std::optional<std::filesystem::path> extracted = extractFromArchive(engine, name)) {
        path = *extracted;
        video.temporary = path;
    } else {
        reportError(engine, S(caption::kLoad), formatMessage(S("ファイル%sを開けません。"), name));
    }
    const bool window = !engine.platform.isHeadless();
    // Headless runs hear nothing: the pictures keep the virtual clock alone.
    Mixer* mixer = window ? soundMixer(engine) : nullptr;
    if (mixer) applyVolumes(engine);
    VideoOpenError why = VideoOpenError::None;
    std::unique_ptr<VideoFile> file = VideoFile::open(path, mixer ? mixer->format().rate : 0, &why);
    if (!file) {
        stopVideo(engine);
        cannotPlay(engine, why, name);
    }
    video.player = std::make_unique<VideoPlayer>(std::move(file), window, mixer);
    video.name = name;
    StopOnExit stop{engine};
    engine.shell.videoPlaying = true;
    logVideo(engine, "video " + sjis::toUtf8(name));

    // A timed wait, as `delay` is: a click may end it, but scripted and automatic clicks are kept
    // for the waits that are for the player, and no cursor moves over the pictures.
    WaitRule rule;
    rule.maxIdleMs = kPictureCheckMs;
    rule.animatesCells = false;
    // A click recorded before the command (and not consumed) ends it before the first picture;
    // otherwise the clock starts now.
    if (clickToStop && engine.shell.clickFlag) return;
    bool ended = video.player->step(engine);
    if (!ended) {
        waitUntil(engine, rule, [&](const Event*) {
            if (clickToStop && engine.shell.clickFlag) return true;
            ended = video.player->step(engine);
            return ended;
        });
    }
    if (ended) {
        logVideo(engine, "end video " + sjis::toUtf8(name));
        video.name.clear();
    }
}

void stopVideo(Engine& engine) {
    VideoState& video = engine.video;
    if (!video.name.empty()) logVideo(engine, "stop video");
    video.player.reset();
    video.name.clear();
    engine.shell.videoPlaying = false;
    if (!video.temporary.empty()) {
        std::error_code ec;
        std::filesystem::remove(video.temporary, ec);
        video.temporary.clear();
    }
}

void cmdAvi(Engine& engine) {
    const std::string name = readString(engine);
    expectComma(engine);
    const bool clickToStop = readNumber(engine) != 0;
    playVideo(engine, name, clickToStop);
}

} // namespace orv
