// A settings registry in memory that answers like the real one, and notes
// every use of a key that is not open or of a name that is not a setting.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "settings.h"

namespace quorvex {

struct FakeRegistry final : SettingsRegistry {
    bool keyExists = true, canCreate = true, open = false, misused = false;
    int closes = 0;
    std::map<std::string, std::string> values;
    std::vector<std::string> writes;
    std::vector<uint32_t> offered;  // the room offered to each read
    bool OpenKey() override { return open = keyExists; }
    bool CreateKey() override { return open = keyExists = canCreate; }
    long QueryValue(const char* name, uint8_t* data, uint32_t* length) override {
        misused = misused || !open || SettingIndex(name) < 0;
        offered.push_back(*length);
        auto it = values.find(name);
        if (it == values.end()) return QueryNotFound;
        *length = uint32_t(it->second.size());
        // Like the real one, a value too long for the room leaves the room undefined.
        if (it->second.size() > offered.back()) return std::fill_n(data, offered.back(), 0xA5), QueryMoreData;
        std::copy(it->second.begin(), it->second.end(), data);
        return QuerySuccess;
    }
    void SetValue(const char* name, const char* text, uint32_t length) override {
        misused = misused || !open || SettingIndex(name) < 0;
        values[name].assign(text, length);
        writes.push_back(name);
    }
    void CloseKey() override { misused = misused || !open, open = false, ++closes; }
};

}  // namespace quorvex
