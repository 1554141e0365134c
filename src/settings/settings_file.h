#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace oryx::settings {

// The exclusive lock of a settings folder, taken on a lock file inside it.
// The lock never sits on a settings file itself: those are replaced by rename,
// and a waiter would end up holding the lock of a file no longer in place.
class FolderLock final {
public:
    // Tries once, then waits for another process to let go for `patience`
    // at most; after that, or when the folder has no usable lock file, the
    // lock is not held.
    FolderLock(const std::filesystem::path& folder, std::chrono::steady_clock::duration patience);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    // How long the constructor waited for another process.
    std::chrono::steady_clock::duration Waited() const { return waited_; }

private:
    int fd_ = -1;
    std::chrono::steady_clock::duration waited_{};
};

enum class ReadResult { Read, Missing, Failed };

// Reads a whole settings file. Failed covers everything but a plain missing
// file: no rights, a folder or device in its place, a file too large to be one
// of ours.
ReadResult ReadSettingsFile(const std::filesystem::path& file, std::string& text);

// Creates the folder and any missing parents, readable by the user only.
bool MakeFolder(const std::filesystem::path& folder);

// Replaces the file's content all at once: the text goes to a new file beside
// it, reaches the disk, and is renamed over the old one, so a crash or a full
// disk leaves the previous file as it was. A file reached through a symbolic
// link is replaced at the link's target. The old file's permissions, and
// its owner where the rights allow, are kept. A file without write rights
// for this process, or read-only to everyone, is never replaced: false.
bool ReplaceFile(const std::filesystem::path& file, std::string_view text);

// Removes the temporary files ReplaceFile left when a process died while
// writing `file`. Only call it while holding the folder's lock, as every
// other writer then has finished.
void RemoveStaleTemporaries(const std::filesystem::path& file);

}  // namespace oryx::settings
