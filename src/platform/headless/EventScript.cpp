#include "platform/headless/EventScript.h"

#include "platform/Platform.h"
#include "util/sjis.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

namespace {

bool isLineBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isLineBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isLineBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Cuts a comment: '#' at the start of the line or after white space.
std::string_view stripComment(std::string_view s) {
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '#' && (i == 0 || isLineBlank(s[i - 1]))) return s.substr(0, i);
    }
    return s;
}

std::vector<std::string_view> split(std::string_view s) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && isLineBlank(s[i])) ++i;
        size_t start = i;
        while (i < s.size() && !isLineBlank(s[i])) ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

template <typename T> bool parseNumber(std::string_view s, T& out) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

// Decodes strict UTF-8 (no overlong forms, no surrogates); false when invalid.
bool decodeUtf8(std::string_view s, std::u32string& out) {
    out.clear();
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int extra;
        char32_t cp;
        char32_t min;
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, cp = c & 0x1F, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, cp = c & 0x0F, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, cp = c & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (i + size_t(extra) >= s.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        out.push_back(cp);
        i += size_t(extra) + 1;
    }
    return true;
}

// Keys written by name beyond space, enter and escape: event false types a character.
struct NamedKey {
    std::string_view name;
    int code;
    bool event;
};
constexpr NamedKey kNamedKeys[] = {
    {"tab", 9, false},
    {"up", kKeyUp, true},
    {"down", kKeyDown, true},
    {"left", kKeyLeft, true},
    {"right", kKeyRight, true},
    {"backtab", kKeyBackTab, true},
    {"f11", kKeyFullScreen, true},
    {"alt+enter", kKeyFullScreen, true},
    {"f12", kKeyScreenshot, true},
};

const NamedKey* namedKey(std::string_view word) {
    for (const NamedKey& key : kNamedKeys)
        if (equalsIgnoreCase(word, key.name)) return &key;
    return nullptr;
}

struct LineParser {
    int line;
    std::string& error;

    bool fail(const std::string& reason) {
        error = "events file " + std::to_string(line) + ": " + reason;
        return false;
    }

    bool position(std::string_view name, const std::vector<std::string_view>& args, ScriptEvent& ev,
                  bool optional) {
        if (args.empty() && optional) return true;
        if (args.size() != 2) {
            return fail(std::string(name) +
                        (optional ? " takes no argument or X Y" : " takes X Y"));
        }
        if (!parseNumber(args[0], ev.x)) return fail("bad X '" + std::string(args[0]) + "'");
        if (!parseNumber(args[1], ev.y)) return fail("bad Y '" + std::string(args[1]) + "'");
        ev.hasPosition = true;
        return true;
    }

    bool parse(std::string_view raw, ScriptEvent& ev, bool& empty) {
        std::string_view body = trim(stripComment(raw));
        empty = body.empty();
        if (empty) return true;
        size_t nameEnd = 0;
        while (nameEnd < body.size() && !isLineBlank(body[nameEnd])) ++nameEnd;
        std::string_view name = body.substr(0, nameEnd);
        std::string_view rest = trim(body.substr(nameEnd));
        std::vector<std::string_view> args = split(rest);
        ev.line = line;

        if (equalsIgnoreCase(name, "click") || equalsIgnoreCase(name, "rclick")) {
            ev.kind =
                equalsIgnoreCase(name, "click") ? ScriptEventKind::Click : ScriptEventKind::RClick;
            return position(name, args, ev, true);
        }
        if (equalsIgnoreCase(name, "move")) {
            ev.kind = ScriptEventKind::Move;
            return position(name, args, ev, false);
        }
        if (equalsIgnoreCase(name, "key")) {
            ev.kind = ScriptEventKind::Key;
            // "key #" types the character: a lone '#' cannot be meant as a
            // comment since key needs an argument.
            if (args.empty() && trim(raw).size() > name.size()) {
                std::string_view after = trim(trim(raw).substr(name.size()));
                if (!after.empty() && after.front() == '#') args = split(after.substr(0, 1));
            }
            if (args.size() != 1)
                return fail("key takes one key: space, enter, escape or a character");
            std::string_view k = args[0];
            if (const NamedKey* named = namedKey(k)) {
                ev.code = named->code;
                ev.namedKey = named->event;
            } else if (equalsIgnoreCase(k, "space")) {
                ev.code = 32;
            } else if (equalsIgnoreCase(k, "enter")) {
                ev.code = 13;
            } else if (equalsIgnoreCase(k, "escape")) {
                ev.code = 27;
            } else if (equalsIgnoreCase(k, "tab")) {
                ev.code = 9;
            } else {
                std::u32string cps;
                if (!decodeUtf8(k, cps)) return fail("key: invalid UTF-8");
                if (cps.size() != 1) {
                    return fail("unknown key '" + std::string(k) +
                                "' (space, enter, escape or one character)");
                }
                ev.code = int(cps[0]);
            }
            return true;
        }
        if (equalsIgnoreCase(name, "wheel")) {
            ev.kind = ScriptEventKind::Wheel;
            if (args.size() == 1 && equalsIgnoreCase(args[0], "up")) {
                ev.code = kWheelUp;
            } else if (args.size() == 1 && equalsIgnoreCase(args[0], "down")) {
                ev.code = kWheelDown;
            } else {
                return fail("wheel takes up or down");
            }
            return true;
        }
        if (equalsIgnoreCase(name, "hold") || equalsIgnoreCase(name, "release")) {
            ev.kind = ScriptEventKind::Hold;
            if (args.size() != 1 || !equalsIgnoreCase(args[0], "ctrl"))
                return fail(std::string(name) + " takes the key: ctrl");
            ev.code = equalsIgnoreCase(name, "hold") ? 1 : 0;
            return true;
        }
        if (equalsIgnoreCase(name, "menu")) {
            ev.kind = ScriptEventKind::Menu;
            if (args.size() != 1) return fail("menu takes one command id");
            if (!parseNumber(args[0], ev.code)) {
                return fail("bad menu id '" + std::string(args[0]) + "'");
            }
            return true;
        }
        if (equalsIgnoreCase(name, "text")) {
            ev.kind = ScriptEventKind::Text;
            if (rest.empty()) return fail("text needs the text to type");
            if (!decodeUtf8(rest, ev.text)) return fail("text: invalid UTF-8");
            return true;
        }
        if (equalsIgnoreCase(name, "answer")) {
            ev.kind = ScriptEventKind::Answer;
            if (args.size() != 1) return fail("answer takes yes, no or ok");
            if (equalsIgnoreCase(args[0], "yes")) {
                ev.answer = ScriptAnswer::Yes;
            } else if (equalsIgnoreCase(args[0], "no")) {
                ev.answer = ScriptAnswer::No;
            } else if (equalsIgnoreCase(args[0], "ok")) {
                ev.answer = ScriptAnswer::Ok;
            } else {
                return fail("bad answer '" + std::string(args[0]) + "' (yes, no or ok)");
            }
            return true;
        }
        if (equalsIgnoreCase(name, "wait")) {
            ev.kind = ScriptEventKind::Wait;
            if (args.size() != 1) return fail("wait takes a time in milliseconds");
            if (!parseNumber(args[0], ev.ms) || ev.ms > std::numeric_limits<uint32_t>::max()) {
                return fail("bad wait time '" + std::string(args[0]) + "'");
            }
            return true;
        }
        if (equalsIgnoreCase(name, "shot")) {
            ev.kind = ScriptEventKind::Shot;
            if (rest.empty()) return fail("shot needs a file name");
            ev.file = std::string(rest);
            return true;
        }
        return fail("unknown event '" + std::string(name) + "'");
    }
};

} // namespace

bool parseEventScript(std::string_view text, std::vector<ScriptEvent>& out, std::string& error) {
    out.clear();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int line = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        ++line;
        LineParser parser{line, error};
        ScriptEvent ev;
        bool empty = false;
        if (!parser.parse(text.substr(pos, end - pos), ev, empty)) return false;
        if (!empty) out.push_back(std::move(ev));
        pos = end + 1;
    }
    return true;
}

bool loadEventScript(const std::string& path, std::vector<ScriptEvent>& out, std::string& error) {
    const std::string name = "events file '" + path + "'";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot read " + name + ": " + std::strerror(errno);
        return false;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = "cannot read " + name + ": " + std::strerror(errno);
        return false;
    }
    // A pipe is how a shell hands over a generated script; a device or a directory is a
    // mistake that would read nothing or never end.
    if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode)) {
        error = name + " is not a regular file or a pipe";
        return false;
    }
    auto tooLarge = [&] {
        error = name + " is larger than " + std::to_string(kMaxEventScriptBytes >> 20) + " MiB";
        return false;
    };
    if (S_ISREG(st.st_mode) && uint64_t(st.st_size) > kMaxEventScriptBytes) return tooLarge();
    // A pipe has no size to check first: read at most one byte past the limit.
    std::string text;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = "cannot read " + name + ": " + std::strerror(errno);
            return false;
        }
        if (n == 0) break;
        if (text.size() + size_t(n) > kMaxEventScriptBytes) return tooLarge();
        text.append(chunk, size_t(n));
    }
    return parseEventScript(text, out, error);
}

std::string formatEvent(const ScriptEvent& event) {
    std::string line;
    switch (event.kind) {
    case ScriptEventKind::Text:
        line = "text ";
        for (char32_t c : event.text) sjis::appendUtf8(line, c);
        return line;
    case ScriptEventKind::Key:
        for (const NamedKey& key : kNamedKeys)
            if (key.code == event.code && key.event == event.namedKey)
                return "key " + std::string(key.name);
        if (event.code == 13) return "key enter";
        if (event.code == 27) return "key escape";
        if (event.code == 32) return "key space";
        if (event.code == 9) return "key tab";
        line = "key ";
        sjis::appendUtf8(line, char32_t(event.code));
        return line;
    default:
        line = event.kind == ScriptEventKind::RClick ? "rclick" : "click";
        if (event.hasPosition)
            line += " " + std::to_string(event.x) + " " + std::to_string(event.y);
        return line;
    }
}

} // namespace orv
