#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/reg_document.h"
#include "settings/root_key.h"

namespace oryx::settings {

class FolderLock;

enum class RegDataType { Unknown, String, ExpandString, Integer, Binary };

// One connection to the settings registry: pick a root, open one key, read
// and write its values, close. Each root lives in its own text file in the
// settings folder. From OpenKey to CloseKey the connection holds the folder's
// lock, so a change made through it is based on what the file holds at that
// moment, whatever other processes write. A connection that only reads
// (OpenKeyToRead) takes no lock: files are only ever replaced whole.
//
// Names and strings end at their first NUL byte, as in the registry's C-string
// interface. Key and value names match ignoring the case of ASCII letters.
// Keep one writing connection at a time per process: a second one would wait
// for the first one's lock.
class Registry final {
public:
    static constexpr std::chrono::seconds kLockPatience{5};

    explicit Registry(TRootKey root);
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // `path` names the key from the root: \SOFTWARE\Vendor\App, the first
    // and one last "\" optional, "\" alone for the root itself. Without
    // canCreate only an existing key opens. A settings file that exists but
    // cannot be read opens for reading only, so it is never overwritten; so
    // does one whose lock another process holds for longer than `lockPatience`.
    bool OpenKey(std::string_view path, bool canCreate,
                 std::chrono::steady_clock::duration lockPatience = kLockPatience);
    // Opens an existing key for reading alone, without the lock.
    bool OpenKeyToRead(std::string_view path);
    // How long the last OpenKey waited for another process's lock.
    std::chrono::steady_clock::duration LockWaited() const { return lockWaited_; }
    // Writes the file if the key or a value was added or changed; false when
    // that write failed or a write was refused (the file could not be locked
    // or read). Also run by the destructor.
    bool CloseKey();
    bool HasOpenKey() const { return keyOpen_; }

    // Unknown for a missing value or no open key.
    RegDataType GetDataType(std::string_view name) const;
    // None unless the value is of the kind asked for.
    std::optional<std::string> ReadString(std::string_view name) const;
    std::optional<std::int32_t> ReadInteger(std::string_view name) const;
    std::optional<std::string> ReadBinary(std::string_view name) const;

    // False when no key is open or the store cannot be written.
    bool WriteString(std::string_view name, std::string_view value);
    bool WriteInteger(std::string_view name, std::int32_t value);
    bool WriteBinary(std::string_view name, std::string_view bytes);

    // The file that holds the root's keys.
    static std::filesystem::path RootFile(TRootKey root);

private:
    bool Write(std::string_view name, std::uint32_t type, std::string_view data);
    const RegValue* Find(std::string_view name) const;

    TRootKey root_;
    std::filesystem::path file_;
    std::unique_ptr<FolderLock> lock_;
    std::unique_ptr<RegDocument> document_;
    std::unique_ptr<RegDocument::KeyRead> readKey_;  // instead of the document, for reading alone
    std::vector<std::string> keyPath_;
    bool keyOpen_ = false;
    bool writable_ = false;
    bool changed_ = false;
    bool refused_ = false;  // a write was refused: the close reports it
    std::chrono::steady_clock::duration lockWaited_{};
};

}  // namespace oryx::settings
