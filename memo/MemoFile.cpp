// Writing memo files. The format's CR LF translation is done here, byte for
// byte, not by a text-mode stream.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "memo/BroltMemoData.h"
#include "memo/FileDescriptor.h"
#include "memo/MemoRecord.h"
#include "support/OsError.h"

namespace {

constexpr std::size_t kChunk = 1 << 20;

// Copies n bytes to `out`, every LF as CR LF; returns the end of the copy.
// `out` has room for 2 * n bytes. Eight bytes at a time while they hold no
// LF: memo lines are short, so a memchr call per line would cost more.
char* CopyWithCrLf(const char* s, std::size_t n, char* out) {
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    const char* end = s + n;
    while (end - s >= 8) {
        std::uint64_t v;
        std::memcpy(&v, s, 8);
        std::uint64_t x = v ^ (ones * '\n');
        std::uint64_t lfs = (x - ones) & ~x & highs;  // exact up to the first LF
        std::memcpy(out, s, 8);
        if (lfs == 0) {
            s += 8;
            out += 8;
            continue;
        }
        // An LF among the eight: the bytes before it are in place already.
        std::size_t before =
            std::endian::native == std::endian::little
                ? static_cast<std::size_t>(std::countr_zero(lfs) / 8)
                : static_cast<std::size_t>(static_cast<const char*>(std::memchr(s, '\n', 8)) - s);
        out += before;
        *out++ = '\r';
        *out++ = '\n';
        s += before + 1;
    }
    for (; s < end; ++s) {
        if (*s == '\n') {
            *out++ = '\r';
        }
        *out++ = *s;
    }
    return out;
}

// Buffered writer that turns every LF into CR LF.
class MemoWriter {
  public:
    MemoWriter(int fd, bool toDisk) : fd_(fd), toDisk_(toDisk), buffer_(new char[kBuffer]) {}

    // The text, then one LF unless it is empty or already ends in LF.
    void WriteText(std::string_view text) {
        if (text.empty()) {
            return;
        }
        Write(text);
        if (text.back() != '\n') {
            Write("\n");
        }
    }

    void Write(std::string_view s) {
        while (!s.empty()) {
            // Each byte takes at most two in the buffer.
            std::size_t room = (kBuffer - used_) / 2;
            if (room < s.size() && room < kChunk) {
                Flush();
                room = kBuffer / 2;
            }
            std::size_t n = std::min(room, s.size());
            used_ = static_cast<std::size_t>(CopyWithCrLf(s.data(), n, buffer_.get() + used_) -
                                             buffer_.get());
            s.remove_prefix(n);
        }
    }

    void Flush() {
        std::size_t done = 0;
        while (done < used_) {
            ssize_t n = ::write(fd_, buffer_.get() + done, used_ - done);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw os_error(errno);
            }
            if (n == 0) {
                throw os_error(EIO);
            }
            done += static_cast<std::size_t>(n);
        }
#ifdef SYNC_FILE_RANGE_WRITE
        if (toDisk_) {
            // Only a hint: the caller's fsync still waits for every byte.
            ::sync_file_range(fd_, written_, static_cast<off_t>(used_), SYNC_FILE_RANGE_WRITE);
        }
#endif
        written_ += static_cast<off_t>(used_);
        used_ = 0;
    }

  private:
    static constexpr std::size_t kBuffer = 2 * kChunk;
    int fd_;
    bool toDisk_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    off_t written_ = 0;
};

}  // namespace

void BroltMemoData::WriteTo(int fd, bool toDisk) const {
    MemoWriter out(fd, toDisk);
    if (!templateHeadword.empty() || !templateContent.empty()) {
        out.WriteText("T>" + templateHeadword);
        out.WriteText(templateContent);
        out.Write("\n");
    }
    auto writeMemo = [&out](const Record* r) {
        out.WriteText(r->Headword());
        out.WriteText(r->Content());
        out.Write("\n");
    };
    // The reader takes records beginning with "T>" for the template until the
    // first memo; a memo "T>..." that sorts first would turn into the
    // template. The reader does not rely on the order, so another memo leads.
    auto lead = memos.begin();
    while (lead != memos.end() && (*lead)->Headword().starts_with("T>")) {
        ++lead;
    }
    if (lead != memos.begin() && lead != memos.end()) {
        writeMemo(*lead);
    }
    for (auto it = memos.begin(); it != memos.end(); ++it) {
        if (memos.end() - it > static_cast<std::ptrdiff_t>(Record::kPrefetchAhead)) {
            it[Record::kPrefetchAhead]->Prefetch();
        }
        if (it != lead || lead == memos.begin()) {
            writeMemo(*it);
        }
    }
    out.Flush();
}

void BroltMemoData::SaveToFile(const std::string& path) const {
    int raw;
    do {
        raw = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (raw < 0 && errno == EINTR);
    if (raw < 0) {
        throw os_error(errno);
    }
    FileDescriptor fd(raw);
    WriteTo(fd.get());
    if (::close(fd.release()) != 0) {
        throw os_error(errno);
    }
}
