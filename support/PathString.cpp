#include "support/PathString.h"

#include <filesystem>
#include <system_error>

#include "support/Cp932.h"

std::size_t FindLastChar(std::string_view text, char c, bool multibyte) {
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == c) {
            found = i;
        } else if (multibyte && cp932::IsLeadByte(static_cast<unsigned char>(text[i])) &&
                   i + 1 < text.size()) {
            ++i;  // step over the trail byte
        }
    }
    return found;
}

std::size_t PosixPathRules::NameOffset(std::string_view path) {
    std::size_t p = FindLastChar(path, '/', false);
    return p == std::string::npos ? 0 : p + 1;
}

std::size_t WindowsPathRules::NameOffset(std::string_view path) {
    std::size_t p = FindLastChar(path, '\\', true);
    if (p == std::string::npos) {
        p = FindLastChar(path, ':', true);
    }
    return p == std::string::npos ? 0 : p + 1;
}

bool WindowsPathRules::Equal(std::string_view a, std::string_view b) {
    auto upper = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[j]);
        bool wideA = cp932::IsLeadByte(ca) && i + 1 < a.size();
        bool wideB = cp932::IsLeadByte(cb) && j + 1 < b.size();
        if (wideA != wideB) {
            return false;
        }
        if (wideA) {
            if (ca != cb || a[i + 1] != b[j + 1]) {
                return false;
            }
            i += 2;
            j += 2;
        } else {
            if (upper(ca) != upper(cb)) {
                return false;
            }
            ++i;
            ++j;
        }
    }
    return i == a.size() && j == b.size();
}

// POSIX file systems store names exactly as given, so resolving means making
// the path absolute (the title, the recent files and "same file" checks then
// do not depend on the working directory). Symbolic links are kept as links.
template <>
bool basic_path_string<PosixPathRules>::resolve_disk_name() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path p(static_cast<const std::string&>(*this));
    if (empty() || !fs::exists(fs::symlink_status(p, ec)) || ec) {
        return false;
    }
    fs::path absolute = fs::absolute(p, ec).lexically_normal();
    if (ec) {
        return false;
    }
    assign(absolute.string());
    return true;
}
