#include "text/TextCommands.h"

#include "graphics/ImageLoader.h"
#include "graphics/Transition.h"
#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "text/ClickWait.h"
#include "text/DisplayText.h"
#include "text/Lookback.h"
#include "text/TextWindow.h"
#include "util/sjis.h"

#include <algorithm>
#include <cstdint>

namespace orv {

namespace {

// The menu command that puts the text back to waiting at every '@'.
constexpr int kDisplayModeDefaultCommand = 40008;

// A glyph size plus a spacing does not fit 32 bits for every pair the scenario
// may give; a pitch that large puts every later cell off the window anyway.
int addSaturated(int32_t a, int32_t b) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{a} + b, INT32_MIN, INT32_MAX));
}

void setCursor(Engine& engine, bool relative) {
    const int32_t n = readNumber(engine);
    if (n != 0 && n != 1)
        reportError(engine, S(caption::kError),
                    S("カーソルは０（通常）と１（クリック消去用）です。"));
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
    const auto [x, y, perLine, lines] = readNumbers<4>(engine);
    w.originX = x;
    w.originY = y;
    w.charactersPerLine = perLine;
    w.lines = lines;
    if (w.charactersPerLine < 0 || w.lines < 0)
        reportError(engine, S(caption::kError), S("setwindowの縦横文字数指定が間違っています。"));
    expectComma(engine);
    const auto [glyphW, glyphH, spacingX, spacingY, delay, bold, shadow] = readNumbers<7>(engine);
    w.glyphWidth = glyphW;
    w.glyphHeight = glyphH;
    w.pitchX = addSaturated(glyphW, spacingX);
    w.pitchY = addSaturated(glyphH, spacingY);
    w.characterDelay = delay;
    w.bold = bold;
    w.shadow = shadow;
    expectComma(engine);
    if (peekAfterBlanks(engine) == '#') {
        w.windowColour = static_cast<int>(readColourLiteral(engine));
        expectComma(engine);
        const auto [left, top, right, bottom] = readNumbers<4>(engine);
        w.left = left;
        w.top = top;
        w.right = right;
        w.bottom = bottom;
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
        w.right = addSaturated(w.left, displayedWidth(w.windowPicture) - 1);
        w.bottom = addSaturated(w.top, w.windowPicture.height - 1);
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
    const int32_t xVar =
        readVariableRef(engine, '%', caption::kSyntax, "clickposの第一引数は数字変数です。");
    expectComma(engine);
    const int32_t yVar =
        readVariableRef(engine, '%', caption::kSyntax, "clickposの第ニ引数は数字変数です。");
    plainClickWait(engine);
    engine.vars.num[static_cast<size_t>(xVar)] = engine.shell.clickX;
    engine.vars.num[static_cast<size_t>(yVar)] = engine.shell.clickY;
    engine.vars.applyBounds();
}

} // namespace orv
