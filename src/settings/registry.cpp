#include "settings/registry.h"

#include "settings/reg_document.h"
#include "settings/settings_file.h"
#include "settings/settings_folder.h"

namespace oryx::settings {

namespace {

std::string_view UpToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

// The key's names below the root; none for a path the registry would refuse:
// an empty name, or a line break that the file's header line cannot hold.
std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path) {
    path = UpToNul(path);
    if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    std::vector<std::string> names;
    if (path.empty()) return names;
    for (;;) {
        const std::size_t slash = path.find('\\');
        const std::string_view name = path.substr(0, slash);
        if (name.empty() || name.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
        names.emplace_back(name);
        if (slash == std::string_view::npos) return names;
        path.remove_prefix(slash + 1);
    }
}

}  // namespace

std::string_view RootKeyName(TRootKey root) {
    switch (root) {
    case TRootKey::hkClassesRoot: return "HKEY_CLASSES_ROOT";
    case TRootKey::hkCurrentConfig: return "HKEY_CURRENT_CONFIG";
    case TRootKey::hkCurrentUser: return "HKEY_CURRENT_USER";
    case TRootKey::hkDynData: return "HKEY_DYN_DATA";
    case TRootKey::hkLocalMachine: return "HKEY_LOCAL_MACHINE";
    case TRootKey::hkUsers: return "HKEY_USERS";
    }
    return "HKEY_CURRENT_USER";
}

std::filesystem::path Registry::RootFile(TRootKey root) {
    const std::filesystem::path folder = SettingsFolder();
    if (folder.empty()) return {};
    return folder / (std::string(RootKeyName(root)) + ".reg");
}

Registry::Registry(TRootKey root) : root_(root) {}

Registry::~Registry() { CloseKey(); }

bool Registry::OpenKey(std::string_view path, bool canCreate, std::chrono::steady_clock::duration lockPatience) {
    CloseKey();
    lockWaited_ = {};
    auto names = SplitKeyPath(path);
    file_ = RootFile(root_);
    if (!names || file_.empty()) return false;
    if (canCreate) MakeFolder(file_.parent_path());
    lock_ = std::make_unique<FolderLock>(file_.parent_path(), lockPatience);
    lockWaited_ = lock_->Waited();

    std::string text;
    const ReadResult read = ReadSettingsFile(file_, text);
    writable_ = lock_->Held() && read != ReadResult::Failed;
    document_ = std::make_unique<RegDocument>(RootKeyName(root_), std::move(text));
    if (!document_->KeyExists(*names)) {
        if (!canCreate || !writable_) {
            CloseKey();
            return false;
        }
        document_->ProvideKey(*names);
        changed_ = true;
    }
    keyPath_ = std::move(*names);
    keyOpen_ = true;
    return true;
}

bool Registry::OpenKeyToRead(std::string_view path) {
    CloseKey();
    auto names = SplitKeyPath(path);
    file_ = RootFile(root_);
    if (!names || file_.empty()) return false;
    std::string text;
    ReadSettingsFile(file_, text);
    auto read = std::make_unique<RegDocument::KeyRead>(RegDocument::ReadKey(RootKeyName(root_), text, *names));
    if (!read->exists) {
        CloseKey();
        return false;
    }
    readKey_ = std::move(read);
    keyPath_ = std::move(*names);
    keyOpen_ = true;
    return true;
}

bool Registry::CloseKey() {
    bool ok = !refused_;
    if (changed_ && writable_) {
        RemoveStaleTemporaries(file_);
        ok = MakeFolder(file_.parent_path()) && ReplaceFile(file_, document_->Format());
    }
    document_.reset();
    readKey_.reset();
    lock_.reset();
    keyPath_.clear();
    keyOpen_ = writable_ = changed_ = refused_ = false;
    return ok;
}

const RegValue* Registry::Find(std::string_view name) const {
    if (!keyOpen_) return nullptr;
    if (readKey_) return readKey_->Find(UpToNul(name));
    const RegSection* key = document_->FindKey(keyPath_);
    return key ? RegDocument::FindValue(*key, UpToNul(name)) : nullptr;
}

RegDataType Registry::GetDataType(std::string_view name) const {
    const RegValue* value = Find(name);
    if (!value) return RegDataType::Unknown;
    switch (value->type) {
    case kRegString: return RegDataType::String;
    case kRegExpandString: return RegDataType::ExpandString;
    case kRegDword: return RegDataType::Integer;
    case kRegBinary: return RegDataType::Binary;
    default: return RegDataType::Unknown;
    }
}

std::optional<std::string> Registry::ReadString(std::string_view name) const {
    const RegValue* value = Find(name);
    if (!value || (value->type != kRegString && value->type != kRegExpandString)) return std::nullopt;
    // Written in hex(1) form the data may carry its terminating NUL.
    return std::string(UpToNul(value->data));
}

std::optional<std::int32_t> Registry::ReadInteger(std::string_view name) const {
    const RegValue* value = Find(name);
    if (!value || value->type != kRegDword || value->data.size() != 4) return std::nullopt;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(value->data[static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(v);
}

std::optional<std::string> Registry::ReadBinary(std::string_view name) const {
    const RegValue* value = Find(name);
    if (!value || value->type != kRegBinary) return std::nullopt;
    return value->data;
}

bool Registry::Write(std::string_view name, std::uint32_t type, std::string_view data) {
    if (!keyOpen_ || !writable_) {
        refused_ = keyOpen_;
        return false;
    }
    if (RegDocument::SetValue(document_->ProvideKey(keyPath_), UpToNul(name), type, data)) changed_ = true;
    return true;
}

bool Registry::WriteString(std::string_view name, std::string_view value) {
    return Write(name, kRegString, UpToNul(value));
}

bool Registry::WriteInteger(std::string_view name, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    const char bytes[4] = {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
                           static_cast<char>((v >> 16) & 0xff), static_cast<char>(v >> 24)};
    return Write(name, kRegDword, std::string_view(bytes, 4));
}

bool Registry::WriteBinary(std::string_view name, std::string_view bytes) { return Write(name, kRegBinary, bytes); }

}  // namespace oryx::settings
