// Reads the resources of a built Quorvex.scr loaded as a data file and
// prints them as "key value" lines (texts in UTF-8):
//   string <lang> <id> <text>     from the raw string-table blocks
//   loadstring <id> <hex bytes>   what LoadStringA returns for this user
//   description <text>, description_bytes <n>
//   icon MAINICON yes|no, dialog <name> yes|no
//   manifest_dpi_awareness <text>, manifest_dpi_aware <text>
//   version_file a.b.c.d, version_product a.b.c.d, version <name> <text>
//
// Usage: resource_reader.exe <file>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Utf8(const wchar_t* text, int length) {
    if (length <= 0) return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

void Line(const std::string& text) {
    // Binary mode would be simpler, but the script strips \r anyway.
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

// String `id` of the table in `language`, straight from its 16-string block.
bool TableString(HMODULE module, WORD language, UINT id, std::string& out) {
    HRSRC block = FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), language);
    if (block == nullptr) return false;
    HGLOBAL loaded = LoadResource(module, block);
    auto* p = static_cast<const WORD*>(LockResource(loaded));
    if (p == nullptr) return false;
    const WORD* end = p + SizeofResource(module, block) / sizeof(WORD);
    for (UINT i = 0; i < id % 16 && p < end; ++i) p += 1 + *p;
    if (p >= end || *p == 0) return false;
    out = Utf8(reinterpret_cast<const wchar_t*>(p + 1), *p);
    return true;
}

std::string ResourceText(HMODULE module, const char* name, const char* type, DWORD& size) {
    size = 0;
    HRSRC r = FindResourceA(module, name, type);
    if (r == nullptr) return std::string();
    size = SizeofResource(module, r);
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, r)));
    return data != nullptr ? std::string(data, size) : std::string();
}

// The text between <tag ...> and </tag> in the manifest.
std::string ElementText(const std::string& xml, const char* tag) {
    std::string open = std::string("<") + tag;
    size_t at = xml.find(open + ">");
    if (at == std::string::npos) at = xml.find(open + " ");
    if (at == std::string::npos) return "<missing>";
    size_t start = xml.find('>', at);
    size_t stop = xml.find(std::string("</") + tag, start);
    if (start == std::string::npos || stop == std::string::npos) return "<missing>";
    return xml.substr(start + 1, stop - start - 1);
}

void Version(const char* file) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(file, &handle);
    if (size == 0) {
        Line("version_record missing");
        return;
    }
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(file, 0, size, data.data())) {
        Line("version_record unreadable");
        return;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed != nullptr) {
        char text[96];
        std::snprintf(text, sizeof text, "version_file %u.%u.%u.%u",
                      static_cast<unsigned>(HIWORD(fixed->dwFileVersionMS)),
                      static_cast<unsigned>(LOWORD(fixed->dwFileVersionMS)),
                      static_cast<unsigned>(HIWORD(fixed->dwFileVersionLS)),
                      static_cast<unsigned>(LOWORD(fixed->dwFileVersionLS)));
        Line(text);
        std::snprintf(text, sizeof text, "version_product %u.%u.%u.%u",
                      static_cast<unsigned>(HIWORD(fixed->dwProductVersionMS)),
                      static_cast<unsigned>(LOWORD(fixed->dwProductVersionMS)),
                      static_cast<unsigned>(HIWORD(fixed->dwProductVersionLS)),
                      static_cast<unsigned>(LOWORD(fixed->dwProductVersionLS)));
        Line(text);
    }
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation)) {
        Line("version_translation missing");
        return;
    }
    const char* names[] = {"FileDescription",  "FileVersion", "InternalName",
                           "OriginalFilename", "ProductName", "ProductVersion"};
    for (const char* name : names) {
        char path[96];
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage,
                      name);
        char* value = nullptr;
        if (VerQueryValueA(data.data(), path, reinterpret_cast<void**>(&value), &length) && value != nullptr) {
            Line(std::string("version ") + name + " " + value);
        } else {
            Line(std::string("version ") + name + " <missing>");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: resource_reader <file>\n");
        return 2;
    }
    HMODULE module = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        Line("loaded no");
        return 1;
    }
    Line("loaded yes");

    const WORD languages[] = {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT)};
    const UINT ids[] = {1, 2, 3, 4, 5, 6, 7, 8, 100};
    for (WORD language : languages) {
        for (UINT id : ids) {
            std::string text;
            bool found = TableString(module, language, id, text);
            char head[32];
            std::snprintf(head, sizeof head, "string %u %u ", language, id);
            Line(std::string(head) + (found ? text : "<missing>"));
        }
    }

    // What the program itself gets: the loader's language choice for this
    // user, in the ANSI code page.
    char acp[32];
    std::snprintf(acp, sizeof acp, "acp %u", GetACP());
    Line(acp);
    for (UINT id = 1; id <= 8; ++id) {
        char buffer[128] = {};
        LoadStringA(module, id, buffer, sizeof buffer);
        std::string line = "loadstring " + std::to_string(id) + " ";
        for (const char* c = buffer; *c != '\0'; ++c) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(*c));
            line += hex;
        }
        Line(line);
    }

    DWORD size = 0;
    std::string description = ResourceText(module, "DESCRIPTION", RT_RCDATA, size);
    Line("description_bytes " + std::to_string(size));
    std::wstring wide(description.size() / 2, L'\0');
    std::memcpy(wide.data(), description.data(), wide.size() * 2);
    Line("description " + Utf8(wide.c_str(), static_cast<int>(wide.size())));

    Line(std::string("icon MAINICON ") + (FindResourceA(module, "MAINICON", RT_GROUP_ICON) != nullptr ? "yes" : "no"));
    for (const char* dialog : {"ABOUT_E", "ABOUT"}) {
        Line(std::string("dialog ") + dialog + " " +
             (FindResourceA(module, dialog, RT_DIALOG) != nullptr ? "yes" : "no"));
    }
    std::string manifest = ResourceText(module, MAKEINTRESOURCEA(1), RT_MANIFEST, size);
    Line("manifest_dpi_awareness " + ElementText(manifest, "dpiAwareness"));
    Line("manifest_dpi_aware " + ElementText(manifest, "dpiAware"));
    FreeLibrary(module);

    Version(argv[1]);
    return 0;
}
