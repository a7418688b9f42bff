#pragma once

// Small helpers shared by the core tests: a throw-away directory and whole-file
// reads and writes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "memo/BroltMemoData.h"
#include "support/Cp932.h"

// A fresh directory under the system's temporary directory, removed with
// everything in it when the test ends.
class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "memo-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            throw std::runtime_error("cannot create a temporary directory");
        }
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// CP932 bytes of a UTF-8 literal, so tests can be written in readable Japanese.
inline std::string Sj(std::string_view utf8) {
    return cp932::EncodeUtf8(utf8);
}

// Every memo of a store as (headword, content), in store order.
using Memos = std::vector<std::pair<std::string, std::string>>;

inline Memos AllMemos(const BroltMemoData& data) {
    Memos memos;
    for (std::size_t i = 0; i < data.Count(); ++i) {
        memos.emplace_back(data.HeadwordAt(i), data.ContentAt(i));
    }
    return memos;
}
