// Temporary file and rename; see render_Output.h.
#include "render_Output.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace quorvex::cli {

namespace {

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return "";
    return path.substr(0, slash + 1);
}

unsigned long ProcessId() {
#ifdef _WIN32
    return static_cast<unsigned long>(_getpid());
#else
    return static_cast<unsigned long>(getpid());
#endif
}

// Exclusive creation, so two renders into one directory never share a file.
std::FILE* CreateExclusive(const std::string& path) {
#ifdef _WIN32
    const int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    return fd < 0 ? nullptr : _fdopen(fd, "wb");
#else
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* f = fdopen(fd, "wb");
    if (f == nullptr) close(fd);
    return f;
#endif
}

bool RenameOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

AtomicOutput::~AtomicOutput() { Abort(); }

bool AtomicOutput::Open(const std::string& target, std::string& error) {
    Abort();
    target_ = target;
    // A short name of its own, so a target whose name is near the file
    // system's limit still gets a temporary beside it.
    const std::string base = DirectoryOf(target) + ".quorvex-" + std::to_string(ProcessId());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = base + "." + std::to_string(attempt) + ".tmp";
        file_ = CreateExclusive(temp_);
        if (file_ != nullptr) return true;
        if (errno != EEXIST) break;
    }
    error = "cannot write '" + target + "': " + std::strerror(errno);
    temp_.clear();
    return false;
}

bool AtomicOutput::Commit(std::string& error) {
    if (file_ == nullptr) {
        error = "cannot write '" + target_ + "'";
        return false;
    }
    const bool flushed = std::fflush(file_) == 0 && std::ferror(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) {
        error = "cannot write '" + target_ + "': " + std::strerror(errno);
        Abort();
        return false;
    }
    if (!RenameOver(temp_, target_)) {
#ifdef _WIN32
        error = "cannot replace '" + target_ + "'";
#else
        error = "cannot replace '" + target_ + "': " + std::strerror(errno);
#endif
        Abort();
        return false;
    }
    temp_.clear();
    return true;
}

void AtomicOutput::Abort() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        std::remove(temp_.c_str());
        temp_.clear();
    }
}

}  // namespace quorvex::cli
