#include "settings/settings_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <system_error>
#include <thread>

namespace oryx::settings {

namespace {

constexpr std::string_view kLockFileName = ".lock";
// Far above any settings file ORYX writes; keeps a wrong file from being read whole.
constexpr off_t kLargestFile = 16 * 1024 * 1024;
constexpr std::string_view kTempSuffix = "XXXXXX";  // filled in by mkostemp

std::string TempPrefix(const std::filesystem::path& file) { return "." + file.filename().string() + "."; }

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, std::chrono::steady_clock::duration patience) {
    // A read-only descriptor is enough for flock, so an existing lock file
    // that is not ours to write still serves.
    const int fd = open((folder / kLockFileName).c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return;
    // Poll rather than block: a process stopped while holding the lock must
    // not freeze this one.
    const auto start = std::chrono::steady_clock::now();
    const auto giveUp = start + patience;
    bool held = true;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const auto now = std::chrono::steady_clock::now();
        if ((errno != EWOULDBLOCK && errno != EINTR) || now >= giveUp) {
            held = false;
            break;
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(std::chrono::milliseconds(5), giveUp - now));
    }
    waited_ = std::chrono::steady_clock::now() - start;
    if (held)
        fd_ = fd;
    else
        close(fd);
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) close(fd_);  // closing the only descriptor releases the lock
}

ReadResult ReadSettingsFile(const std::filesystem::path& file, std::string& text) {
    text.clear();
    // O_NONBLOCK: opening a FIFO put in the file's place must not wait for a writer.
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    struct stat st {};
    ReadResult result = ReadResult::Failed;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kLargestFile) {
        text.reserve(static_cast<std::size_t>(st.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 || text.size() + static_cast<std::size_t>(n) > static_cast<std::size_t>(kLargestFile)) break;
            if (n == 0) {
                result = ReadResult::Read;
                break;
            }
            text.append(buffer, static_cast<std::size_t>(n));
        }
    }
    close(fd);
    if (result != ReadResult::Read) text.clear();
    return result;
}

bool MakeFolder(const std::filesystem::path& folder) {
    if (mkdir(folder.c_str(), 0700) == 0) return true;
    if (errno == ENOENT) {
        const std::filesystem::path parent = folder.parent_path();
        if (parent.empty() || parent == folder || !MakeFolder(parent)) return false;
        if (mkdir(folder.c_str(), 0700) == 0) return true;
    }
    struct stat st {};
    return errno == EEXIST && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ReplaceFile(const std::filesystem::path& file, std::string_view text) {
    std::filesystem::path target = file;
    std::error_code ec;
    if (std::filesystem::is_symlink(file, ec)) {
        target = std::filesystem::weakly_canonical(file, ec);
        if (ec) return false;
    }

    // The rename needs only the folder's rights: a file that is read-only,
    // or not ours to write, must refuse the write itself.
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(target.c_str(), W_OK) != 0))
        return false;

    std::string temp = (target.parent_path() / TempPrefix(target)).string();
    temp += kTempSuffix;
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = true;
    if (exists) {
        // Keeps the owner where the rights allow it (root writing a user's file).
        if (old.st_uid != geteuid() || old.st_gid != getegid()) (void)!fchown(fd, old.st_uid, old.st_gid);
        ok = fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && WriteAll(fd, text) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    SyncFolder(target.parent_path());
    return true;
}

void RemoveStaleTemporaries(const std::filesystem::path& file) {
    const std::string prefix = TempPrefix(file);
    const std::size_t length = prefix.size() + kTempSuffix.size();
    std::error_code ec;
    for (std::filesystem::directory_iterator it(file.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() == length && name.compare(0, prefix.size(), prefix) == 0)
            std::filesystem::remove(it->path(), ec);
    }
}

}  // namespace oryx::settings
