#include "shell/SettingsFiles.h"

#include "interp/Engine.h"
#include "persist/PlayerFiles.h"
#include "util/binio.h"

#include <optional>

namespace orv {

namespace {

// The longest face name a stored file can give: the settings were read into a buffer of 256
// bytes. A longer one is ignored rather than cut into the name of some other face.
constexpr size_t kMaxFaceBytes = 255;
constexpr size_t kMaxEnvDataBytes = 16 + kMaxFaceBytes + 2;
// "config.txt" is read a line (or 255 bytes of a longer line) at a time.
constexpr size_t kConfigChunkBytes = 255;
constexpr size_t kMaxConfigBytes = size_t(1) << 20;

void post(Engine& engine, int command) {
    engine.platform.postEvent({EventKind::Command, 0, 0, command});
}

int speedCommand(int32_t index) {
    switch (index) {
    case 0:
        return kMenuSpeedSlow;
    case 1:
        return kMenuSpeedNormal;
    case 2:
        return kMenuSpeedFast;
    default:
        return 0;
    }
}

// The font entry showing that face: the default-font entry for the script's own face, else
// the first entry of the same name (font entries are numbered from 0); none when the face is not
// offered any more.
std::optional<int> fontCommand(const Engine& engine, const std::string& face) {
    if (face.size() > kMaxFaceBytes) return std::nullopt;
    if (face == engine.text.window.scriptFace) return kMenuDefaultFont;
    const ShellState& shell = engine.shell;
    for (int i = 0; i < shell.fontCount; ++i)
        if (shell.fontNames[size_t(i)] == face) return i;
    return std::nullopt;
}

} // namespace

std::string encodeEnvData(const EnvData& data) {
    BinWriter out;
    out.putInt32(data.fullScreen);
    out.putInt32(data.waveEnabled);
    out.putInt32(data.speedIndex);
    out.putInt32(data.displayMode);
    out.putText(data.face);
    return out.bytes();
}

EnvData decodeEnvData(std::string_view bytes) {
    BinReader in(bytes);
    EnvData data;
    data.fullScreen = in.getInt32();
    data.waveEnabled = in.getInt32();
    data.speedIndex = in.getInt32();
    data.displayMode = in.getInt32();
    data.face = in.getText();
    return data;
}

void writeEnvData(Engine& engine) {
    const ShellState& shell = engine.shell;
    EnvData data;
    data.fullScreen = shell.fullScreen ? 1 : 0;
    data.waveEnabled = shell.waveEnabled ? 1 : 0;
    data.speedIndex = shell.speedIndex;
    data.displayMode = shell.displayMode;
    data.face = engine.text.window.chosenFace;
    writePlayerFile(engine, kEnvDataFileName, encodeEnvData(data));
}

void applyEnvData(Engine& engine) {
    std::optional<std::string> bytes =
        engine.persist.files.read(kEnvDataFileName, kMaxEnvDataBytes);
    if (!bytes) return;
    const EnvData data = decodeEnvData(*bytes);
    if (data.fullScreen != 0) post(engine, kMenuFullScreen);
    if (data.waveEnabled == 0) post(engine, kMenuWaveOff);
    if (data.displayMode != 0) post(engine, kMenuClickPage);
    if (int command = speedCommand(data.speedIndex)) post(engine, command);
    if (std::optional<int> command = fontCommand(engine, data.face)) post(engine, *command);
}

void readConfig(Engine& engine) {
    std::optional<std::filesystem::path> found = engine.fs.find(kConfigFileName);
    if (!found) return;
    std::optional<std::string> text = readFilePrefix(*found, kMaxConfigBytes, nullptr);
    if (!text) return;
    std::string_view rest = *text;
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        size_t length = end == std::string_view::npos ? rest.size() : end + 1;
        length = std::min(length, kConfigChunkBytes);
        if (rest.substr(0, length).starts_with("cdfadeoff")) engine.sound.fadeDisabled = true;
        rest.remove_prefix(length);
    }
}

} // namespace orv
