#include "sound/MidiSource.h"

#include <fluidsynth.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace orv {

class MidiSynth {
public:
    MidiSynth() = default;
    MidiSynth(const MidiSynth&) = delete;
    MidiSynth& operator=(const MidiSynth&) = delete;
    ~MidiSynth() {
        if (synth_) delete_fluid_synth(synth_);
        if (settings_) delete_fluid_settings(settings_);
    }

    bool load(const std::string& font, int rate, std::string* error) {
        settings_ = new_fluid_settings();
        if (!settings_) return fail(error, "cannot make synthesizer settings");
        fluid_settings_setnum(settings_, "synth.sample-rate", double(rate));
        // The player advances by the samples rendered, not by the wall clock, so the music
        // keeps time with the mixer (and with a virtual clock).
        fluid_settings_setstr(settings_, "player.timing-source", "sample");
        fluid_settings_setint(settings_, "synth.threadsafe-api", 0);
        // The synthesizer's own default is quiet beside WAV effects at full level.
        fluid_settings_setnum(settings_, "synth.gain", 0.6);
        synth_ = new_fluid_synth(settings_);
        if (!synth_) return fail(error, "cannot start the synthesizer");
        if (fluid_synth_sfload(synth_, font.c_str(), 1) == FLUID_FAILED)
            return fail(error, "cannot load the sound font " + font);
        rate_ = rate;
        return true;
    }

    fluid_synth_t* synth() const { return synth_; }
    int rate() const { return rate_; }

private:
    bool fail(std::string* error, const std::string& why) {
        if (error) *error = why;
        return false;
    }

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    int rate_ = 44100;
};

namespace {

void quietLibrary() {
    static std::once_flag once;
    // Its warnings about files would go to stderr on every play; failures are reported here.
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

class MidiSource final : public SoundSource {
public:
    MidiSource(std::shared_ptr<MidiSynth> synth, SoundBytes bytes)
        : synth_(std::move(synth)), bytes_(std::move(bytes)) {}
    MidiSource(const MidiSource&) = delete;
    MidiSource& operator=(const MidiSource&) = delete;
    ~MidiSource() override { closePlayer(); }

    int rate() const override { return synth_->rate(); }
    int channels() const override { return 2; }

    size_t read(float* out, size_t frames) override {
        // The player starts at the first read, on the thread that renders.
        if (!player_ && !ended_ && !startPlayer()) ended_ = broken_ = true;
        if (ended_) return 0;
        // The player's status stays "playing" past the last event: its tick says the end, once
        // the first block has made it read the file.
        if (rendered_ &&
            (fluid_player_get_status(player_) == FLUID_PLAYER_DONE ||
             fluid_player_get_current_tick(player_) >= fluid_player_get_total_ticks(player_))) {
            ended_ = true;
            // A file without a single tick to play is one the player could not read.
            broken_ = fluid_player_get_total_ticks(player_) <= 0;
            return 0;
        }
        fluid_synth_write_float(synth_->synth(), int(frames), out, 0, 2, out, 1, 2);
        rendered_ = true;
        return frames;
    }

    bool rewind() override {
        closePlayer();
        ended_ = false;
        rendered_ = false;
        // A file the player refused once is refused again.
        return !broken_;
    }

private:
    bool startPlayer() {
        player_ = new_fluid_player(synth_->synth());
        if (!player_) return false;
        if (fluid_player_add_mem(player_, bytes_->data(), bytes_->size()) != FLUID_OK ||
            fluid_player_play(player_) != FLUID_OK) {
            closePlayer();
            return false;
        }
        return true;
    }

    void closePlayer() {
        if (!player_) return;
        fluid_player_stop(player_);
        delete_fluid_player(player_);
        player_ = nullptr;
        fluid_synth_all_sounds_off(synth_->synth(), -1);
    }

    std::shared_ptr<MidiSynth> synth_;
    SoundBytes bytes_;
    fluid_player_t* player_ = nullptr;
    bool ended_ = false;
    bool rendered_ = false;
    bool broken_ = false;
};

} // namespace

std::string findSoundFont() {
    if (const char* env = std::getenv("ORVANE_SOUNDFONT"); env && *env) return env;
    const char* const places[] = {
        "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2",
        "/usr/share/soundfonts/default.sf2",
    };
    std::error_code ec;
    for (const char* place : places)
        if (std::filesystem::is_regular_file(place, ec)) return place;
    return {};
}

std::shared_ptr<MidiSynth> loadMidiSynth(const std::string& soundFont, int rate,
                                         std::string* error) {
    quietLibrary();
    auto synth = std::make_shared<MidiSynth>();
    if (!synth->load(soundFont, rate, error)) return nullptr;
    return synth;
}

std::unique_ptr<SoundSource> openMidiSource(std::shared_ptr<MidiSynth> synth, SoundBytes bytes) {
    return std::make_unique<MidiSource>(std::move(synth), std::move(bytes));
}

} // namespace orv
