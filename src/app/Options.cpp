#include "app/Options.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "common/EngineString.h"
#include "shell/SettingsTable.h"

const char* const kUsage =
    "Usage: quelmont [option]\n"
    "Screensaver modes:\n"
    "  /s, /S, -s            run the screensaver full screen (also with no known letter)\n"
    "  /t                    test mode (same as /s)\n"
    "  /p ID, /p:ID          preview inside the window with the given id\n"
    "  /c [ID], or nothing   show the configuration dialog\n"
    "  /a ID                 change password (not supported: exits with 0)\n"
    "Desktop screensaver hosts:\n"
    "  -root                 draw on the host's window ($XSCREENSAVER_WINDOW) or the root window\n"
    "  -window-id ID         draw inside the window with the given id (hex 0x... or decimal)\n"
    "                        (also --root, --window-id; SIGTERM ends the saver cleanly)\n"
    "Offscreen recording (no display needed; the options below need --record):\n"
    "  --record DIR          record frames (frame-NNNNN.png), trace.log and sound.wav into DIR\n"
    "  --seconds S           length of the recording in seconds (default 5)\n"
    "  --size WxH            frame size (default 1024x768)\n"
    "  --fps F               frames per second of the simulated clock (default 30)\n"
    "  --time HH:MM:SS       local time shown by the clock (default: now)\n"
    "  --seed N              random seed (default 1)\n"
    "  --soak                long run: no frame or sound files, a device loss every simulated\n"
    "                        minute, the memory in use each simulated minute on stdout\n"
    "  --set NAME=VALUE      a setting for the recording (repeatable): UseDesktop, ShowFps, Width\n"
    "                        and Height (1..16384), Depth (8..32), Adapter (0..63), Gamma\n"
    "                        (-100..100), Volume (0..100), Music, Sound, ExitOnMM, ShowTime,\n"
    "                        TimeStyle (switches take 0 or 1)\n"
    "Saver and recording:\n"
    "  --path NAME           start with this camera path (e.g. c3.cam) instead of a random one\n"
    "Setting up:\n"
    "  --add-to-xscreensaver add the saver to XScreenSaver's list in ~/.xscreensaver (once;\n"
    "                        the file as it was is kept in ~/.xscreensaver.before-quelmont)\n"
    "Other:\n"
    "  --version             the program's version\n"
    "  --help, -h            this text\n"
    "Environment: QUELMONT_TRACE=path appends the trace to that file.\n";

namespace {

bool ParseInt(std::string_view text, int& out, int min, int max) {
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || value < min || value > max) return false;
    out = value;
    return true;
}

bool ParseSize(std::string_view text, int& width, int& height) {
    const size_t x = text.find('x');
    return x != std::string_view::npos && ParseInt(text.substr(0, x), width, 16, 8192) &&
           ParseInt(text.substr(x + 1), height, 16, 8192);
}

bool ParseTimeOfDay(std::string_view text, int& seconds) {
    int h = 0, m = 0, s = 0;
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') return false;
    if (!ParseInt(text.substr(0, 2), h, 0, 23) || !ParseInt(text.substr(3, 2), m, 0, 59) ||
        !ParseInt(text.substr(6, 2), s, 0, 59))
        return false;
    seconds = h * 3600 + m * 60 + s;
    return true;
}

// NAME=VALUE for a value of the settings record, within its range; an error text otherwise.
std::string ParseSetting(std::string_view text, std::pair<std::string, int32_t>& out) {
    const size_t equals = text.find('=');
    const std::string_view name = text.substr(0, equals);
    const SettingField* field = nullptr;
    for (const SettingField& f : kSettingFields)
        if (EqualsIgnoreCase(f.name, name)) field = &f;
    if (!field) return "unknown setting in --set " + std::string(text);
    const int32_t min = field->IsSwitch() ? 0 : field->min, max = field->IsSwitch() ? 1 : field->max;
    int value = 0;
    if (equals == std::string_view::npos || !ParseInt(text.substr(equals + 1), value, min, max))
        return "bad value in --set " + std::string(text) + ": " + field->name + " takes " + std::to_string(min) +
               " to " + std::to_string(max);
    out = {field->name, value};
    return {};
}

}  // namespace

bool ParseWindowId(std::string_view text, uint64_t& id) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    uint64_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || value == 0) return false;
    id = value;
    return true;
}

HostChoice ChooseHostWindow(const Options& options, const char* hostEnvironment) {
    HostChoice choice;
    if (options.windowId != 0) {
        choice.window = options.windowId;
    } else if (hostEnvironment && *hostEnvironment) {
        if (!ParseWindowId(hostEnvironment, choice.window))
            choice.error = std::string("bad window id in XSCREENSAVER_WINDOW: ") + hostEnvironment;
    } else {
        choice.root = options.root;
    }
    return choice;
}

Options ParseOptions(int argc, const char* const* argv) {
    Options options;
    RecordOptions& r = options.record;
    // A recording's option on any other run would be passed over without a word.
    std::string_view recordingOnly;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--version") {
            options.version = true;
            continue;
        }
        if (arg == "--add-to-xscreensaver") {
            options.addToXScreenSaver = true;
            continue;
        }
        if (arg == "--soak") {
            r.soak = true;
            if (recordingOnly.empty()) recordingOnly = arg;
            continue;
        }
        if (arg == "-root" || arg == "--root") {
            options.root = true;
            continue;
        }
        const bool windowId = arg == "-window-id" || arg == "--window-id";
        const bool takesValue = arg == "--record" || arg == "--seconds" || arg == "--size" || arg == "--fps" ||
                                arg == "--time" || arg == "--seed" || arg == "--path" || arg == "--set" || windowId;
        if (!takesValue) continue;
        if (i + 1 >= argc) {
            options.error = std::string(arg) + " needs a value";
            return options;
        }
        const std::string_view value = argv[++i];
        if (!windowId && arg != "--record" && arg != "--path" && recordingOnly.empty()) recordingOnly = arg;
        bool ok = true;
        int seed = 0;
        if (arg == "--set") {
            std::pair<std::string, int32_t> setting;
            options.error = ParseSetting(value, setting);
            if (!options.error.empty()) return options;
            r.settings.push_back(std::move(setting));
            continue;
        }
        if (windowId) ok = ParseWindowId(value, options.windowId);
        else if (arg == "--record") r.directory = value, ok = !value.empty();
        else if (arg == "--seconds") ok = ParseInt(value, r.seconds, 1, 7 * 86400);
        else if (arg == "--size") ok = ParseSize(value, r.width, r.height);
        else if (arg == "--fps") ok = ParseInt(value, r.fps, 1, 240);
        else if (arg == "--time") ok = ParseTimeOfDay(value, r.timeOfDaySeconds);
        else if (arg == "--path") r.path = value, ok = !value.empty();
        else if (arg == "--seed") ok = ParseInt(value, seed, 0, 0x7FFFFFFF), r.seed = static_cast<uint32_t>(seed);
        if (!ok) {
            options.error = "bad value for " + std::string(arg) + ": " + std::string(value);
            return options;
        }
    }
    if (!recordingOnly.empty() && r.directory.empty())
        options.error = std::string(recordingOnly) + " is for recordings: it needs --record DIR";
    return options;
}

std::string BuildCommandLine(int argc, const char* const* argv) {
    std::string line = "\"";
    line += argc > 0 ? argv[0] : "quelmont";
    line += "\"";
    for (int i = 1; i < argc; ++i) {
        const bool quote = std::strchr(argv[i], ' ') != nullptr;
        line += quote ? " \"" : " ";
        line += argv[i];
        if (quote) line += "\"";
    }
    return line;
}

std::optional<int> AnswerHelpOrError(const Options& options) {
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "quelmont: %s\n%s", options.error.c_str(), kUsage);
        return 2;
    }
    return std::nullopt;
}
