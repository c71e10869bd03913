#include "menus/ChoiceCommands.h"

#include "interp/ControlFlow.h"
#include "interp/Engine.h"
#include "menus/Choice.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/LabelTable.h"
#include "script/TokenReader.h"
#include "text/Lookback.h"
#include "text/TextWindow.h"
#include "util/sjis.h"

namespace orv {

namespace {

// A comma of a choice list; the list may go on on the next line.
void listComma(Engine& engine) {
    expectComma(engine);
    skipBlanksAndNewlines(engine);
}

// Reads texts (each with its label when withLabels) while commas follow. Empty texts are left
// out together with their labels.
void readChoiceList(Engine& engine, bool withLabels) {
    ChoiceState& choices = engine.choices;
    choices.texts.clear();
    choices.labels.clear();
    for (;;) {
        std::string text = readString(engine);
        std::string label;
        if (withLabels) {
            listComma(engine);
            label = readLabel(engine);
        }
        if (!text.empty()) {
            if (choices.texts.size() == kMaxChoices)
                reportError(engine, S(caption::kError), S("選択肢が多すぎます。50個までです。"));
            choices.texts.push_back(std::move(text));
            choices.labels.push_back(std::move(label));
        }
        if (peekAfterBlanks(engine) != ',') break;
        ++engine.script.pos;
        skipBlanksAndNewlines(engine);
    }
    // With nothing to show the player could never leave the choice.
    if (choices.texts.empty())
        reportError(engine, S(caption::kError), S("表示する選択肢がありません。"));
}

// The choices at the text window's pen; the index taken.
int askPlayer(Engine& engine) {
    const TextWindow& w = engine.text.window;
    return runChoice(engine, choiceForm(engine), w.column, w.line, engine.choices.texts);
}

// The page ends with the choice: the window is emptied and the lookback closes the page.
void endChoicePage(Engine& engine) {
    newPage(engine);
    appendPageBreak(engine);
}

void jumpToChoice(Engine& engine, bool pushReturn) {
    readChoiceList(engine, true);
    const int32_t returnPos = engine.script.pos;
    const int index = askPlayer(engine);
    if (pushReturn) pushGosubReturn(engine, returnPos);
    endChoicePage(engine);
    const std::string label = engine.choices.labels[static_cast<size_t>(index)];
    jumpToLabel(engine, label);
}

// A colour argument of selectcolor: "#" and six hexadecimal digits.
uint32_t readChoiceColour(Engine& engine) {
    if (peekAfterBlanks(engine) != '#')
        reportError(engine, S(caption::kError), S("selectcolorのパラメータが違います。"));
    return readColourLiteral(engine);
}

} // namespace

void startChoicePass(Engine& engine) {
    ChoiceState& choices = engine.choices;
    choices.highlightedColour = kDefaultChoiceHighlighted;
    choices.normalColour = kDefaultChoiceNormal;
    choices.shownVoice.clear();
    choices.movedVoice.clear();
    choices.decidedVoice.clear();
}

void cmdSelect(Engine& engine) {
    jumpToChoice(engine, false);
}

void cmdSelgosub(Engine& engine) {
    jumpToChoice(engine, true);
}

void cmdSelnum(Engine& engine) {
    const int32_t variable =
        readVariableRef(engine, '%', caption::kSyntax, "selnumの第一引数は数値変数です。");
    listComma(engine);
    readChoiceList(engine, false);
    const int index = askPlayer(engine);
    endChoicePage(engine);
    numericVariable(engine, variable) = index;
    engine.vars.applyBounds();
}

void cmdSelectcolor(Engine& engine) {
    const uint32_t highlighted = readChoiceColour(engine);
    expectComma(engine);
    const uint32_t normal = readChoiceColour(engine);
    engine.choices.highlightedColour = highlighted;
    engine.choices.normalColour = normal;
}

void cmdSelectvoice(Engine& engine) {
    ChoiceState& choices = engine.choices;
    std::string shown = readString(engine);
    expectComma(engine);
    std::string moved = readString(engine);
    expectComma(engine);
    std::string decided = readString(engine);
    choices.shownVoice = std::move(shown);
    choices.movedVoice = std::move(moved);
    choices.decidedVoice = std::move(decided);
}

} // namespace orv
