#include "interp/CommandTable.h"

#include "graphics/ButtonCommands.h"
#include "graphics/FilterCommands.h"
#include "graphics/GraphicsCommands.h"
#include "graphics/ImageLoader.h"
#include "graphics/SpriteCommands.h"
#include "interp/ControlFlow.h"
#include "interp/Engine.h"
#include "interp/EngineRun.h"
#include "interp/Timers.h"
#include "interp/VariableCommands.h"
#include "media/PackedFiles.h"
#include "menus/ChoiceCommands.h"
#include "menus/SystemMenuCommands.h"
#include "persist/PersistCommands.h"
#include "persist/SaveCommands.h"
#include "persist/Snapshot.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "shell/ShellCommands.h"
#include "sound/SoundCommands.h"
#include "text/InputCommands.h"
#include "text/Lookback.h"
#include "text/TextCommands.h"
#include "util/sjis.h"
#include "video/VideoPlayback.h"

#include <algorithm>
#include <array>

namespace orv {

namespace {

void cmdModeExt(Engine&) {}

using enum BlockClass;

// Dispatch order. Names are unique, so a hashed lookup finds what the ordered
// search would.
constexpr CommandInfo kCommands[] = {
    {"definereset", Both, cmdDefinereset},
    {"mousecursor", Both, cmdMousecursor},
    {"caption", Both, cmdCaption},
    {"end", Both, cmdEnd},
    {"mov", Both, cmdMov},
    {"rnd", Both, cmdRnd},
    {"rnd2", Both, cmdRnd2},
    {"getreg", Both, cmdGetreg},
    {"getini", Both, cmdGetini},
    {"add", Both, cmdAdd},
    {"sub", Both, cmdSub},
    {"inc", Both, cmdInc},
    {"dec", Both, cmdDec},
    {"mul", Both, cmdMul},
    {"div", Both, cmdDiv},
    {"mod", Both, cmdMod},
    {"goto", Both, cmdGoto},
    {"skip", Both, cmdSkip},
    {"gosub", Both, cmdGosub},
    {"return", Both, cmdReturn},
    {"len", Both, cmdLen},
    {"cmp", Both, cmdCmp},
    {"notif", Both, cmdNotif},
    {"if", Both, cmdIf},
    {"mesbox", Both, cmdMesbox},
    {"windoweffect", Both, cmdWindoweffect},
    {"savenumber", Definition, cmdSavenumber},
    {"mode_ext", Definition, cmdModeExt},
    {"defaultspeed", Definition, cmdDefaultspeed},
    {"intlimit", Definition, cmdIntlimit},
    {"lookbackbutton", Definition, cmdLookbackbutton},
    {"lookbackcolor", Definition, cmdLookbackcolor},
    {"savename", Definition, cmdSavename},
    {"clickstr", Definition, cmdClickstr},
    {"filelog", Definition, cmdFilelog},
    {"soundpressplgin", Definition, cmdSoundpressplgin},
    {"versionstr", Definition, cmdVersionstr},
    {"effectblank", Definition, cmdEffectblank},
    {"bgalia", Definition, cmdBgalia},
    {"cdfadeout", Definition, cmdCdfadeout},
    {"spi", Definition, cmdSpi},
    {"arc", Definition, cmdArc},
    {"effect", Definition, cmdEffect},
    {"transmode", Definition, cmdTransmode},
    {"stralias", Definition, cmdStralias},
    {"killmenu", Definition, cmdKillmenu},
    {"numalias", Definition, cmdNumalias},
    {"defaultfont", Definition, cmdDefaultfont},
    {"selectcolor", Definition, cmdSelectcolor},
    {"menuselectcolor", Definition, cmdMenuselectcolor},
    {"lookbackvoice", Definition, cmdLookbackvoice},
    {"clickvoice", Definition, cmdClickvoice},
    {"selectvoice", Definition, cmdSelectvoice},
    {"globalon", Definition, cmdGlobalon},
    {"menuselectvoice", Definition, cmdMenuselectvoice},
    {"humanz", Definition, cmdHumanz},
    {"underline", Definition, cmdUnderline},
    {"game", Definition, cmdGame},
    {"rlookback", Definition, cmdRlookback},
    {"roff", Definition, cmdRoff},
    {"rmenu", Definition, cmdRmenu},
    {"menusetwindow", Definition, cmdMenusetwindow},
    {"linkcolor", Definition, cmdLinkcolor},
    {"inputstr", Game, cmdInputstr},
    {"inputnum", Game, cmdInputnum},
    {"locate", Game, cmdLocate},
    {"puttext", Game, cmdPuttext},
    {"autoclick", Game, cmdAutoclick},
    {"br", Game, cmdBr},
    {"trap", Game, cmdTrap},
    {"setcursor", Game, cmdSetcursor},
    {"abssetcursor", Game, cmdAbssetcursor},
    {"quakex", Game, cmdQuakex},
    {"quakey", Game, cmdQuakey},
    {"rmode", Game, cmdRmode},
    {"systemcall", Game, cmdSystemcall},
    {"select", Game, cmdSelect},
    {"selgosub", Game, cmdSelgosub},
    {"selnum", Game, cmdSelnum},
    {"textoff", Game, cmdTextoff},
    {"texton", Game, cmdTexton},
    {"textclear", Game, cmdTextclear},
    {"textmode", Game, cmdTextmode},
    {"menu_full", Game, cmdMenuFull},
    {"menu_click_page", Game, cmdMenuClickPage},
    {"menu_click_def", Game, cmdMenuClickDef},
    {"menu_window", Game, cmdMenuWindow},
    {"erasetextwindow", Game, cmdErasetextwindow},
    {"monocro", Game, cmdMonocro},
    {"nega", Game, cmdNega},
    {"bg", Game, cmdBg},
    {"ld", Game, cmdLd},
    {"btndef", Game, cmdBtndef},
    {"btn", Game, cmdBtn},
    {"btnwait", Game, cmdBtnwait},
    {"btnwait2", Game, cmdBtnwait2},
    {"tbtnwait", Game, cmdTbtnwait},
    {"tal", Game, cmdTal},
    {"delay", Game, cmdDelay},
    {"wait", Game, cmdWait},
    {"textspeed", Game, cmdTextspeed},
    {"resettimer", Game, cmdResettimer},
    {"waittimer", Game, cmdWaittimer},
    {"gettimer", Game, cmdGettimer},
    {"lsph", Game, cmdLsph},
    {"lsp", Game, cmdLsp},
    {"csp", Game, cmdCsp},
    {"vsp", Game, cmdVsp},
    {"msp", Game, cmdMsp},
    {"cl", Game, cmdCl},
    {"print", Game, cmdPrint},
    {"mp3", Game, cmdMp3},
    {"mp3loop", Game, cmdMp3loop},
    {"avi", Game, cmdAvi},
    {"play", Game, cmdPlay},
    {"playonce", Game, cmdPlayonce},
    {"stop", Game, cmdStop},
    {"wave", Game, cmdWave},
    {"wavestop", Game, cmdWavestop},
    {"playstop", Game, cmdPlaystop},
    {"lookbackflush", Game, cmdLookbackflush},
    {"click", Game, cmdClick},
    {"clickpos", Game, cmdClickpos},
    {"waveloop", Game, cmdWaveloop},
    {"setwindow", Game, cmdSetwindow},
};

constexpr uint32_t hashName(std::string_view s) {
    uint32_t h = 2166136261u;
    for (char c : s) h = (h ^ uint8_t(c)) * 16777619u;
    return h;
}

// Open addressing over the table's indices, built at compile time; sized well
// above the number of commands so probes stay short.
class CommandIndex {
public:
    static constexpr size_t kSlots = 512;
    static_assert(std::size(kCommands) < kSlots / 2);

    constexpr CommandIndex() {
        slots_.fill(-1);
        for (size_t i = 0; i < std::size(kCommands); ++i) {
            size_t s = hashName(kCommands[i].name) & (kSlots - 1);
            while (slots_[s] >= 0) s = (s + 1) & (kSlots - 1);
            slots_[s] = int16_t(i);
        }
    }

    const CommandInfo* find(std::string_view word) const {
        size_t s = hashName(word) & (kSlots - 1);
        for (;;) {
            int16_t i = slots_[s];
            if (i < 0) return nullptr;
            const CommandInfo& c = kCommands[size_t(i)];
            if (c.name == word) return &c;
            s = (s + 1) & (kSlots - 1);
        }
    }

private:
    std::array<int16_t, kSlots> slots_{};
};

constexpr CommandIndex kCommandIndex;

} // namespace

std::span<const CommandInfo> commandTable() {
    return kCommands;
}

const CommandInfo* findCommand(std::string_view word, BlockMode mode) {
    const CommandInfo* c = kCommandIndex.find(word);
    if (!c) return nullptr;
    if (c->block == BlockClass::Both) return c;
    BlockClass wanted = mode == BlockMode::Definition ? BlockClass::Definition : BlockClass::Game;
    return c->block == wanted ? c : nullptr;
}

void dispatchCommand(Engine& engine, std::string_view word, BlockMode mode) {
    const CommandInfo* c = findCommand(word, mode);
    if (!c)
        reportError(engine, S(caption::kSyntax), formatMessage(S("不正な命令\"%s\"です。"), word));
    c->handler(engine);
}

void dispatchStatement(Engine& engine, BlockMode mode) {
    ScriptState& script = engine.script;
    StatementCache& cache = engine.interp.statementCache;
    if (cache.generation != script.buffer.generation()) {
        std::fill(cache.entries.begin(), cache.entries.end(), StatementCache::Entry{});
        cache.generation = script.buffer.generation();
    }
    int32_t start = script.pos;
    StatementCache::Entry& entry = cache.entries[size_t(start) % StatementCache::kSize];
    if (entry.pos == start) {
        BlockClass wanted =
            mode == BlockMode::Definition ? BlockClass::Definition : BlockClass::Game;
        if (entry.command->block == BlockClass::Both || entry.command->block == wanted) {
            script.pos = entry.next;
            entry.command->handler(engine);
            return;
        }
    }
    // The word is used only before the handler runs (which may reuse the scratch).
    std::string_view word = readWordView(engine, engine.interp.scratchWord);
    if (const CommandInfo* c = kCommandIndex.find(word))
        entry = {start, script.pos, c, commandKeepsPage(*c)};
    dispatchCommand(engine, word, mode);
}

} // namespace orv
