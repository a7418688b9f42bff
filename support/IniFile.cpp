#include "support/IniFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <fstream>
#include <sstream>

#include "support/OsError.h"

namespace {

std::string_view Trim(std::string_view s) {
    const char* blanks = " \t";
    std::size_t b = s.find_first_not_of(blanks);
    if (b == std::string_view::npos) {
        return {};
    }
    return s.substr(b, s.find_last_not_of(blanks) - b + 1);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// "[Name]" -> true with `name`; comments and other lines -> false.
bool SectionHeader(std::string_view line, std::string_view& name) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[') {
        return false;
    }
    std::size_t close = line.find(']');
    if (close == std::string_view::npos) {
        return false;
    }
    name = Trim(line.substr(1, close - 1));
    return true;
}

// "key=value" -> true with both parts trimmed; comments are no key lines.
bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
    std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '#') {
        return false;
    }
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        return false;
    }
    key = Trim(line.substr(0, eq));
    value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return !key.empty();
}

}  // namespace

IniFile::Lines IniFile::Load() const {
    Lines file;
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
        return file;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    // Editors on other systems often lead with a byte order mark; it is no
    // part of the first line.
    const char kBom[] = "\xEF\xBB\xBF";
    if (text.starts_with(kBom)) {
        file.bom = kBom;
        text.erase(0, file.bom.size());
    }
    if (text.find("\r\n") != std::string::npos) {
        file.eol = "\r\n";
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lf = text.find('\n', start);
        std::size_t end = lf == std::string::npos ? text.size() : lf;
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        file.lines.push_back(std::move(line));
        if (lf == std::string::npos) {
            file.finalEol = false;
            break;
        }
        start = lf + 1;
    }
    return file;
}

void IniFile::Store(const Lines& file) const {
    std::string text = file.bom;
    for (std::size_t i = 0; i < file.lines.size(); ++i) {
        text += file.lines[i];
        if (i + 1 < file.lines.size() || file.finalEol) {
            text += file.eol;
        }
    }
    // Write a sibling and rename it over the file: a failed write leaves the
    // old settings whole.
    const std::string temp = path_ + ".tmp";
    auto fail = [&](int error) {
        ::unlink(temp.c_str());
        throw Error("設定ファイル " + path_ + " に書き込めません: " + os_error(error).text);
    };
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        fail(errno);
    }
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) {
                continue;
            }
            int error = n < 0 ? errno : EIO;
            ::close(fd);
            fail(error);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) {
        fail(errno);
    }
    if (::rename(temp.c_str(), path_.c_str()) != 0) {
        fail(errno);
    }
}

long IniFile::FindKey(const Lines& file, std::string_view section, std::string_view key,
                      long* sectionEnd) {
    long end = -1;
    bool inSection = false;
    bool seen = false;  // only the first section of a name counts
    long found = -1;
    for (long i = 0; i < static_cast<long>(file.lines.size()); ++i) {
        std::string_view line = file.lines[static_cast<std::size_t>(i)];
        std::string_view name;
        if (SectionHeader(line, name)) {
            if (inSection) {
                break;
            }
            inSection = !seen && EqualNoCase(name, section);
            if (inSection) {
                seen = true;
                end = i + 1;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        std::string_view k;
        std::string_view v;
        if (KeyLine(line, k, v)) {
            end = i + 1;
            if (found < 0 && EqualNoCase(k, key)) {
                found = i;
            }
        }
    }
    if (sectionEnd) {
        *sectionEnd = end;
    }
    return found;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                const std::string& defaultValue) const {
    Lines file = Load();
    long i = FindKey(file, section, key, nullptr);
    if (i < 0) {
        return defaultValue;
    }
    std::string_view k;
    std::string_view v;
    KeyLine(file.lines[static_cast<std::size_t>(i)], k, v);
    return std::string(v);
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FindKey(Load(), section, key, nullptr) >= 0;
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    std::string text = ReadString(section, key, {});
    std::string_view s = text;
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
    }
    int value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) {
        return defaultValue;
    }
    return value;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    for (std::string_view part : {section, key, value}) {
        if (part.find_first_of("\r\n") != std::string_view::npos) {
            throw Error("設定ファイル " + path_ +
                        " に改行を含む値は書き込めません: " + std::string(key));
        }
    }
    Lines file = Load();
    long sectionEnd = -1;
    long i = FindKey(file, section, key, &sectionEnd);
    std::string line = std::string(key) + "=" + std::string(value);
    if (i >= 0) {
        file.lines[static_cast<std::size_t>(i)] = std::move(line);
    } else if (sectionEnd >= 0) {
        file.lines.insert(file.lines.begin() + sectionEnd, std::move(line));
    } else {
        if (!file.lines.empty() && !file.lines.back().empty()) {
            file.lines.emplace_back();
        }
        file.lines.push_back("[" + std::string(section) + "]");
        file.lines.push_back(std::move(line));
        file.finalEol = true;
    }
    Store(file);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
    Lines file = Load();
    long i = FindKey(file, section, key, nullptr);
    if (i >= 0) {
        file.lines.erase(file.lines.begin() + i);
        Store(file);
    }
}
