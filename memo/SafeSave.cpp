#include "memo/SafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <system_error>

#include "memo/BroltMemoData.h"
#include "memo/BroltMemoDoc.h"
#include "support/Message.h"
#include "support/OsError.h"

namespace fs = std::filesystem;

namespace {

// The file a save writes: a symbolic link's final target, else the path.
std::string WriteTarget(const std::string& path) {
    std::error_code ec;
    fs::path p(path);
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
        fs::path next = fs::read_symlink(p, ec);
        if (ec) {
            break;
        }
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return p.string();
}

std::string DirectoryOf(const std::string& path) {
    fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

mode_t CurrentUmask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// A new file beside `path` whose name no other file has; returns its name.
int CreateSibling(const std::string& path, const char* tag, mode_t mode, std::string& name) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    fs::path p(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string leaf = ".";
        leaf += p.filename().string();
        leaf += tag;
        leaf += std::to_string(random() % 1000000000);
        name = (p.parent_path() / leaf).string();
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Makes renames and new names in the directory durable; best effort.
void SyncDirectory(const std::string& directory) {
    int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes the store to a new temporary file beside `target`, on disk when
// this returns. Returns its name.
std::string WriteTemporary(const BroltMemoData& data, const std::string& target) {
    struct stat old;
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    std::string temp;
    int fd = CreateSibling(target, ".new.", 0600, temp);
    if (fd < 0) {
        throw os_error(errno);
    }
    try {
        // The new file gets the old one's permission bits, or the umask's.
        mode_t mode = replacing ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
        if (::fchmod(fd, mode) != 0) {
            throw os_error(errno);
        }
        data.WriteTo(fd, true);
        if (::fsync(fd) != 0) {
            throw os_error(errno);
        }
        int rc = ::close(fd);
        fd = -1;
        if (rc != 0) {
            throw os_error(errno);
        }
    } catch (...) {
        if (fd >= 0) {
            ::close(fd);
        }
        ::unlink(temp.c_str());
        throw;
    }
    return temp;
}

bool NoHardLinks(int error) {
    return error == EPERM || error == EXDEV || error == ENOTSUP || error == EOPNOTSUPP ||
           error == EMLINK || error == ENOSYS;
}

// Gives the written temporary file the name `target`; with a backup name,
// the previous version takes that name.
void PutInPlace(const std::string& temp, const std::string& target, const std::string& backup,
                const std::string& directory) {
    if (backup.empty()) {
        if (::rename(temp.c_str(), target.c_str()) != 0) {
            throw os_error(errno);
        }
        SyncDirectory(directory);
        return;
    }

    struct stat info;
    if (::lstat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        throw std::runtime_error(Message(10));  // nothing to give the backup name
    }
    if (::lstat(backup.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        throw std::runtime_error(Message(9));
    }

    // A second name for the previous version keeps it under its own name
    // while the new file takes that name.
    std::string keep;
    int keepFd = CreateSibling(target, ".old.", 0600, keep);
    if (keepFd < 0) {
        throw std::runtime_error(Message(10));
    }
    ::close(keepFd);
    ::unlink(keep.c_str());
    if (::link(target.c_str(), keep.c_str()) != 0) {
        if (!NoHardLinks(errno)) {
            throw std::runtime_error(Message(10));
        }
        // No hard links here: two renames, with both complete files on disk
        // throughout, though for a moment the name is absent.
        if (::rename(target.c_str(), backup.c_str()) != 0) {
            throw std::runtime_error(Message(errno == ENOENT ? 10 : 9));
        }
        if (::rename(temp.c_str(), target.c_str()) != 0) {
            int error = errno;
            ::rename(backup.c_str(), target.c_str());
            throw os_error(error);
        }
        SyncDirectory(directory);
        return;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        int error = errno;
        ::unlink(keep.c_str());
        throw os_error(error);
    }
    if (::rename(keep.c_str(), backup.c_str()) != 0) {
        // The old backup cannot be replaced: put the previous version back.
        ::rename(keep.c_str(), target.c_str());
        SyncDirectory(directory);
        throw std::runtime_error(Message(9));
    }
    SyncDirectory(directory);
}

}  // namespace

void SaveMemoFile(const BroltMemoData& data, const std::string& path, bool makeBackup) {
    // The names are formed before anything is written: once the new file is
    // in place, nothing may fail (running out of memory included).
    const std::string target = WriteTarget(path);
    const std::string directory = DirectoryOf(target);
    const std::string backup = makeBackup ? BroltMemoDoc::BackupName(target) : std::string();
    const std::string temp = WriteTemporary(data, target);
    try {
        PutInPlace(temp, target, backup, directory);
    } catch (...) {
        ::unlink(temp.c_str());  // gone already if it took the name
        throw;
    }
}
