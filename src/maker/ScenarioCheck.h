// --check: the mistakes a scenario holds, found by reading it as the loader, the label table and
// the token readers do, without playing it.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace orv {

class GameFs;
class ScriptBuffer;

enum class Severity { Error, Warning };

struct Finding {
    Severity severity = Severity::Error;
    std::string code;    // a short stable name of the kind of mistake, e.g. "missing-label"
    std::string file;    // "0.txt"
    int line = 0;        // the line the runtime's error report would name
    std::string message; // UTF-8
};

// Every finding in the loaded scenario, in scenario order. Files are looked up in fs.
std::vector<Finding> checkScenario(const ScriptBuffer& buffer, const GameFs& fs);

// "FILE:LINE: error: MESSAGE" or one JSON object, without the line end.
std::string formatFinding(const Finding& finding, bool json);

// The whole command: loads the scenario of gameDir, prints the findings on out and returns the
// exit status (0 no error, 2 an error, 1 when there is no scenario to check, said on err).
int runCheck(const std::string& gameDir, bool json, std::ostream& out, std::ostream& err);

} // namespace orv
