// Reading the locale's time pattern; see clock_Format.h.
#include "clock_Format.h"

#include <langinfo.h>

#include <cstring>

namespace quorvex::linux_host {

namespace {

void CopyDesignator(char (&out)[32], const char* text) {
    if (text == nullptr) text = "";
    size_t n = std::strlen(text);
    if (n >= sizeof out) {
        n = sizeof out - 1;
        // Do not leave half of a UTF-8 sequence at the end.
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0u) == 0x80u) --n;
    }
    std::memcpy(out, text, n);
    out[n] = '\0';
}

}  // namespace

TimeFormat ClockStyle::Format() const {
    TimeFormat f;
    f.twelveHour = twelveHour;
    f.leadingZero = leadingZero;
    f.separator = separator;
    f.am = am;
    f.pm = pm;
    f.designatorFirst = designatorFirst;
    return f;
}

ClockStyle ClockStyleFromPattern(const char* pattern, const char* am, const char* pm) {
    ClockStyle style;
    CopyDesignator(style.am, am);
    CopyDesignator(style.pm, pm);
    if (pattern == nullptr) return style;
    bool designatorSeen = false;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p != '%') continue;
        ++p;
        // Flags, width and the E/O modifiers of a conversion.
        char flag = 0;
        while (*p == '-' || *p == '_' || *p == '0' || *p == '^' || *p == '#') flag = *p++;
        while (*p >= '1' && *p <= '9') ++p;
        if (*p == 'E' || *p == 'O') ++p;
        if (*p == '\0') break;
        const char c = *p;
        if (c == 'p' || c == 'P') {
            designatorSeen = true;
            continue;
        }
        bool hour = true;
        char separatorAfter = 0;
        switch (c) {
            case 'H':
                style.twelveHour = false;
                style.leadingZero = true;
                break;
            case 'k':
                style.twelveHour = false;
                style.leadingZero = false;
                break;
            case 'I':
                style.twelveHour = true;
                style.leadingZero = true;
                break;
            case 'l':
                style.twelveHour = true;
                style.leadingZero = false;
                break;
            case 'T':
            case 'R':
            case 'X':
                style.twelveHour = false;
                style.leadingZero = true;
                separatorAfter = ':';
                break;
            case 'r':
                style.twelveHour = true;
                style.leadingZero = true;
                separatorAfter = ':';
                break;
            default:
                hour = false;
                break;
        }
        if (!hour) continue;
        if (flag == '-' || flag == '_') style.leadingZero = false;
        if (flag == '0') style.leadingZero = true;
        if (separatorAfter == 0) {
            const unsigned char next = static_cast<unsigned char>(p[1]);
            // A one-byte, visible, non-alphanumeric character; anything else
            // (another conversion, a multibyte unit word) falls back to ':'.
            bool usable = next > 0x20 && next < 0x7F && next != '%' && !(next >= '0' && next <= '9') &&
                          !((next | 0x20) >= 'a' && (next | 0x20) <= 'z');
            separatorAfter = usable ? static_cast<char>(next) : ':';
        }
        style.separator = separatorAfter;
        style.designatorFirst = style.twelveHour && designatorSeen;
        return style;
    }
    // No hour at all: the plain 24-hour clock.
    style.twelveHour = false;
    style.leadingZero = true;
    style.separator = ':';
    style.designatorFirst = false;
    return style;
}

ClockStyle ClockStyleFromLocale() {
    return ClockStyleFromPattern(nl_langinfo(T_FMT), nl_langinfo(AM_STR), nl_langinfo(PM_STR));
}

}  // namespace quorvex::linux_host
