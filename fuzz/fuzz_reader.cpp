// Feeds arbitrary bytes to the reader and writes the tree text of the result.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "prov/component_store.h"
#include "prov/reader.h"
#include "prov/tree_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = [] {
        char name[] = "/tmp/oryx-fuzz-XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd >= 0) ::close(fd);
        return std::string(name);
    }();
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    oryx::prov::ComponentStore store;
    oryx::prov::ReadProvisioningFile(path, store);
    std::size_t bytes = 0;
    oryx::prov::WriteTreeText(store, [&](std::string_view text) { bytes += text.size(); });
    (void)oryx::prov::IsConfigureFile(path);
    return 0;
}
