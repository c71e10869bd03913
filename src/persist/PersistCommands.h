// The definition-block switches of the files that outlive a run, and what the engine does with
// those files at its start and at the end of the program.
#pragma once

namespace orv {

struct Engine;

void cmdGlobalon(Engine& engine);
void cmdFilelog(Engine& engine);

// A new engine pass: both switches off, the globals from "gloval.sav".
void startPersistPass(Engine& engine);
// After the definition block: the read-file log from its file when `filelog` was given.
void afterPersistDefinitions(Engine& engine);

} // namespace orv
