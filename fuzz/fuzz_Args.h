// Turns a fuzzer's byte string into a command line: the bytes are cut at
// every zero byte (a C argument cannot hold one), so "s\0" "1234" reads as
// the two arguments "s" and "1234". argv[0] is the program name given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvex::fuzz {

class FuzzArgs {
public:
    FuzzArgs(const char* program, const uint8_t* data, size_t size, size_t maxParts = 64) {
        parts_.emplace_back(program);
        std::string current;
        for (size_t i = 0; i < size; ++i) {
            if (data[i] == 0) {
                if (parts_.size() >= maxParts) break;
                parts_.push_back(current);
                current.clear();
            } else {
                current.push_back(static_cast<char>(data[i]));
            }
        }
        if (parts_.size() < maxParts && (size == 0 || data[size - 1] != 0)) {
            if (size > 0) parts_.push_back(current);
        }
        for (const std::string& p : parts_) pointers_.push_back(p.c_str());
        pointers_.push_back(nullptr);  // argv[argc] is null, as the runtime gives it
    }

    int argc() const { return static_cast<int>(parts_.size()); }
    const char* const* argv() const { return pointers_.data(); }
    const std::string& operator[](size_t i) const { return parts_[i]; }

private:
    std::vector<std::string> parts_;
    std::vector<const char*> pointers_;
};

// Stops the fuzzer with a message naming the broken property; libFuzzer
// then saves the input that broke it.
[[noreturn]] void Fail(const char* what, const std::string& detail = {});

#define QV_FUZZ_CHECK(cond, detail)                        \
    do {                                                   \
        if (!(cond)) ::quorvex::fuzz::Fail(#cond, detail); \
    } while (0)

}  // namespace quorvex::fuzz
