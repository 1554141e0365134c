#include "history/version_stream.h"

#include <system_error>
#include <utility>

#include "prov/reader.h"

namespace oryx::history {

VersionStream::VersionStream(std::vector<std::string> files) : files_(std::move(files)) {}

VersionStream::~VersionStream() {
    if (ahead_.valid()) ahead_.wait();
}

VersionStream::Store VersionStream::Read(const std::string& file) {
    auto store = std::make_unique<prov::ComponentStore>();
    prov::ReadProvisioningFile(file, *store);
    return store;
}

// The reader takes only regular files, so a read ahead cannot wait on a writer.
void VersionStream::ReadAhead() {
    if (next_ >= files_.size()) return;
    try {
        ahead_ = std::async(std::launch::async, [file = files_[next_]] { return Read(file); });
    } catch (const std::system_error&) {
        // No thread to be had: the next Advance reads the file itself.
    }
}

bool VersionStream::Advance() {
    if (failed_ || next_ >= files_.size()) return false;
    Store store;
    try {
        if (ahead_.valid()) {
            store = ahead_.get();
        } else if (!current_) {
            // The first two files are read at once, as a pair to compare is.
            ++next_;
            ReadAhead();
            --next_;
            store = Read(files_[next_]);
        } else {
            store = Read(files_[next_]);
        }
    } catch (...) {
        failed_ = true;
        throw;
    }
    // The oldest store goes before the next read begins.
    previous_ = std::move(current_);
    current_ = std::move(store);
    ++next_;
    if (!ahead_.valid()) ReadAhead();
    return true;
}

}  // namespace oryx::history
