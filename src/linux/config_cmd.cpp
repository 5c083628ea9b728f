// `quorvex config`: shows the settings in force, or changes stored ones.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "frontend.h"
#include "options.h"
#include "settings_File.h"

namespace quorvex::linux_host {

namespace {

const char* ConfigUsage() {
    return "Usage: quorvex config [--set Name=Value]... [--path]\n"
           "\n"
           "Without options, prints the settings in force (the file over the defaults)\n"
           "as Name=value lines. --set changes one stored setting; the names are\n"
           "ShowFPS, UnSortPoints, MouseSens, Move3D, PrimitivePoints, HuesOfGray,\n"
           "Trace, ShowClock (0 or 1), TraceModeInd (0 simple, 1 diffusion, 2 fire)\n"
           "and TraceLength (0 to 3). --path prints where the file is.\n";
}

struct Change {
    int index;
    int32_t value;
};

// "Name=Value" with a value the configuration dialog could produce.
bool ParseChange(const char* text, Change& change, std::string& error) {
    const char* eq = std::strchr(text, '=');
    if (eq == nullptr) {
        error = "--set wants Name=Value, not " + QuoteArgument(text);
        return false;
    }
    std::string name(text, eq);
    int index = SettingIndex(name.c_str());
    if (index < 0) {
        error = "unknown setting " + QuoteArgument(name.c_str());
        return false;
    }
    int32_t highest = 1;
    if (name == "TraceModeInd") highest = 2;
    if (name == "TraceLength") highest = 3;
    const char* v = eq + 1;
    if (v[0] < '0' || v[0] > '0' + highest || v[1] != '\0') {
        error = "bad value " + QuoteArgument(v) + " for " + name + " (want 0 to " + std::to_string(highest) + ")";
        return false;
    }
    change = Change{index, v[0] - '0'};
    return true;
}

int Bad(const std::string& line) {
    std::fprintf(stderr, "quorvex config: %s\n", line.c_str());
    return 2;
}

}  // namespace

int RunConfig(int argc, char** argv) {
    std::vector<Change> changes;
    bool showPath = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::fputs(ConfigUsage(), stdout);
            return 0;
        }
        if (std::strcmp(arg, "--path") == 0) {
            showPath = true;
            continue;
        }
        const char* value = nullptr;
        if (std::strcmp(arg, "--set") == 0) {
            if (i + 1 >= argc) return Bad("missing Name=Value after --set");
            value = argv[++i];
        } else if (std::strncmp(arg, "--set=", 6) == 0) {
            value = arg + 6;
        } else {
            return Bad("unknown option " + QuoteArgument(arg) + " (try --help)");
        }
        Change change{};
        std::string error;
        if (!ParseChange(value, change, error)) return Bad(error);
        changes.push_back(change);
    }

    const std::string path = DefaultSettingsFilePath();
    if (showPath) {
        if (path.empty()) return Bad("no home directory to keep the settings in");
        std::printf("%s\n", path.c_str());
        if (changes.empty()) return 0;
    }
    std::vector<std::string> warnings;
    SaverSettings settings = LoadSettingsFile(path, warnings);
    for (const std::string& w : warnings) std::fprintf(stderr, "quorvex: warning: %s\n", w.c_str());
    if (changes.empty()) {
        std::fputs(SettingsText(settings).c_str(), stdout);
        return 0;
    }
    for (const Change& c : changes) SetSettingValue(settings, c.index, c.value);
    std::string error;
    if (!SaveSettingsFile(path, settings, error)) {
        std::fprintf(stderr, "quorvex config: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace quorvex::linux_host
