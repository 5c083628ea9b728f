// The clock's time format from the C library's locale: the long time format
// of LC_TIME (nl_langinfo(T_FMT)) read into the fields ClockText uses.
#pragma once

#include "frame.h"

namespace quorvex::linux_host {

struct ClockStyle {
    bool twelveHour = false;
    bool leadingZero = true;
    char separator = ':';
    bool designatorFirst = false;
    char am[32] = "AM";
    char pm[32] = "PM";

    // Points into this object: keep the style alive while the format is used.
    TimeFormat Format() const;
};

// From a strftime pattern such as "%H:%M:%S", "%I:%M:%S %p", "%r", "%T" or
// "%p %l.%M.%S". The first hour directive decides the 12- or 24-hour clock and
// the leading zero; the character after it is the separator; a %p before it
// puts the designator first. A pattern without an hour gives "%H:%M:%S".
// Designators longer than the room are cut at a character boundary.
ClockStyle ClockStyleFromPattern(const char* pattern, const char* am, const char* pm);

// The style of the current LC_TIME locale (the caller runs setlocale first).
ClockStyle ClockStyleFromLocale();

}  // namespace quorvex::linux_host
