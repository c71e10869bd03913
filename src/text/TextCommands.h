// The scenario commands of the text window and its pace.
#pragma once

namespace orv {

struct Engine;

// `game` ends the definition block and takes the script's face for the text.
void takeScriptFace(Engine& engine);

void cmdSetwindow(Engine& engine);
void cmdDefaultfont(Engine& engine);
void cmdLinkcolor(Engine& engine);
void cmdLocate(Engine& engine);
void cmdPuttext(Engine& engine);
void cmdBr(Engine& engine);
void cmdTextoff(Engine& engine);
void cmdTexton(Engine& engine);
void cmdTextclear(Engine& engine);
void cmdTextmode(Engine& engine);
void cmdErasetextwindow(Engine& engine);

void cmdDefaultspeed(Engine& engine);
void cmdTextspeed(Engine& engine);
void cmdClickstr(Engine& engine);
void cmdClickvoice(Engine& engine);
void cmdSetcursor(Engine& engine);
void cmdAbssetcursor(Engine& engine);
void cmdAutoclick(Engine& engine);
void cmdClick(Engine& engine);
void cmdClickpos(Engine& engine);

} // namespace orv
