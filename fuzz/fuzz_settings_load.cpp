// The settings loader against registry contents nobody wrote through the
// dialog: ten values of any type, any length up to 4 KB and any bytes. The
// loader must stay inside its buffer (ASan watches the stack buffer it
// offers), and every field must end at its default or at the number its own
// value's text gives, whatever the other nine hold.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_Args.h"
#include "settings.h"

namespace quorvex::fuzz {
namespace {

constexpr size_t MaxValueLength = 4096;

struct StoredValue {
    bool present = false;
    uint32_t type = 1;
    std::vector<uint8_t> data;
};

struct Contents {
    bool keyOpens = true;
    uint32_t lengthAfterMiss = 0;  // what a failed query leaves in the length
    StoredValue values[SettingCount];
};

// Behaves like RegQueryValueExA on one key: the whole value or nothing, the
// data's length reported either way, the buffer's contents undefined after a
// value that did not fit (here: scribbled over).
class MemoryRegistry final : public SettingsRegistry {
public:
    explicit MemoryRegistry(const Contents& c) : c_(c) {}

    bool OpenKey() override {
        ++opens_;
        open_ = c_.keyOpens;
        return open_;
    }
    bool CreateKey() override {
        open_ = true;
        return true;
    }
    long QueryValue(const char* name, uint8_t* data, uint32_t* length) override {
        QV_FUZZ_CHECK(open_, "query on a key that is not open");
        QV_FUZZ_CHECK(*length <= SettingBufferSize, "offered room " + std::to_string(*length));
        const int index = SettingIndex(name);
        QV_FUZZ_CHECK(index >= 0, std::string("unknown value name ") + name);
        ++queries_[index];
        const StoredValue& v = c_.values[index];
        if (!v.present) {
            *length = c_.lengthAfterMiss;
            return QueryNotFound;
        }
        const uint32_t room = *length;
        *length = static_cast<uint32_t>(v.data.size());
        if (v.data.size() > room) {
            std::memset(data, 0xA5, room);
            return QueryMoreData;
        }
        if (!v.data.empty()) std::memcpy(data, v.data.data(), v.data.size());
        return QuerySuccess;
    }
    void SetValue(const char* name, const char* text, uint32_t length) override {
        const int index = SettingIndex(name);
        QV_FUZZ_CHECK(index >= 0, std::string("unknown value name ") + name);
        written_[index].assign(text, text + length);
        ++writes_;
    }
    void CloseKey() override {
        QV_FUZZ_CHECK(open_, "close of a key that is not open");
        open_ = false;
        ++closes_;
    }

    int opens_ = 0;
    int closes_ = 0;
    int writes_ = 0;
    int queries_[SettingCount] = {};
    std::string written_[SettingCount];

private:
    const Contents& c_;
    bool open_ = false;
};

uint16_t Read16(const uint8_t*& p, const uint8_t* end) {
    uint16_t v = 0;
    for (int k = 0; k < 2 && p < end; ++k) v = static_cast<uint16_t>(v | (*p++ << (8 * k)));
    return v;
}

Contents Decode(const uint8_t* p, size_t size) {
    const uint8_t* end = p + size;
    Contents c;
    if (p < end) {
        const uint8_t flags = *p++;
        c.keyOpens = (flags & 1) == 0;
        // A failed query may leave any length behind, also one far above the buffer.
        c.lengthAfterMiss = (flags & 2) ? 0xFFFFFFF0u : flags;
    }
    for (StoredValue& v : c.values) {
        if (p >= end) break;
        const uint8_t kind = *p++;
        v.present = (kind & 3) != 0;
        v.type = p < end ? *p++ : 0;
        size_t length = Read16(p, end) % (MaxValueLength + 1);
        // Long values are mostly filler: repeat the kind byte past the input.
        const size_t available = static_cast<size_t>(end - p);
        const size_t taken = length < available ? length : available;
        v.data.assign(p, p + taken);
        p += taken;
        if ((kind & 4) != 0) v.data.resize(length, kind);
    }
    return c;
}

// The number a text stands for, worked out here without the program's own
// routine: each byte adds its code minus 48, the total taken modulo 2^32.
int32_t ReferenceNumber(const std::vector<uint8_t>& text) {
    int64_t total = 0;
    for (uint8_t b : text)
        total = ((total * 10 + (static_cast<int64_t>(b) - 48)) % 4294967296LL + 4294967296LL) % 4294967296LL;
    return total >= 2147483648LL ? static_cast<int32_t>(total - 4294967296LL) : static_cast<int32_t>(total);
}

int32_t DefaultOf(int index) { return GetSettingValue(SaverSettings{}, index); }

// What field `index` must read, from its own stored value alone.
int32_t Expected(const Contents& c, int index) {
    const StoredValue& v = c.values[index];
    if (!c.keyOpens || !v.present || v.data.size() > SettingBufferSize) return DefaultOf(index);
    std::vector<uint8_t> text;
    for (uint8_t b : v.data) {
        if (b == 0) break;
        text.push_back(b);
    }
    const int32_t n = ReferenceNumber(text);
    return index < 8 ? (n != 0 ? 1 : 0) : n;
}

std::string Describe(const Contents& c, int index, int32_t got) {
    const StoredValue& v = c.values[index];
    return std::string(SettingNames[index]) + " got " + std::to_string(got) + " want " +
           std::to_string(Expected(c, index)) + " (present " + std::to_string(v.present) + ", length " +
           std::to_string(v.data.size()) + ")";
}

void CheckLoad(const Contents& c, const SaverSettings& s, const MemoryRegistry& reg) {
    QV_FUZZ_CHECK(reg.opens_ == 1, "the key is opened once");
    QV_FUZZ_CHECK(reg.closes_ == (c.keyOpens ? 1 : 0), "an opened key is closed, a missing one is not");
    for (int i = 0; i < SettingCount; ++i) {
        QV_FUZZ_CHECK(reg.queries_[i] == (c.keyOpens ? 1 : 0), SettingNames[i]);
        const int32_t got = GetSettingValue(s, i);
        QV_FUZZ_CHECK(got == Expected(c, i), Describe(c, i, got));
    }
    // The record's booleans must be real 0/1 bytes, not any non-zero byte.
    const bool* flags[] = {&s.ShowFPS,         &s.UnSortPoints, &s.MouseSens, &s.Move3D,
                           &s.PrimitivePoints, &s.HuesOfGray,   &s.Trace,     &s.ShowClock};
    for (const bool* f : flags) {
        uint8_t byte;
        std::memcpy(&byte, f, 1);
        QV_FUZZ_CHECK(byte <= 1, "boolean byte " + std::to_string(byte));
    }
}

}  // namespace
}  // namespace quorvex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorvex;
    using namespace quorvex::fuzz;
    const Contents contents = Decode(data, size);

    MemoryRegistry reg(contents);
    const SaverSettings loaded = LoadSettings(reg);
    CheckLoad(contents, loaded, reg);

    // The same field with its nine neighbours gone, and with them shuffled
    // into each other's places: it must not move.
    for (int i = 0; i < SettingCount; ++i) {
        for (int variant = 0; variant < 2; ++variant) {
            Contents other = contents;
            for (int j = 0; j < SettingCount; ++j) {
                if (j == i) continue;
                if (variant == 0) {
                    other.values[j] = StoredValue{};
                } else {
                    int from = (j + 1) % SettingCount;
                    if (from == i) from = (from + 1) % SettingCount;
                    other.values[j] = contents.values[from];
                }
            }
            MemoryRegistry alone(other);
            const SaverSettings s = LoadSettings(alone);
            QV_FUZZ_CHECK(
                GetSettingValue(s, i) == GetSettingValue(loaded, i),
                std::string(SettingNames[i]) + " changed with its neighbours, variant " + std::to_string(variant));
        }
    }

    // Whatever was loaded is saved as short decimal text and loads back the same.
    Contents saved;
    MemoryRegistry writer(saved);
    SaveSettings(writer, loaded);
    QV_FUZZ_CHECK(writer.writes_ == SettingCount, "every field is written");
    for (int i = 0; i < SettingCount; ++i) {
        const std::string& text = writer.written_[i];
        QV_FUZZ_CHECK(!text.empty() && text.size() <= 11, std::string(SettingNames[i]) + " saved as '" + text + "'");
        saved.values[i].present = true;
        saved.values[i].data.assign(text.begin(), text.end());
    }
    MemoryRegistry reader(saved);
    const SaverSettings again = LoadSettings(reader);
    for (int i = 0; i < SettingCount; ++i) {
        QV_FUZZ_CHECK(GetSettingValue(again, i) == GetSettingValue(loaded, i),
                      std::string(SettingNames[i]) + " changed through save and load");
    }
    return 0;
}
