#include "graphics/ImageLoader.h"

#include "graphics/BmpReader.h"
#include "graphics/PictureDecoders.h"
#include "interp/Engine.h"
#include "media/PackedFiles.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "util/sjis.h"

#include <algorithm>

namespace orv {

namespace {

void logImageFile(Engine& engine, std::string_view name) {
    if (engine.persist.fileLog.enabled) engine.persist.fileLog.add(name);
}

// A format other than BMP needs a picture plug-in registered for its extension; the built-in
// decoders then go by content. False when none is registered (or the library table is full); a
// file they cannot decode leaves the surface empty.
bool decodeWithPlugin(Engine& engine, Surface& surface, std::string_view extension,
                      std::string_view bytes) {
    std::optional<std::string> library = pictureLibraryFor(engine, extension);
    if (!library || !engine.sound.plugins.getLibrary(*library)) return false;
    decodePicture(surface, bytes);
    return true;
}

// The file's bytes from disk, else from the archives (the extracted copy deleted at once).
std::optional<std::string> readPictureFile(Engine& engine, std::string_view name) {
    if (std::optional<std::string> bytes = engine.fs.readAll(name)) return bytes;
    std::optional<std::filesystem::path> extracted = extractFromArchive(engine, name);
    if (!extracted) return std::nullopt;
    std::optional<std::string> bytes = readFilePrefix(*extracted, kMaxMemberBytes, nullptr);
    std::error_code ec;
    std::filesystem::remove(*extracted, ec);
    return bytes;
}

} // namespace

void loadImage(Engine& engine, Surface& surface, std::string_view text) {
    GraphicsState& graphics = engine.graphics;
    releaseSurface(surface);
    surface.cellTimes.clear();
    surface.cellStep = 1;
    surface.lastCellTime = 0;
    surface.blendLevel = -1;
    surface.currentCell = 0;
    surface.cellCount = 1;
    surface.cellTime = 0;
    surface.loopMode = 0;
    surface.transMode = graphics.defaultTransMode;

    ImageTag tag;
    switch (parseImageTag(text, graphics.defaultTransMode, tag)) {
    case ImageTagProblem::None:
        break;
    case ImageTagProblem::Malformed:
        reportError(engine, S(caption::kTag), S("タグの指定がおかしいです。"));
    case ImageTagProblem::BadColour:
        reportError(engine, S(caption::kSyntax),
                    S("カラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定してくだ"
                      "さい。"));
    case ImageTagProblem::BadLoop:
        reportError(
            engine, S(caption::kTag),
            formatMessage(S("ループ指定%dは範囲外です。0～2で指定してください。"), tag.loopMode));
    }
    surface.transMode = tag.mode;
    if (tag.keyedByColour) {
        surface.keyRed = static_cast<int>((tag.keyColour >> 16) & 0xff);
        surface.keyGreen = static_cast<int>((tag.keyColour >> 8) & 0xff);
        surface.keyBlue = static_cast<int>(tag.keyColour & 0xff);
    }
    if (tag.keyedByIndex) surface.keyIndex = tag.keyIndex;
    if (tag.animated) {
        surface.lastCellTime = engine.platform.ticks();
        surface.cellCount = tag.cellCount;
        surface.cellTime = tag.cellTime;
        surface.cellTimes = tag.cellTimes;
        surface.loopMode = tag.loopMode;
    }
    const std::string& name = tag.fileName;
    logImageFile(engine, name);

    std::optional<std::string> bytes = readPictureFile(engine, name);
    if (!bytes) {
        if (graphics.optionalLoad) {
            createSurface(surface, 1, 1, 24);
            return;
        }
        reportError(engine, S(caption::kLoad), formatMessage(S("ファイル%sを開けません。"), name));
    }

    const size_t dot = name.find('.');
    std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (extension == "bmp") {
        readBmpFile(surface, *bytes);
    } else if (!decodeWithPlugin(engine, surface, extension, *bytes)) {
        reportError(engine, S(caption::kLoad), formatMessage(S("ファイル%sを開けません。"), name));
    }
    if (surface.empty()) reportError(engine, S(caption::kError), S("ロード失敗!"));
}

void cmdTransmode(Engine& engine) {
    std::string word;
    readWord(engine, word);
    TransMode& mode = engine.graphics.defaultTransMode;
    if (word == "leftup")
        mode = TransMode::LeftUp;
    else if (word == "copy")
        mode = TransMode::Copy;
    else if (word == "alpha")
        mode = TransMode::Alpha;
    else
        reportError(engine, S(caption::kSyntax),
                    formatMessage(S("不正な命令\"%s\"です。"), "transmode"));
}

} // namespace orv
