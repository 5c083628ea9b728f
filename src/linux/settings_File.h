// The settings file of the X11 front end: $XDG_CONFIG_HOME/quorvex/settings,
// ten `Name=value` lines with the registry value names and the same decimal
// text the Windows saver stores. It is read through the core settings store
// (LoadSettings over a SettingsRegistry), so both platforms read a value the
// same way.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "UTypes.h"
#include "settings.h"

namespace quorvex::linux_host {

// Where the file lives, from the values of XDG_CONFIG_HOME and HOME (null
// when unset). A relative XDG_CONFIG_HOME is ignored, as the XDG rules say.
// Empty when neither gives an absolute directory.
std::string SettingsFilePath(const char* xdgConfigHome, const char* home);
// The same, from the process environment (and the password database when
// HOME is unset).
std::string DefaultSettingsFilePath();

// The stored text of each setting, in field order; unset when the file has
// no usable line for it.
using StoredValues = std::array<std::optional<std::string>, SettingCount>;

// True for exactly the texts IntToDecimal produces ("0", "17", "/" for -1),
// so a hand-edited "-1", "07" or "1a" is not silently read as something else.
bool IsStoredDecimalText(std::string_view text);

// Reads the lines of a settings file. Blank lines and lines starting with '#'
// are skipped; a line without '=', with an unknown name or with a value that
// is not stored decimal text adds one warning (one line, no newline) and is
// otherwise ignored. Spaces around name and value and a trailing CR are
// allowed. A later line for the same name wins.
StoredValues ParseSettingsText(std::string_view text, std::vector<std::string>& warnings);

// The file's text for the given settings: the ten lines in field order.
std::string SettingsText(const SaverSettings& s);

// Defaults, then the file. A missing file is not an error; an unreadable one
// gives a warning and the defaults.
SaverSettings LoadSettingsFile(const std::string& path, std::vector<std::string>& warnings);

// Writes the ten lines through a temporary file in the same directory and a
// rename, creating the directory when needed, so a reader sees the old file
// or the new one, never a part. False with a one-line error on failure.
bool SaveSettingsFile(const std::string& path, const SaverSettings& s, std::string& error);

// The store's view of the parsed lines: a value exists when its line did.
class StoredValuesRegistry final : public SettingsRegistry {
public:
    explicit StoredValuesRegistry(StoredValues& values) : values_(values) {}
    bool OpenKey() override { return true; }
    bool CreateKey() override { return true; }
    long QueryValue(const char* name, uint8_t* data, uint32_t* length) override;
    void SetValue(const char* name, const char* text, uint32_t length) override;
    void CloseKey() override {}

private:
    StoredValues& values_;
};

}  // namespace quorvex::linux_host
