// A file that appears under its name only once it is complete: written to a
// temporary file beside the target and renamed into place, or removed.
#pragma once

#include <cstdio>
#include <string>

namespace quorvex::cli {

class AtomicOutput {
public:
    AtomicOutput() = default;
    ~AtomicOutput();  // an uncommitted file is removed
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    // Creates the temporary file; false (with a reason) when the target's
    // directory does not take it.
    bool Open(const std::string& target, std::string& error);
    std::FILE* File() const { return file_; }
    // Closes the file and renames it over the target.
    bool Commit(std::string& error);
    // Closes and removes the temporary file.
    void Abort();

    const std::string& TemporaryPath() const { return temp_; }

private:
    std::FILE* file_ = nullptr;
    std::string target_;
    std::string temp_;
};

}  // namespace quorvex::cli
