// Loads the saver's settings from this user's registry exactly as the saver
// does and prints them as "Name=value" lines in field order. With "save" it
// first stores the given Name=value pairs over the loaded ones through the
// saver's own store, then prints what a fresh load returns.
//
// Usage: settings_dump.exe [save Name=value ...]
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings.h"
#include "settings_Win32.h"

using namespace quorvex;

int main(int argc, char** argv) {
    win32::RegistrySettings registry;
    if (argc > 1 && std::strcmp(argv[1], "save") == 0) {
        SaverSettings s = LoadSettings(registry);
        for (int i = 2; i < argc; ++i) {
            const char* eq = std::strchr(argv[i], '=');
            if (eq == nullptr) return 2;
            std::string name(argv[i], static_cast<size_t>(eq - argv[i]));
            const int index = SettingIndex(name.c_str());
            if (index < 0) return 2;
            SetSettingValue(s, index, std::atoi(eq + 1));
        }
        SaveSettings(registry, s);
    }
    const SaverSettings loaded = LoadSettings(registry);
    for (int i = 0; i < SettingCount; ++i) {
        std::printf("%s=%ld\n", SettingNames[i], static_cast<long>(GetSettingValue(loaded, i)));
    }
    return 0;
}
