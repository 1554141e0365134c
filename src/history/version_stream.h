#pragma once

#include <cstddef>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "prov/component_store.h"

namespace oryx::history {

// The versions of a node read one after the other, each file's store kept
// only while it is the current or the previous version. The file after the
// current one is read ahead on a second thread, so at most three stores are
// alive at once: the two being compared and the next.
class VersionStream final {
public:
    explicit VersionStream(std::vector<std::string> files);
    // Waits for a read still under way.
    ~VersionStream();
    VersionStream(const VersionStream&) = delete;
    VersionStream& operator=(const VersionStream&) = delete;

    // Makes the next file the current version and the current one the
    // previous; false when every file has been read. Throws what reading the
    // file throws, and the stream then ends.
    bool Advance();
    // Drops the previous version early, for a caller that never compares.
    void ReleasePrevious() { previous_.reset(); }

    // Valid after Advance gave true.
    const prov::ComponentStore& Current() const { return *current_; }
    // Null at the first version.
    const prov::ComponentStore* Previous() const { return previous_.get(); }
    std::size_t CurrentIndex() const { return next_ - 1; }
    const std::string& CurrentFile() const { return files_[next_ - 1]; }

private:
    using Store = std::unique_ptr<prov::ComponentStore>;
    static Store Read(const std::string& file);
    void ReadAhead();

    std::vector<std::string> files_;
    std::size_t next_ = 0;  // the file the next Advance makes current
    bool failed_ = false;
    Store previous_;
    Store current_;
    std::future<Store> ahead_;  // the read of files_[next_], when under way
};

}  // namespace oryx::history
