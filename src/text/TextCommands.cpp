#include "text/TextCommands.h"

#include "graphics/ImageLoader.h"
#include "graphics/Transition.h"
#include "interp/Engine.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "text/ClickWait.h"
#include "text/DisplayText.h"
#include "text/Lookback.h"
#include "text/TextWindow.h"
#include "util/sjis.h"

namespace orv {

namespace {

// The menu command that puts the text back to waiting at every '@'.
constexpr int kDisplayModeDefaultCommand = 40008;

char peekAfterBlanks(Engine& engine) {
    skipBlanks(engine);
    return engine.script.current();
}

void setCursor(Engine& engine, bool relative) {
    const int32_t n = readNumber(engine);
    if (n != 0 && n != 1)
        reportError(engine, S("エラー"), S("カーソルは０（通常）と１（クリック消去用）です。"));
    TextCursor& cursor = engine.text.pacing.cursors[static_cast<size_t>(n)];
    expectComma(engine);
    std::string name = readString(engine);
    expectComma(engine);
    const int32_t x = readNumber(engine);
    expectComma(engine);
    const int32_t y = readNumber(engine);
    cursor.relative = relative;
    loadImage(engine, cursor.picture, name);
    cursor.name = std::move(name);
    cursor.offsetX = x;
    cursor.offsetY = y;
}

// The wait of `click` and `clickpos`: no cursor, and a right click does nothing.
void plainClickWait(Engine& engine) {
    TextPacing& pacing = engine.text.pacing;
    pacing.rightClickOff = true;
    pacing.cursorKind = kNoCursor;
    clickWait(engine);
    pacing.rightClickOff = false;
}

// A numeric variable argument: its number, after checking the '%'.
int32_t readNumericVariable(Engine& engine, std::string_view message) {
    if (peekAfterBlanks(engine) != '%') reportError(engine, S("構文エラー"), S(message));
    ++engine.script.pos;
    return readVariableNumber(engine);
}

} // namespace

void takeScriptFace(Engine& engine) {
    TextWindow& w = engine.text.window;
    w.chosenFace = w.scriptFace;
    w.currentFace = w.scriptFace;
}

void cmdSetwindow(Engine& engine) {
    TextWindow& w = engine.text.window;
    hideTextWindowAlways(engine);
    newPage(engine);
    emptyLookback(engine);
    w.originX = readNumber(engine);
    expectComma(engine);
    w.originY = readNumber(engine);
    expectComma(engine);
    w.charactersPerLine = readNumber(engine);
    expectComma(engine);
    w.lines = readNumber(engine);
    if (w.charactersPerLine < 0 || w.lines < 0)
        reportError(engine, S("エラー"), S("setwindowの縦横文字数指定が間違っています。"));
    expectComma(engine);
    w.glyphWidth = readNumber(engine);
    expectComma(engine);
    w.glyphHeight = readNumber(engine);
    expectComma(engine);
    w.pitchX = w.glyphWidth + readNumber(engine);
    expectComma(engine);
    w.pitchY = w.glyphHeight + readNumber(engine);
    expectComma(engine);
    w.characterDelay = readNumber(engine);
    expectComma(engine);
    w.bold = readNumber(engine);
    expectComma(engine);
    w.shadow = readNumber(engine);
    expectComma(engine);
    if (peekAfterBlanks(engine) == '#') {
        const std::string_view text = engine.script.buffer.text();
        const auto at = static_cast<size_t>(engine.script.pos);
        const uint32_t colour = readColor(engine, text.substr(std::min(at + 1, text.size()), 6));
        engine.script.pos += 7;
        w.windowColour = static_cast<int>(colour);
        expectComma(engine);
        w.left = readNumber(engine);
        expectComma(engine);
        w.top = readNumber(engine);
        expectComma(engine);
        w.right = readNumber(engine);
        expectComma(engine);
        w.bottom = readNumber(engine);
        releaseSurface(w.windowPicture);
        w.windowPictureName.clear();
    } else {
        w.windowColour = -1;
        w.windowPictureName = readString(engine);
        loadImage(engine, w.windowPicture, w.windowPictureName);
        expectComma(engine);
        w.left = readNumber(engine);
        expectComma(engine);
        w.top = readNumber(engine);
        w.right = w.left + displayedWidth(w.windowPicture) - 1;
        w.bottom = w.top + w.windowPicture.height - 1;
    }
    // The whole window is painted again from the display.
    copyToWindow(engine.graphics.surfaces.display, engine.platform.window(), kWholeScreen);
    engine.platform.present(toPlatformRect(kWholeScreen));
}

void cmdDefaultfont(Engine& engine) {
    engine.text.window.scriptFace = readString(engine);
}

void cmdLinkcolor(Engine& engine) {
    TextColour c;
    c.red = readNumber(engine);
    expectComma(engine);
    c.green = readNumber(engine);
    expectComma(engine);
    c.blue = readNumber(engine);
    engine.text.window.linkColour = c;
}

void cmdLocate(Engine& engine) {
    TextWindow& w = engine.text.window;
    w.column = readNumber(engine);
    expectComma(engine);
    w.line = readNumber(engine);
}

void cmdPuttext(Engine& engine) {
    const std::string text = readString(engine);
    drawDisplayText(engine, text);
}

void cmdBr(Engine& engine) {
    newLine(engine);
}

void cmdTextoff(Engine& engine) {
    hideTextWindowAlways(engine);
}

void cmdTexton(Engine& engine) {
    drawDisplayText(engine, {});
}

void cmdTextclear(Engine& engine) {
    appendPageBreak(engine);
    newPage(engine);
}

void cmdTextmode(Engine& engine) {
    const int32_t mode = readNumber(engine);
    if (engine.text.window.shown) hideTextWindowIfErasable(engine);
    engine.text.window.textMode = mode;
}

void cmdErasetextwindow(Engine& engine) {
    engine.text.window.eraseFlag = readNumber(engine);
}

void cmdDefaultspeed(Engine& engine) {
    auto& speeds = engine.text.pacing.speedTable;
    speeds[0] = readNumber(engine);
    expectComma(engine);
    speeds[1] = readNumber(engine);
    expectComma(engine);
    speeds[2] = readNumber(engine);
}

void cmdTextspeed(Engine& engine) {
    engine.text.window.characterDelay = readNumber(engine);
}

void cmdClickstr(Engine& engine) {
    TextPacing& pacing = engine.text.pacing;
    pacing.clickstrList = readString(engine);
    expectComma(engine);
    pacing.clickstrMargin = readNumber(engine);
}

void cmdClickvoice(Engine& engine) {
    TextPacing& pacing = engine.text.pacing;
    pacing.clickVoice = readString(engine);
    expectComma(engine);
    pacing.pageVoice = readString(engine);
}

void cmdSetcursor(Engine& engine) {
    setCursor(engine, true);
}

void cmdAbssetcursor(Engine& engine) {
    setCursor(engine, false);
}

void cmdAutoclick(Engine& engine) {
    const int32_t ms = readNumber(engine);
    engine.platform.postEvent(Event{EventKind::Command, 0, 0, kDisplayModeDefaultCommand});
    engine.text.pacing.autoclickTime = ms;
    engine.shell.autoclickMode = ms != 0;
}

void cmdClick(Engine& engine) {
    plainClickWait(engine);
}

void cmdClickpos(Engine& engine) {
    const int32_t xVar = readNumericVariable(engine, "clickposの第一引数は数字変数です。");
    expectComma(engine);
    const int32_t yVar = readNumericVariable(engine, "clickposの第ニ引数は数字変数です。");
    plainClickWait(engine);
    engine.vars.num[static_cast<size_t>(xVar)] = engine.shell.clickX;
    engine.vars.num[static_cast<size_t>(yVar)] = engine.shell.clickY;
    engine.vars.applyBounds();
}

} // namespace orv
