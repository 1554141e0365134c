#include "compare/read_pair.h"

#include <future>
#include <system_error>

#include "prov/component_store.h"
#include "prov/reader.h"

namespace oryx::compare {

// The reader takes only regular files, so neither read can wait on a writer.
void ReadPair(const std::string& firstFile, prov::ComponentStore& first, const std::string& secondFile,
              prov::ComponentStore& second) {
    std::future<void> secondRead;
    try {
        secondRead = std::async(std::launch::async, [&] { prov::ReadProvisioningFile(secondFile, second); });
    } catch (const std::system_error&) {
        // No thread to be had: read them in turn.
        prov::ReadProvisioningFile(firstFile, first);
        prov::ReadProvisioningFile(secondFile, second);
        return;
    }
    // The future's destructor waits for the second read even when the first
    // throws, and get() hands its error over: the first file's error wins.
    prov::ReadProvisioningFile(firstFile, first);
    secondRead.get();
}

}  // namespace oryx::compare
