// Reading and writing the settings file; see settings_File.h.
#include "settings_File.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "options.h"

namespace quorvex::linux_host {

namespace {

// A real file is about 150 bytes; anything far larger is not one of ours.
constexpr size_t MaxFileSize = 64 * 1024;
// A file of garbage should not flood the terminal.
constexpr size_t MaxLineWarnings = 10;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::string Shown(std::string_view s) { return QuoteArgument(std::string(s).c_str()); }

std::string SystemError(const char* what, const std::string& path, int err) {
    return std::string(what) + " " + QuoteArgument(path.c_str()) + ": " + std::strerror(err);
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// mkdir -p for the file's directory; new directories are private, as the
// XDG rules ask for the configuration home.
bool MakeDirectories(const std::string& dir, std::string& error) {
    if (dir.empty()) return true;
    struct stat st;
    if (stat(dir.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return true;
        error = SystemError("cannot use", dir, ENOTDIR);
        return false;
    }
    size_t slash = dir.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(dir.substr(0, slash), error)) return false;
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        error = SystemError("cannot create", dir, errno);
        return false;
    }
    return true;
}

}  // namespace

std::string SettingsFilePath(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') return std::string(xdgConfigHome) + "/quorvex/settings";
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.config/quorvex/settings";
    return std::string();
}

std::string DefaultSettingsFilePath() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        if (const passwd* pw = getpwuid(getuid())) home = pw->pw_dir;
    }
    return SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), home);
}

bool IsStoredDecimalText(std::string_view text) {
    // IntToDecimal writes at most 10 characters; anything longer or empty
    // cannot be one of its texts.
    if (text.empty() || text.size() > 10) return false;
    char back[12];
    size_t n = IntToDecimal(DecimalToInt(text.data(), text.size()), back);
    return std::string_view(back, n) == text;
}

StoredValues ParseSettingsText(std::string_view text, std::vector<std::string>& warnings) {
    StoredValues values;
    size_t lineNumber = 0;
    size_t bad = 0;
    auto warn = [&](std::string message) {
        ++bad;
        if (bad <= MaxLineWarnings) {
            warnings.push_back("line " + std::to_string(lineNumber) + ": " + message);
        } else if (bad == MaxLineWarnings + 1) {
            warnings.push_back("more bad lines after line " + std::to_string(lineNumber) + " not listed");
        }
    };
    while (!text.empty()) {
        ++lineNumber;
        size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        std::string_view line = Trim(raw);
        if (line.empty() || line.front() == '#') continue;
        if (line.find('\0') != std::string_view::npos) {
            warn("not text; ignored");
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            warn("no '=' in " + Shown(line) + "; ignored");
            continue;
        }
        std::string name(Trim(line.substr(0, eq)));
        std::string_view value = Trim(line.substr(eq + 1));
        int index = SettingIndex(name.c_str());
        if (index < 0) {
            warn("unknown setting " + Shown(name) + "; ignored");
            continue;
        }
        if (!IsStoredDecimalText(value)) {
            warn("bad value " + Shown(value) + " for " + name + "; using the default");
            values[index].reset();
            continue;
        }
        values[index] = std::string(value);
    }
    return values;
}

long StoredValuesRegistry::QueryValue(const char* name, uint8_t* data, uint32_t* length) {
    int index = SettingIndex(name);
    if (index < 0 || !values_[index]) return QueryNotFound;
    const std::string& text = *values_[index];
    uint32_t room = *length;
    *length = static_cast<uint32_t>(text.size());
    if (text.size() > room) return QueryMoreData;
    std::memcpy(data, text.data(), text.size());
    return QuerySuccess;
}

void StoredValuesRegistry::SetValue(const char* name, const char* text, uint32_t length) {
    int index = SettingIndex(name);
    if (index >= 0) values_[index] = std::string(text, length);
}

std::string SettingsText(const SaverSettings& s) {
    StoredValues values;
    StoredValuesRegistry reg(values);
    SaveSettings(reg, s);
    std::string text;
    for (int k = 0; k < SettingCount; ++k) {
        text += SettingNames[k];
        text += '=';
        text += values[k].value_or(std::string());
        text += '\n';
    }
    return text;
}

SaverSettings LoadSettingsFile(const std::string& path, std::vector<std::string>& warnings) {
    if (path.empty()) {
        warnings.push_back("no home directory; using the default settings");
        return SaverSettings{};
    }
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) warnings.push_back(SystemError("cannot read", path, errno) + "; using the defaults");
        return SaverSettings{};
    }
    std::string text;
    struct stat st;
    bool ok = fstat(fd, &st) == 0;
    if (ok && !S_ISREG(st.st_mode)) {
        warnings.push_back(QuoteArgument(path.c_str()) + " is not a file; using the default settings");
        ok = false;
    } else if (ok && static_cast<size_t>(st.st_size) > MaxFileSize) {
        warnings.push_back(QuoteArgument(path.c_str()) + " is too large for a settings file; using the defaults");
        ok = false;
    }
    while (ok) {
        char buffer[4096];
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            warnings.push_back(SystemError("cannot read", path, errno) + "; using the defaults");
            ok = false;
        } else if (n == 0) {
            break;
        } else {
            text.append(buffer, static_cast<size_t>(n));
            if (text.size() > MaxFileSize) {
                warnings.push_back(QuoteArgument(path.c_str()) +
                                   " is too large for a settings file; using the defaults");
                ok = false;
            }
        }
    }
    close(fd);
    if (!ok) return SaverSettings{};

    std::vector<std::string> lineWarnings;
    StoredValues values = ParseSettingsText(text, lineWarnings);
    for (const std::string& w : lineWarnings) warnings.push_back(QuoteArgument(path.c_str()) + " " + w);
    StoredValuesRegistry reg(values);
    return LoadSettings(reg);
}

bool SaveSettingsFile(const std::string& path, const SaverSettings& s, std::string& error) {
    if (path.empty()) {
        error = "no home directory to keep the settings in";
        return false;
    }
    size_t slash = path.find_last_of('/');
    std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    if (!MakeDirectories(dir, error)) return false;

    std::string temp = dir + "/.settings.XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        error = SystemError("cannot write in", dir, errno);
        return false;
    }
    // mkstemp makes the file private; give it the mode a new file would get.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    bool ok = WriteAll(fd, SettingsText(s)) && fsync(fd) == 0;
    int err = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        error = SystemError("cannot write", path, err);
        return false;
    }
    // Make the rename itself durable; a failure here loses nothing already
    // visible, so it is not reported.
    int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}

}  // namespace quorvex::linux_host
