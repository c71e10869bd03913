// Every scenario error ends the run with status 2 and one report: caption,
// message and the position line; some rows fix the excerpt below it as well.
// The real binary's stderr and exit status are fixed by tests/scenarios/core-err-*.
#include "EngineHarness.h"
#include "Pictures.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;
using orv::test::repeat;

namespace {

// "prefix0suffix" .. "prefix<n-1>suffix", one a line.
std::string numbered(const std::string& prefix, const std::string& suffix, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += prefix + std::to_string(i) + suffix + "\n";
    return out;
}

struct ErrorCase {
    const char* name;
    std::string scenario;
    const char* caption;
    std::string message;
    int line;
    const char* excerpt = nullptr; // the lines after the position line, when checked
};

std::string game(const std::string& body) {
    return kPrologue + body;
}

const ErrorCase kCases[] = {
    {"add", game("add \"a\",1\n"), "構文エラー", "addの第一引数は数字／文字変数です。", 4,
     "\n|game\n|*start\n>add "},
    {"cmp", game("cmp $0,\"a\",\"b\"\n"), "構文エラー", "cmpの第一引数は数字変数です。", 4},
    {"comma", game("mov %0 1\n"), "構文エラー", "コンマが必要なところにコンマが有りません。", 4,
     "\n|game\n|*start\n>mov %0 "},
    {"dec", game("dec $0\n"), "構文エラー", "decの引数は数字変数です。", 4},
    {"div", game("div $0,2\n"), "構文エラー", "divの第一引数は数字変数です。", 4},
    {"div-zero", game("mov %0,5\ndiv %0,0\n"), "０除算エラー", "０で除算しました。", 5,
     "\n|*start\n|mov %0,5\n>div %0,0"},
    {"fchk-in-define", "*define\nif fchk \"a.bmp\" mov %0,1\ngame\n", "エラー",
     "fchk条件式は、定義ブロックでは使えません。", 2, "*define\n>if fchk "},
    {"game-in-game-block", game("game\n"), "構文エラー", "不正な命令\"game\"です。", 4},
    {"wait-in-define", "*define\nwait 10\ngame\n", "構文エラー", "不正な命令\"wait\"です。", 2},
    {"mode-ext-in-game", "*define\nmode_ext\ngame\n*start\nmode_ext\n", "構文エラー",
     "不正な命令\"mode_ext\"です。", 5},
    {"unknown-in-capitals", game("NoSuch_Cmd2\n"), "構文エラー", "不正な命令\"nosuch_cmd2\"です。",
     4},
    {"getini", game("getini %0,\"a.ini\",\"s\",\"k\"\n"), "構文エラー",
     "getiniの第一引数は文字変数です。", 4},
    {"getreg", game("getreg %0,\"Software\",\"x\"\n"), "構文エラー",
     "getregの第一引数は文字変数です。", 4},
    {"gettimer", game("gettimer $0\n"), "構文エラー", "gettimerの引数は数字変数です。", 4},
    {"gosub-overflow", game("*rec\ninc %0\ngosub *rec\n"), "スタックエラー",
     "gosub文のせいでスタックが溢れました。", 6, "\n|*rec\n|inc %0\n>gosub "},
    {"if-operator", game("mov %0,1\nif %0 ! 1 end\n"), "エラー", "if条件式が間違っています。", 5},
    {"if-word", game("if flag = 1 end\n"), "エラー", "if条件式が間違っています。", 4},
    {"if-less-equal-reversed", game("if %0 =< 1 end\n"), "構文エラー",
     "数字がくるべきところに数字がありません。", 4},
    {"if-no-operator", game("if %0 1 end\n"), "エラー", "if条件式が間違っています。", 4},
    {"fchk-in-capitals", game("if Fchk \"a.bmp\" end\n"), "構文エラー",
     "数字がくるべきところに数字がありません。", 4},
    {"if-false-on-the-last-line", game("if 1 = 2 end"), "スクリプトエラー",
     "ファイルの終端に達しました。", 5},
    {"skip-onto-the-end", game("skip 3\nend\n"), "スクリプトエラー", "ファイルの終端に達しました。",
     7},
    // The line before is reachable, the first line never is.
    {"skip-to-the-line-before", game("skip -2\n"), "構文エラー", "不正な命令\"game\"です。", 2},
    {"skip-huge", game("skip -2147483648\n"), "構文エラー",
     "SKIPがスクリプトの範囲を飛び出しました。", 4},
    {"trap-word", game("trap open\n"), "エラー",
     "trap命令のパラメータは、offもしくは*ラベル名です。", 4},
    {"variable-mov-4096", game("mov %0,-1\nmov %4096,1\n"), "実行時エラー",
     "変数番号4096は範囲外です。0～4095で指定してください。", 5},
    {"variable-str-minus-one", game("mov %0,-1\nmov $-1,\"a\"\n"), "実行時エラー",
     "変数番号-1は範囲外です。0～4095で指定してください。", 5},
    {"variable-indirect-minus-one", game("mov %0,-1\ninc %%0\n"), "実行時エラー",
     "変数番号-1は範囲外です。0～4095で指定してください。", 5},
    {"variable-read-5000", game("mov %0,-1\nmov %0,%5000\n"), "実行時エラー",
     "変数番号5000は範囲外です。0～4095で指定してください。", 5},
    {"variable-cmp-4096", game("mov %0,-1\ncmp %4096,\"a\",\"b\"\n"), "実行時エラー",
     "変数番号4096は範囲外です。0～4095で指定してください。", 5},
    {"variable-gettimer-minus-five", game("mov %0,-1\ngettimer %-5\n"), "実行時エラー",
     "変数番号-5は範囲外です。0～4095で指定してください。", 5},
    {"intlimit-4096", "*define\nintlimit 4096,0,1\ngame\n", "実行時エラー",
     "変数番号4096は範囲外です。0～4095で指定してください。", 2},
    {"intlimit-in-game", game("intlimit 0,0,1\n"), "構文エラー", "不正な命令\"intlimit\"です。", 4},
    {"numalias-in-game", game("numalias a,1\n"), "構文エラー", "不正な命令\"numalias\"です。", 4},
    {"stralias-in-game", game("stralias b,\"x\"\n"), "構文エラー", "不正な命令\"stralias\"です。",
     4},
    {"rnd2-wrapping-range", game("rnd2 %0,-2147483648,2147483647\n"), "０除算エラー",
     "rnd2の範囲が空です。第三引数に第二引数－1は指定できません。", 4},
    {"inc", game("inc 0\n"), "構文エラー", "incの引数は数字変数です。", 4},
    {"label-expected", game("goto start\n"), "構文エラー",
     "ラベル名が来るべきところにラベル名が来ませんでした。", 4},
    {"label-missing", game("goto *nowhere\n"), "ラベルエラー", "ラベル*nowhereは存在しません", 4},
    {"label-not-star", game("goto \"start\"\n"), "実行時エラー",
     "ラベル名を指定すべきところで文字列が代わりに指定されましたが、文字列の先頭が*ではありません"
     "。",
     4},
    {"label-start-missing", "*define\ngame\n*begin\nend\n", "ラベルエラー",
     "ラベル*startは存在しません", 2, "*define\n>game"},
    {"define-missing", "", "ラベルエラー", "ラベル*defineは存在しません", 2},
    {"label-too-many", game(numbered("*l", "", 4998) + "*over\n"), "エラー",
     "ラベルが5000を超えました。", 5002, "\n|*l4996\n|*l4997\n>*over"},
    {"len", game("len $0,\"a\"\n"), "構文エラー", "lenの第一引数は数字変数です。", 4},
    {"mod", game("mod 0,2\n"), "構文エラー", "modの第一引数は数字変数です。", 4},
    {"mod-zero", game("mod %0,0\n"), "０除算エラー", "０で剰余演算しました。", 4},
    {"mov", game("mov 5,1\n"), "構文エラー", "movの第一引数は数字／文字変数です。", 4},
    {"mul", game("mul x,2\n"), "構文エラー", "mulの第一引数は数字変数です。", 4},
    {"numalias-duplicate", "*define\nnumalias Max,1\nnumalias MAX,2\ngame\n", "エラー",
     "数字エイリアスmaxが二重定義されています。", 3, "*define\n|numalias Max,1\n>numalias MAX"},
    {"numalias-too-many", "*define\n" + numbered("numalias n", ",1", 4097) + "game\n", "エラー",
     "数字エイリアスが多すぎます。", 4098},
    {"number-missing", game("mov %0,abc\n"), "構文エラー",
     "数字がくるべきところに数字がありません。", 4},
    {"number-as-kanji", game("mov %0,あ\n"), "構文エラー",
     "数字がくるべきところに数字がありません。", 4},
    {"number-too-long", game("mov %0,1234567890123456789\n"), "構文エラー",
     "数字が長すぎます。:1234567890123456789", 4},
    {"return", game("return\n"), "スタックエラー", "returnとgosub文が正しく対応していません。", 4},
    {"rnd", game("rnd $0,2\n"), "構文エラー", "rndの第一引数は数字変数です。", 4},
    {"rnd-zero", game("rnd %0,0\n"), "０除算エラー", "rndの第二引数に0は指定できません。", 4},
    {"rnd2", game("rnd2 $0,1,2\n"), "構文エラー", "rnd2の第一引数は数字変数です。", 4},
    {"rnd2-empty", game("rnd2 %0,5,4\n"), "０除算エラー",
     "rnd2の範囲が空です。第三引数に第二引数－1は指定できません。", 4},
    {"skip-backward", game("skip -3\n"), "構文エラー", "SKIPがスクリプトの範囲を飛び出しました。",
     4},
    {"skip-forward", game("skip 4\nend\n"), "構文エラー",
     "SKIPがスクリプトの範囲を飛び出しました。", 7, "\n|end\n|\n>"},
    {"stralias-duplicate", "*define\nstralias a,\"1\"\nstralias A,\"2\"\ngame\n", "エラー",
     "文字列エイリアスaが二重定義されています。", 3},
    {"stralias-too-many", "*define\n" + numbered("stralias s", ",\"\"", 4097) + "game\n", "エラー",
     "文字列エイリアスが多すぎます。", 4098},
    {"string-missing", game("mov $0,abc\n"), "構文エラー",
     "文字列が来るべきところに文字列がありません。", 4},
    {"string-newline", game("mov $0,\"abc\ndef\"\n"), "構文エラー", "文字列中に改行が有ります。", 4,
     "\n|game\n|*start\n>mov $0,\"abc"},
    // The message quotes the first 255 bytes of the Shift-JIS text.
    {"string-too-long", game("mov $0,\"a" + repeat("あ", 130) + "\"\n"), "構文エラー",
     "文字列が長すぎます。:a" + repeat("あ", 127), 4},
    {"string-variable-too-long", game("mov $0,\"abcdefghijklmnop\"\n*l\nadd $0,$0\ngoto *l\n"),
     "実行時エラー", "文字列変数が長すぎます。1048576バイトまでです。", 6},
    {"display-line-too-long",
     game("mov $0,\"abcdefghijklmnop\"\n*l\nadd $0,$0\nif %0 < 15 inc %0 : goto *l\n" +
          repeat("$0", 40) + "\nend\n"),
     "実行時エラー", "表示文が長すぎます。1048576バイトまでです。", 8},
    {"sub", game("sub $0,1\n"), "構文エラー", "subの第一引数は数字変数です。", 4},
    {"token-too-long", game("mov %0," + repeat("a", 260) + "\n"), "命令エラー",
     "長すぎるトークンです:" + repeat("a", 255), 4},
    {"trap", game("trap start\n"), "エラー", "trap命令のパラメータは、offもしくは*ラベル名です。",
     4},
    {"variable-range", game("mov %0,4000\nadd %0,96\nmov %%0,1\n"), "実行時エラー",
     "変数番号4096は範囲外です。0～4095で指定してください。", 6},
    {"text-past-the-last-line",
     game("setwindow 8,16,23,2,26,26,0,2,0,1,1,#999999,0,0,639,479\nあ\nい\nend\n"), "エラー",
     "文字が枠をはみ出してしまいました。", 6},
    {"text-full-last-line",
     game("setwindow 8,16,3,1,26,26,0,2,0,1,1,#999999,0,0,639,479\nあいう\\\nend\n"), "エラー",
     "文字が枠をはみ出してしまいました。", 5},
    {"text-below-the-screen", game("locate 0,20\nあ\nend\n"), "エラー！",
     "文字がウィンドウからはみ出ました", 5},
    {"text-left-of-the-window",
     game("setwindow 8,16,23,16,26,26,0,2,0,1,1,#999999,10,0,639,479\nあ\nend\n"), "エラー！",
     "文字がウィンドウからはみ出ました", 5},
    {"text-while-textmode-is-off", game("textmode 0\nあ\nend\n"), "エラー！",
     "textmodeが非表示設定なのに文字を書こうとしました。", 5},
    {"text-slash-not-at-the-end", game("あ/い\nend\n"), "エラー",
     "表示文中の、/の次は改行文字でなければなりません。", 4},
    {"text-negative-lines", game("setwindow 8,16,23,-1,26,26,0,2,0,1,1,#999999,0,0,639,479\nend\n"),
     "エラー", "setwindowの縦横文字数指定が間違っています。", 4},
    {"text-negative-columns",
     game("setwindow 8,16,-23,1,26,26,0,2,0,1,1,#999999,0,0,639,479\nend\n"), "エラー",
     "setwindowの縦横文字数指定が間違っています。", 4},
    {"text-cursor-number", game("setcursor 2,\"c.bmp\",0,0\nend\n"), "エラー",
     "カーソルは０（通常）と１（クリック消去用）です。", 4},
    {"text-abs-cursor-number", game("abssetcursor -1,\"c.bmp\",0,0\nend\n"), "エラー",
     "カーソルは０（通常）と１（クリック消去用）です。", 4},
    {"text-cursor-picture-missing", game("setcursor 0,\"none.bmp\",0,0\nend\n"), "ロードエラー",
     "ファイルnone.bmpを開けません。", 4},
    {"text-clickpos-first", game("clickpos 1,%2\nend\n"), "構文エラー",
     "clickposの第一引数は数字変数です。", 4},
    {"text-clickpos-second", game("clickpos %1,$2\nend\n"), "構文エラー",
     "clickposの第ニ引数は数字変数です。", 4},
    {"text-bad-inline-colour", game("あ#12xx56い\nend\n"), "構文エラー",
     "カラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定してください。", 4},
    {"effect-number-50", "*define\neffect 50,10,100\ngame\n*start\nend\n", "パラメータエラー",
     "effect命令の第一パラメータは2～49です。", 2},
    {"effect-number-1", "*define\neffect 1,10,100\ngame\n*start\nend\n", "パラメータエラー",
     "effect命令の第一パラメータは2～49です。", 2},
    {"effect-comma", "*define\neffect 2 10\ngame\n*start\nend\n", "構文エラー",
     "コンマが必要なところにコンマが有りません。", 2},
    {"effect-unregistered", "*define\neffect 2,10,100\ngame\n*start\nbg white,3\nend\n", "エラー",
     "未定義のエフェクトを使いました", 5},
    {"print-50", "*define\ngame\n*start\nprint 50\nend\n", "エラー",
     "未定義のエフェクトを使いました", 4},
    {"print-minus-one", "*define\ngame\n*start\nprint -1\nend\n", "エラー",
     "未定義のエフェクトを使いました", 4},
    {"print-type-19", "*define\ngame\n*start\nprint 19,100\nend\n", "エラー",
     "不正なエフェクト番号です。EFFECT命令をチェックしてください。", 4},
    {"humanz-256", "*define\nhumanz 256\ngame\n*start\nend\n", "エラー", "humanz指定が範囲外です。",
     2},
    {"bg-missing-picture", "*define\ngame\n*start\nbg \"none.bmp\",1\nend\n", "ロードエラー",
     "ファイルnone.bmpを開けません。", 4},
    {"ld-bad-tag", "*define\ngame\n*start\nld c,\":l/3,<100,200>,0;c.bmp\",1\nend\n", "タグエラー",
     "タグの指定がおかしいです。", 4},
    {"ld-dotted-name", "*define\ngame\n*start\nld c,\"c.b.bmp\",1\nend\n", "ロードエラー",
     "ファイルc.b.bmpを開けません。", 4},
    {"ld-not-a-picture", "*define\ngame\n*start\nld c,\"bad.bmp\",1\nend\n", "エラー",
     "ロード失敗!", 4},
    {"transmode-word", "*define\ntransmode sideways\ngame\n*start\nend\n", "構文エラー",
     "不正な命令\"transmode\"です。", 2},
    {"bg-bad-colour", "*define\ngame\n*start\nbg #12345g,1\nend\n", "構文エラー",
     "カラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定してください。", 4},
    // btndef, btn, btnwait, btnwait2, tbtnwait, monocro, quakex
    {"btnwait-string", game("btnwait $0\n"), "構文エラー", "btnwaitの第一引数は数字変数です。", 4},
    {"btnwait2-string", game("btnwait2 0\n"), "構文エラー", "btnwaitの第一引数は数字変数です。", 4},
    {"tbtnwait-string", game("tbtnwait $0\n"), "構文エラー", "tbtnwaitの第一引数は数字変数です。",
     4},
    {"btn-comma", game("btn 1,0,0,10 10,0,0\n"), "構文エラー",
     "コンマが必要なところにコンマが有りません。", 4},
    {"btn-257th", game(numbered("btn ", ",0,0,1,1,0,0", 257)), "エラー",
     "ボタンが多すぎます。btn命令で定義できるボタンは256個までです。", 260},
    {"btndef-missing-picture", game("btndef \"none.bmp\"\n"), "ロードエラー",
     "ファイルnone.bmpを開けません。", 4},
    {"monocro-word", game("monocro often\n"), "構文エラー",
     "monocro命令の次は#rrggbbで色指定、もしくは、offでモノクロ指定を解除、です。", 4},
    {"monocro-nothing", game("monocro\n"), "構文エラー",
     "monocro命令の次は#rrggbbで色指定、もしくは、offでモノクロ指定を解除、です。", 4},
    {"monocro-bad-colour", game("monocro #12345g\n"), "構文エラー",
     "カラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定してください。", 4},
    {"quakex-comma", game("quakex 2 100\n"), "構文エラー",
     "コンマが必要なところにコンマが有りません。", 4},

    // rmenu, systemcall, menuselectcolor, menusetwindow, lookbackcolor
    {"rmenu-word", "*define\nrmenu \"a\",lookback,\"b\",title\ngame\n", "エラー",
     "rmenu命令へのパラメータが間違っています。", 2},
    {"rmenu-51-entries", "*define\nrmenu " + repeat("\"a\",skip,", 50) + "\"b\",skip\ngame\n",
     "エラー", "rmenuの項目が多すぎます。50個までです。", 2},
    {"rmenu-past-the-screen", "*define\nrmenu " + repeat("\"a\",skip,", 16) + "\"b\",skip\ngame\n",
     "エラー", "rmenuの項目が画面に入りきりません。", 2},
    {"menusetwindow-pushes-the-menu-off",
     "*define\nrmenu \"a\",skip,\"b\",skip\n"
     "menusetwindow 26,26,0,250,0,0,#999999\ngame\n",
     "エラー", "rmenuの項目が画面に入りきりません。", 3},
    {"menusetwindow-tint", "*define\nmenusetwindow 26,26,0,2,0,0,999999\ngame\n", "構文エラー",
     "カラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定してください。", 2},
    {"systemcall-word", game("systemcall title\n"), "エラー",
     "systemcall命令へのパラメータが間違っています。", 4},
    {"menuselectcolor", "*define\nmenuselectcolor #ffffff,aaaaaa,#555599\ngame\n", "エラー",
     "menuselectcolorのパラメータが違います。", 2},
    {"lookbackcolor", "*define\nlookbackcolor ffff40\ngame\n", "エラー",
     "lookbackcolorのパラメータは#rrggbbの色指定です。", 2},
    // Sprites: lsp, lsph, csp, vsp, msp, and the loop mode of an animated picture's tag.
    {"vsp-undefined-sprite", game("vsp 3,1\n"), "エラー",
     "定義されていないスプライト3を使おうとしました。", 4},
    {"msp-undefined-sprite", game("msp 255,1,1\n"), "エラー",
     "定義されていないスプライト255を使おうとしました。", 4},
    {"lsp-256", game("lsp 256,\"a.bmp\",0,0\n"), "パラメータエラー",
     "スプライト番号256は範囲外です。0～255で指定してください。", 4},
    {"lsph-minus-one", game("lsph -1,\"a.bmp\",0,0\n"), "パラメータエラー",
     "スプライト番号-1は範囲外です。0～255で指定してください。", 4},
    {"csp-minus-two", game("csp -2\n"), "パラメータエラー",
     "スプライト番号-2は範囲外です。-1～255で指定してください。", 4},
    {"vsp-256", game("vsp 256,1\n"), "パラメータエラー",
     "スプライト番号256は範囲外です。0～255で指定してください。", 4},
    {"msp-minus-one", game("msp -1,0,0\n"), "パラメータエラー",
     "スプライト番号-1は範囲外です。0～255で指定してください。", 4},
    {"lsp-loop-mode-3", game("lsp 0,\":l/3,100,3;c.bmp\",0,0\n"), "タグエラー",
     "ループ指定3は範囲外です。0～2で指定してください。", 4},
    {"lsp-number-for-picture", game("lsp 0,5,0,0\n"), "構文エラー",
     "文字列が来るべきところに文字列がありません。", 4},
    {"lsp-no-position", game("lsp 0,\"a.bmp\"\n"), "構文エラー",
     "コンマが必要なところにコンマが有りません。", 4},
    {"msp-word-for-offset", game("msp 0,\"a\",1\n"), "構文エラー",
     "数字がくるべきところに数字がありません。", 4},
    // Sound: play, wave, mp3, soundpressplgin.
    {"sound-file-missing", game("wave \"none.wav\"\n"), "ロードエラー",
     "ファイルnone.wavを開けません。", 4},
    {"mp3-file-missing", game("mp3loop \"none.mp3\"\n"), "ロードエラー",
     "ファイルnone.mp3を開けません。", 4},
    {"sound-extension-unregistered", game("play \"bad.bmp\"\n"), "ロードエラー",
     "ファイルbad.bmpを開けません。", 4},
    {"cd-without-tracks", game("play \"*3\"\n"), "エラー",
     "総トラック数が取得できません。恐らくCDが入っていません。", 4},
    {"soundpressplgin-without-bar", "*define\nsoundpressplgin \"a.dll\"\ngame\n", "エラー",
     "Sound press plug-in設定\"a.dll\"に|がありません。", 2},
    {"soundpressplgin-too-many",
     "*define\n" + repeat("soundpressplgin \"a.dll|x\"\n", 51) + "game\n", "エラー",
     "Sound press plug-in設定が多すぎます。", 52},
    // Packed files: spi, arc.
    {"spi-too-many", "*define\n" + repeat("spi \"a.spi|png\"\n", 51) + "game\n", "エラー",
     "SPI設定が多すぎます。", 52},
    {"arc-too-many", "*define\n" + repeat("arc \"a.zip|a.dll\"\n", 51) + "game\n", "エラー",
     "SPI設定が多すぎます。", 52},
    {"arc-without-bar", "*define\narc \"a.zip\"\ngame\n", "エラー",
     "SPI設定\"a.zip\"に|がありません。", 2},
    // inputstr, inputnum
    {"inputstr-number-variable", game("inputstr %0,\"a\",6,0\n"), "構文エラー",
     "inputstrの第一引数は文字変数です。", 4},
    {"inputnum-string-variable", game("inputnum $0,\"a\"\n"), "構文エラー",
     "inputnumの第一引数は数字変数です。", 4},
    {"inputstr-three-sizes", game("inputstr $0,\"a\",6,0,100,40,80\n"), "構文エラー",
     "コンマが必要なところにコンマが有りません。", 4},
    {"inputnum-in-define", "*define\ninputnum %0,\"a\"\ngame\n", "構文エラー",
     "不正な命令\"inputnum\"です。", 2},
    // Save slots: savenumber, savename.
    {"savenumber-0", "*define\nsavenumber 0\ngame\n", "エラー",
     "savenumberのセーブ数0は範囲外です。1～20で指定してください。", 2},
    {"savenumber-21", "*define\nsavenumber 21\ngame\n", "エラー",
     "savenumberのセーブ数21は範囲外です。1～20で指定してください。", 2},
    {"savename-two-names", "*define\nsavename \"a\",\"b\"\ngame\n", "構文エラー",
     "コンマが必要なところにコンマが有りません。", 2},
    // Video: avi.
    {"avi-missing-file", game("avi \"none.avi\",0\n"), "ロードエラー",
     "ファイルnone.aviを開けません。", 4},
    {"avi-not-a-video", game("avi \"bad.bmp\",1\n"), "AVI Error 1",
     "動画bad.bmpを開けません。壊れているか、読めない形式です。", 4},
    {"avi-without-comma", game("avi \"none.avi\"\n"), "構文エラー",
     "コンマが必要なところにコンマが有りません。", 4},
};

class ScenarioError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ScenarioError, EndsTheRunWithItsReport) {
    const ErrorCase& c = GetParam();
    Harness h;
    // Pictures some rows load: one that is not a BMP, and one whose name has two dots.
    h.file("bad.bmp", "BM not a picture");
    h.file("c.b.bmp", test::bmp24(2, 2, [](int, int) { return 0u; }));
    EXPECT_EQ(h.run(c.scenario), 2);
    std::string head = "[" + std::string(c.caption) + "] " + c.message +
                       "\n\n0.txt line:" + std::to_string(c.line) + "\n";
    // Without an excerpt to check, the report only has to begin with the head.
    const std::string log = h.log();
    EXPECT_EQ(c.excerpt ? log : log.substr(0, head.size()),
              c.excerpt ? head + c.excerpt + "\n" : head);
    EXPECT_TRUE(h.engine().shell.shuttingDown);
}

INSTANTIATE_TEST_SUITE_P(All, ScenarioError, ::testing::ValuesIn(kCases), test::CaseName());

} // namespace
