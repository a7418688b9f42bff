// Saving under real failures: a file-size limit, directories that refuse new
// files, a backup that cannot be replaced, allocation failures, and a save
// killed at random moments. Whatever happens, the memo file holds one
// complete version and a failed save changes nothing.

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "AllocFailure.h"
#include "DocState.h"
#include "TestSupport.h"
#include "memo/BroltMemoDoc.h"
#include "support/Message.h"
#include "support/OsError.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// Runs `body` in a forked child and returns its exit status, or 128 plus the
// signal that ended it.
int RunInChild(const std::function<int()>& body) {
    pid_t pid = fork();
    if (pid == 0) {
        int status = 99;
        try {
            status = body();
        } catch (...) {
        }
        _exit(status);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The os_error code a call raised, 0 when it raised none, -1 for another kind.
int OsErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const os_error& e) {
        return e.code;
    } catch (...) {
        return -1;
    }
    return 0;
}

// A whole file in one read (the test's files run to tens of megabytes).
std::string ReadLarge(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(fs::file_size(path), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return in ? bytes : std::string("unreadable");
}

mode_t ModeOf(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// A directory holding memo.txt (saved twice by the document, so memo.bak
// holds the first version) and a document that has changed since.
class SafeSaveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        doc.SubmitSetMemo("apple", "red\n");
        doc.Save(path, true);
        doc.SubmitSetMemo("kiwi", "green\n");
        doc.Save(path, false);
        memoBytes = ReadBytes(path);
        backupBytes = ReadBytes(backup);
        doc.SubmitSetMemo("banana", "yellow\n");
        docBefore = StateOf(doc);
    }

    // Nothing on disk or in the document changed.
    void ExpectNothingChanged(const Names& names = {"memo.bak", "memo.txt"}) {
        EXPECT_EQ(ReadBytes(path), memoBytes);
        EXPECT_EQ(ReadBytes(backup), backupBytes);
        EXPECT_EQ(Listing(dir.path()), names);
        EXPECT_EQ(StateOf(doc), docBefore);
    }

    TempDir dir;
    std::string path = dir / "memo.txt";
    std::string backup = dir / "memo.bak";
    BroltMemoDoc doc;
    std::string memoBytes;
    std::string backupBytes;
    DocState docBefore;
};

TEST_F(SafeSaveTest, FileSizeLimitStopsTheWritePartWay) {
    // Several write chunks, far over the limit set below.
    doc.SubmitSetMemo("large", std::string(3 << 20, 'x') + "\n");
    docBefore = StateOf(doc);
    const std::string other = dir / "other.txt";

    int status = RunInChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {256 << 10, 256 << 10};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 10;
        }
        if (OsErrorOf([&] { doc.Save(path, false); }) != EFBIG) {
            return 11;
        }
        if (OsErrorOf([&] { doc.Save(other, true); }) != EFBIG) {
            return 12;
        }
        return StateOf(doc) == docBefore ? 0 : 13;
    });
    EXPECT_EQ(status, 0);
    ExpectNothingChanged();
    EXPECT_EQ(os_error(EFBIG).what(), std::system_category().message(EFBIG));
}

TEST_F(SafeSaveTest, DirectoryThatRefusesNewFiles) {
    // Root passes permission bits, so the save runs as nobody when we are root.
    const bool root = geteuid() == 0;
    struct passwd* nobody = getpwnam("nobody");
    if (root && !nobody) {
        GTEST_SKIP() << "no user to drop privileges to";
    }
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    if (!root) {
        fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::remove);
    }
    int status = RunInChild([&] {
        if (root && (setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 ||
                     setuid(nobody->pw_uid) != 0)) {
            return 10;
        }
        if (OsErrorOf([&] { doc.Save(path, false); }) != EACCES) {
            return 11;
        }
        if (OsErrorOf([&] { doc.Save(dir / "new.txt", true); }) != EACCES) {
            return 12;
        }
        return StateOf(doc) == docBefore ? 0 : 13;
    });
    fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::add);
    if (status == 10) {
        GTEST_SKIP() << "this environment does not let root become nobody";
    }
    EXPECT_EQ(status, 0);
    ExpectNothingChanged();
}

TEST_F(SafeSaveTest, TargetsThatCannotBeCreated) {
    WriteBytes(dir / "plain", "a file, not a directory");
    fs::create_directory(dir / "folder");
    const struct {
        std::string target;
        int error;
    } cases[] = {
        {dir / "missing/memo.txt", ENOENT},
        {dir / "plain/memo.txt", ENOTDIR},
        {dir / "folder", EISDIR},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OsErrorOf([&] { doc.Save(c.target, true); }), c.error) << c.target;
    }
    ExpectNothingChanged({"folder", "memo.bak", "memo.txt", "plain"});
    EXPECT_TRUE(fs::is_empty(dir / "folder"));
}

TEST_F(SafeSaveTest, BackupThatCannotBeReplacedStopsWithMessage9) {
    fs::remove(backup);
    for (bool empty : {true, false}) {
        fs::create_directory(backup);
        if (!empty) {
            WriteBytes(dir / "memo.bak/inside", "kept");
        }
        try {
            doc.Save(path, false);
            ADD_FAILURE() << "saved";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(e.what(), Message(9));
        }
        EXPECT_EQ(ReadBytes(path), memoBytes);
        EXPECT_EQ(Listing(dir.path()), (Names{"memo.bak", "memo.txt"}));
        EXPECT_EQ(Listing(backup), empty ? Names{} : Names{"inside"});
        EXPECT_EQ(StateOf(doc), docBefore);
    }
}

TEST_F(SafeSaveTest, SavedFileKeepsPermissionBits) {
    for (mode_t mode : {0600, 0640, 0444, 0755}) {
        ::chmod(path.c_str(), mode);
        doc.SubmitSetMemo("mode", std::to_string(mode) + "\n");
        doc.Save(path, false);
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(ModeOf(backup), mode);  // the previous file itself
    }
    const std::string other = dir / "other.txt";  // Save As over another file
    WriteBytes(other, "");
    ::chmod(other.c_str(), 0600);
    doc.Save(other, false);
    EXPECT_EQ(ModeOf(other), 0600u);

    // A new file gets what the umask allows.
    for (mode_t mask : {022, 077}) {
        mode_t previous = ::umask(mask);
        const std::string fresh = dir / ("fresh" + std::to_string(mask));
        doc.Save(fresh, false);
        ::umask(previous);
        EXPECT_EQ(ModeOf(fresh), static_cast<mode_t>(0666 & ~mask));
    }
}

TEST_F(SafeSaveTest, SymbolicLinkStaysALinkAndItsTargetIsSaved) {
    fs::create_directory(dir / "real");
    fs::rename(path, dir / "real/book.txt");
    fs::remove(backup);
    fs::create_symlink("real/book.txt", dir / "link.txt");
    fs::create_symlink("link.txt", dir / "chain.txt");  // a link to a link

    BroltMemoDoc linked;
    linked.Open(dir / "link.txt");
    linked.SubmitSetMemo("banana", "yellow\n");
    linked.Save(dir / "link.txt", false);
    EXPECT_EQ(fs::read_symlink(dir / "link.txt"), "real/book.txt");
    EXPECT_EQ(ReadBytes(dir / "real/book.bak"), memoBytes);  // beside the target
    const std::string saved = ReadBytes(dir / "real/book.txt");
    EXPECT_NE(saved.find("banana"), std::string::npos);

    linked.SubmitSetMemo("cherry", "red\n");
    linked.Save(dir / "chain.txt", true);  // Save As through two links: no backup
    EXPECT_EQ(ReadBytes(dir / "real/book.bak"), memoBytes);
    EXPECT_NE(ReadBytes(dir / "real/book.txt").find("cherry"), std::string::npos);
    EXPECT_TRUE(fs::is_symlink(dir / "chain.txt"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(Listing(dir.path()), (Names{"chain.txt", "link.txt", "real"}));
    EXPECT_EQ(Listing(dir / "real"), (Names{"book.bak", "book.txt"}));
}

// Running out of memory anywhere in a save changes nothing; after the last
// failure point the save goes through.
TEST_F(SafeSaveTest, AllocationFailureAnywhereChangesNothing) {
    int points =
        alloc_failure::Sweep([&] { doc.Save(path, false); }, [&] { ExpectNothingChanged(); });
    EXPECT_GT(points, 5);
    EXPECT_EQ(ReadBytes(backup), memoBytes);
    EXPECT_FALSE(doc.GetModified());

    doc.SubmitSetMemo("cherry", "red\n");
    docBefore = StateOf(doc);
    memoBytes = ReadBytes(path);
    backupBytes = ReadBytes(backup);
    const std::string other = dir / "other.txt";
    points = alloc_failure::Sweep([&] { doc.Save(other, true); }, [&] { ExpectNothingChanged(); });
    EXPECT_GT(points, 3);
    EXPECT_EQ(doc.FileName(), other);
}

// A save killed at any moment leaves the memo file, and the backup, holding
// one complete version: the one before or the one being saved.
TEST_F(SafeSaveTest, KilledSaveLeavesOneCompleteVersion) {
    // About 24 MB: a write takes long enough to be hit in its middle.
    BroltMemoDoc big;
    const std::string line(150, 'm');
    std::string content;
    for (int i = 0; i < 8; ++i) {
        content += line + "\n";
    }
    for (int i = 0; i < 20000; ++i) {
        big.Data().SetMemo("memo" + std::to_string(100000 + i), content);
    }
    big.SubmitSetTemplate("A", "version A\n");
    auto start = std::chrono::steady_clock::now();
    big.Save(path, true);
    const auto saveTime = std::chrono::steady_clock::now() - start;
    const std::string versionA = ReadLarge(path);
    big.SubmitSetTemplate("B", "version B\n");
    big.Save(dir / "b.txt", false);
    const std::string versionB = ReadLarge(dir / "b.txt");
    fs::remove(dir / "b.txt");
    fs::remove(backup);
    ASSERT_GT(versionA.size(), 20u << 20);

    std::mt19937 random(20240611);
    // Kill within about two saves, but keep the test short on a slow disk.
    const auto longest = std::clamp<std::chrono::steady_clock::duration>(
        2 * saveTime, std::chrono::milliseconds(50), std::chrono::milliseconds(400));
    for (int round = 0; round < 8; ++round) {
        pid_t pid = fork();
        if (pid == 0) {
            for (int i = 0; i < 100; ++i) {  // saves A and B in turn until killed
                const char* name = i % 2 ? "A" : "B";
                big.SubmitSetTemplate(name, std::string("version ") + name + "\n");
                big.Save(path, false);
            }
            _exit(0);
        }
        std::uniform_int_distribution<long> delay(0, longest.count());
        std::this_thread::sleep_for(std::chrono::steady_clock::duration(delay(random)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);

        const std::string now = ReadLarge(path);
        EXPECT_TRUE(now == versionA || now == versionB) << "round " << round;
        if (fs::exists(backup)) {
            const std::string kept = ReadLarge(backup);
            EXPECT_TRUE(kept == versionA || kept == versionB) << "round " << round;
        }
        // A killed save leaves its hidden temporary file behind; clear up.
        for (const std::string& name : Listing(dir.path())) {
            if (name != "memo.txt" && name != "memo.bak") {
                fs::remove(dir / name);
            }
        }
    }
}

}  // namespace
