#pragma once

// A settings file in the usual profile format: [Section] headers and
// key=value lines. Section and key names match without regard to ASCII case;
// every write reaches the file at once; other lines, comments and the order
// of everything are kept as they stand; a missing file, section or key gives
// the caller's default. Each call reads the file afresh, so instances of the
// program that share it see each other's writes.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class IniFile {
  public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    const std::string& FileName() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& defaultValue) const;
    // A value that is not a decimal number (or does not fit) gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // Read as an integer; anything but 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // Writes raise IniFile::Error, whose text names the file. A section, key
    // or value holding a line break is refused: it would add lines.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void DeleteKey(std::string_view section, std::string_view key);

    class Error : public std::runtime_error {
      public:
        using std::runtime_error::runtime_error;
    };

  private:
    struct Lines {
        std::vector<std::string> lines;
        std::string eol = "\n";
        bool finalEol = true;
        std::string bom;  // a UTF-8 byte order mark the file began with, kept
    };
    Lines Load() const;
    void Store(const Lines& file) const;
    // Index of the key's line in the section, or -1; `sectionEnd` receives the
    // index after the section's last key line (-1 when there is no section).
    static long FindKey(const Lines& file, std::string_view section, std::string_view key,
                        long* sectionEnd);

    std::string path_;
};
