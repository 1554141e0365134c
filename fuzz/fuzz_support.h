#pragma once

// Helpers shared by the fuzz targets.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace oryx::fuzz {

// Stops the run, so that libFuzzer keeps the input, when a property that
// must hold for every input does not.
inline void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A file of this process holding `bytes`, rewritten on every call: the
// readers under test take file names. It lives in memory where it can, as a
// file rewritten on disk thousands of times a second waits for the disk.
inline const std::string& InputFile(std::string_view bytes) {
    struct TempFile {
        std::string path = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/oryx-fuzz-XXXXXX" : "/tmp/oryx-fuzz-XXXXXX";
        TempFile() {
            const int fd = ::mkstemp(path.data());
            if (fd >= 0) ::close(fd);
        }
        ~TempFile() { ::unlink(path.c_str()); }
    };
    static const TempFile file;
    if (FILE* f = std::fopen(file.path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return file.path;
}

}  // namespace oryx::fuzz
