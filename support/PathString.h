#pragma once

// File paths as the program holds them, with the platform's path rules.
// Two rule sets exist: POSIX (the native one here) and Windows (backslash and
// colon separators, CP932 lead bytes, letters compared without case), so that
// paths behave as users of either system expect and both stay tested.

#include <cstddef>
#include <string>
#include <string_view>

struct PosixPathRules {
    static constexpr bool kMultibyte = false;
    static bool IsSeparator(char c) { return c == '/'; }
    // Offset where the file-name part begins.
    static std::size_t NameOffset(std::string_view path);
    static bool Equal(std::string_view a, std::string_view b) { return a == b; }
};

struct WindowsPathRules {
    static constexpr bool kMultibyte = true;
    static std::size_t NameOffset(std::string_view path);
    // Character by character, CP932-aware, ASCII letters without case.
    static bool Equal(std::string_view a, std::string_view b);
};

// Offset of the last `c` in `text`; with `multibyte` a CP932 trail byte never
// matches. std::string::npos when there is none.
std::size_t FindLastChar(std::string_view text, char c, bool multibyte);

template <class Rules>
class basic_path_string : public std::string {
  public:
    basic_path_string() = default;
    basic_path_string(const std::string& s) : std::string(s) {}
    basic_path_string(std::string&& s) : std::string(std::move(s)) {}
    basic_path_string(const char* s) : std::string(s) {}

    std::size_t find_last(char c) const { return FindLastChar(*this, c, Rules::kMultibyte); }
    std::size_t name_offset() const { return Rules::NameOffset(*this); }
    std::string file_name() const { return substr(name_offset()); }

    bool has_extension() const {
        std::size_t dot = rfind('.');  // 0x2E is never a trail byte
        return dot != npos && dot > name_offset();
    }

    basic_path_string& set_extension(const std::string& ext) {
        if (has_extension()) {
            erase(rfind('.') + 1);
        } else {
            push_back('.');
        }
        append(ext);
        return *this;
    }

    // Makes the path name the file as it is stored on disk (see the .cpp).
    // False, with the path unchanged, when there is no such file.
    bool resolve_disk_name();

    friend bool operator==(const basic_path_string& a, const basic_path_string& b) {
        return Rules::Equal(a, b);
    }
};

using posix_path_string = basic_path_string<PosixPathRules>;
using windows_path_string = basic_path_string<WindowsPathRules>;

#ifdef _WIN32
using path_string = windows_path_string;
#else
using path_string = posix_path_string;
#endif
