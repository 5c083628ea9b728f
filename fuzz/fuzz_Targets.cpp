// The libFuzzer targets, built once each with QV_FUZZ_<name>: inputs become command lines cut at zero
// bytes; a broken property aborts with its message so that libFuzzer keeps the input.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "settings.h"

namespace {

struct Args {
    std::vector<std::string> parts;
    std::vector<const char*> argv;
    Args(const char* program, const uint8_t* data, size_t size) : parts{program} {
        std::string current;
        for (size_t i = 0; i < size && parts.size() < 64; ++i) {
            if (data[i] != 0) current.push_back(char(data[i]));
            if (data[i] == 0 || i + 1 == size) parts.push_back(current), current.clear();
        }
        Point();
    }
    explicit Args(std::vector<std::string> p) : parts(std::move(p)) { Point(); }
    void Point() {
        for (const std::string& p : parts) argv.push_back(p.c_str());
        argv.push_back(nullptr);  // argv[argc] is null, as the runtime gives it
    }
    int argc() const { return int(parts.size()); }
    std::string at(size_t i) const { return i < parts.size() ? parts[i] : std::string(); }
};

void Check(bool ok, const char* what, const std::string& detail = {}) {
    if (ok) return;
    std::fprintf(stderr, "property broken: %s %s\n", what, detail.c_str());
    std::abort();
}
#define QV_CHECK(cond, detail) Check(cond, #cond, detail)

// The decimal value of a stored text: every byte counts its code minus 48,
// wrapping modulo 2^32.
[[maybe_unused]] int32_t Reference(const std::string& text) {
    uint32_t v = 0;
    for (unsigned char c : text) v = v * 10u + (uint32_t(c) - 48u);
    return int32_t(v);
}

[[maybe_unused]] bool Printable(const std::string& line) {
    return !line.empty() && std::none_of(line.begin(), line.end(), [](uint8_t c) { return c < 0x20 || c == 0x7F; });
}

[[maybe_unused]] bool SameSettings(const quorvex::SaverSettings& a, const quorvex::SaverSettings& b) {
    bool same = true;
    for (int i = 0; i < quorvex::SettingCount; ++i) same = same && GetSettingValue(a, i) == GetSettingValue(b, i);
    return same;
}

}  // namespace

#if defined(QV_FUZZ_decimal)
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    QV_CHECK(quorvex::DecimalToInt(text) == Reference(text), text);
    if (size == 4) {  // a number: written, it reads back; digits of a negative lie below '0'
        int32_t value;
        std::memcpy(&value, data, 4);
        const std::string written = quorvex::IntToDecimal(value);
        const std::string magnitude = std::to_string(value < 0 ? -int64_t(value) : int64_t(value));
        QV_CHECK(quorvex::DecimalToInt(written) == value && written.size() == magnitude.size(), written);
        for (size_t k = 0; k < written.size(); ++k) {
            QV_CHECK(written[k] == char(value < 0 ? 96 - magnitude[k] : magnitude[k]), written);
        }
    }
    return 0;
}
#elif defined(QV_FUZZ_extended)
// Two x87 numbers from the input (significand, then sign and exponent; the
// leading bit follows the exponent), through every operation of the software
// type and of the x87 unit.
#include "../tests/core/x87_reference.h"
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint8_t bytes[20] = {};
    std::memcpy(bytes, data, std::min<size_t>(size, sizeof bytes));
    long double v[2];
    for (int k = 0; k < 2; ++k) {
        uint64_t m;
        uint16_t se;
        std::memcpy(&m, bytes + 10 * k, 8), std::memcpy(&se, bytes + 10 * k + 8, 2);
        v[k] = quorvex::x87::Hard(se, (se & 0x7fff) != 0 ? m | quorvex::SoftExtended::Lead : 0);
    }
    char operands[80];
    std::snprintf(operands, sizeof operands, "%La %La", v[0], v[1]);
    quorvex::x87::CompareAll(v[0], v[1], [&](const char* op) { Check(false, op, operands); });
    return 0;
}
#elif defined(QV_FUZZ_run_mode)
#include "app.h"
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using quorvex::RunMode;
    const Args args("Quorvex.scr", data, size);
    const quorvex::RunRequest got = quorvex::DecideRunMode(args.argc(), args.argv.data());
    std::string arg = args.at(1).size() >= 2 ? args.at(1).substr(1) : args.at(1);
    RunMode mode = RunMode::Configure;
    uint32_t window = 0;
    if (arg == "a" || arg == "A") mode = RunMode::ChangePassword, window = uint32_t(Reference(args.at(2)));
    if (arg == "s" || arg == "S") mode = RunMode::Saver;
    if (arg == "p" || arg == "P") mode = RunMode::Preview, window = uint32_t(Reference(args.at(2)));
    if (mode == RunMode::Configure && arg.size() > 2 && (arg[0] == 'c' || arg[0] == 'C')) {
        window = uint32_t(Reference(arg.substr(2)));
    }
    QV_CHECK(got.mode == mode && got.window == window && got.commandArg == arg, arg);
    return 0;
}
#elif defined(QV_FUZZ_settings_load)
// A registry from the input: per value a kind byte (bit 0-1 present, bit 2
// padded), a type byte, a 16-bit length and the bytes; the first byte says
// whether the key opens.
#include "../tests/fake_registry.h"
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorvex;
    const uint8_t *p = data, *end = data + size;
    FakeRegistry reg;
    if (p < end) reg.keyExists = (*p++ & 1) == 0;
    for (int i = 0; i < SettingCount && p + 4 <= end; ++i) {
        const uint8_t kind = p[0];
        const size_t length = (p[2] | p[3] << 8) % 4097;
        p += 4;
        std::string value(p, p + std::min<size_t>(length, size_t(end - p)));
        p += value.size();
        if (kind & 4) value.resize(length, char(kind));
        if (kind & 3) reg.values[SettingNames[i]] = value;
    }
    const bool opens = reg.keyExists;
    const SaverSettings loaded = LoadSettings(reg);
    QV_CHECK(!reg.misused && reg.closes == (opens ? 1 : 0), "the key used only while open, and closed");
    for (int i = 0; i < SettingCount; ++i) {
        int32_t want = GetSettingValue(SaverSettings{}, i);
        const auto v = reg.values.find(SettingNames[i]);
        if (opens && v != reg.values.end() && v->second.size() <= SettingBufferSize) {
            const std::string text = v->second.c_str();  // up to the first zero
            want = i < 8 ? Reference(text) != 0 : Reference(text);
        }
        QV_CHECK(GetSettingValue(loaded, i) == want, SettingNames[i]);
    }
    FakeRegistry saved;
    SaveSettings(saved, loaded);
    QV_CHECK(SameSettings(LoadSettings(saved), loaded), "round trip");
    return 0;
}
#elif defined(QV_FUZZ_render_options)
#include "render_Options.h"
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorvex;
    const Args args("render", data, size);
    cli::RenderOptions o, again;
    std::string error;
    const cli::ParseStatus status = cli::ParseRenderOptions(args.argc(), args.argv.data(), o, error);
    bool help = false;
    for (const std::string& a : args.parts) help = help || a == "--help" || a == "-h";
    QV_CHECK((status == cli::ParseStatus::Help) == help, "help exactly when asked for");
    if (status == cli::ParseStatus::Error) QV_CHECK(Printable(error), error);
    if (status != cli::ParseStatus::Ok) return 0;
    // Written back as a full command line, the options parse to the same.
    std::vector<std::string> line = {"render", "--size", std::to_string(o.width) + "x" + std::to_string(o.height),
                                     "--seed", std::to_string(o.seed), "--frames", std::to_string(o.frames),
                                     "--frame-ms", std::to_string(o.frameMs), "--start-tick",
                                     std::to_string(o.startTick), "--out", o.out};
    for (int i = 0; i < SettingCount; ++i) {
        const int32_t value = GetSettingValue(o.settings, i);
        QV_CHECK(i >= 8 || value <= 1, SettingNames[i]);
        line.insert(line.end(), {"--set", std::string(SettingNames[i]) + "=" + std::to_string(value)});
    }
    if (o.preview) line.push_back("--preview");
    const Args back(line);
    QV_CHECK(cli::ParseRenderOptions(back.argc(), back.argv.data(), again, error) == cli::ParseStatus::Ok, error);
    QV_CHECK(again.width == o.width && again.height == o.height && again.seed == o.seed && again.frames == o.frames &&
                 again.frameMs == o.frameMs && again.startTick == o.startTick && again.preview == o.preview &&
                 again.out == o.out && again.type == o.type && (o.type != cli::ImageType::Gif || o.frames > 0) &&
                 SameSettings(again.settings, o.settings),
             "the written-back command line means the same");
    return 0;
}
#elif defined(QV_FUZZ_frontend_options)
#include "options.h"
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorvex;
    using linux_host::DisplayMode;
    const bool withEnv = size > 0 && (data[0] & 1) != 0;
    const Args args("quorvex", size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0);
    const int argc = withEnv && args.argc() > 1 ? args.argc() - 1 : args.argc();
    const linux_host::ParsedOptions parsed = linux_host::ParseFrontEndOptions(argc, args.argv.data());
    if (!parsed.ok) return QV_CHECK(Printable(parsed.error), parsed.error), 0;
    const linux_host::FrontEndOptions& o = parsed.options;
    QV_CHECK(o.width >= 1 && o.width <= linux_host::MaxWindowSide && o.height >= 1 &&
                 o.height <= linux_host::MaxWindowSide && !(o.geometryGiven && o.modeGiven) &&
                 (o.mode != DisplayMode::WindowId || o.windowId != 0) && o.durationMs % 1000 == 0 &&
                 o.durationMs <= 86400000u,
             "sane options");
    SaverSettings s;
    linux_host::ApplyOverrides(o, s);
    for (int i = 0; i < SettingCount; ++i) {
        const int32_t top = i == 8 ? 2 : i == 9 ? 3 : 1;
        const int32_t want = o.overrides[i] ? *o.overrides[i] : GetSettingValue(SaverSettings{}, i);
        QV_CHECK(want >= 0 && want <= top && GetSettingValue(s, i) == want, SettingNames[i]);
    }
    if (withEnv) {
        linux_host::FrontEndOptions w = o;
        std::string error;
        const bool ok = linux_host::ApplyScreensaverWindow(w, args.at(size_t(argc)).c_str(), error);
        QV_CHECK(ok ? w.mode != DisplayMode::WindowId || w.windowId != 0 : Printable(error), error);
    }
    return 0;
}
#elif defined(QV_FUZZ_trace_bounded)
// A case of tests/trace_check.h; its eighth byte also picks the instruction set.
#include "../tests/trace_check.h"
#include "frame_TraceFast.h"
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using quorvex::TraceVectorPath;
    quorvex::SetTraceVectorPath(size >= 8 && data[7] >= 128 ? TraceVectorPath::Sse2 : TraceVectorPath::Automatic);
    const std::string broken = quorvex::CheckBoundedPass(data, size);
    return QV_CHECK(broken.empty(), broken), 0;
}
#endif
