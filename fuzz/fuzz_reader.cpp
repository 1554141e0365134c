// Feeds arbitrary bytes to the reader and writes the tree text of the result.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "prov/tree_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = oryx::fuzz::InputFile(oryx::fuzz::Bytes(data, size));
    oryx::prov::ComponentStore store;
    oryx::prov::ReadProvisioningFile(path, store);
    std::size_t bytes = 0;
    oryx::prov::WriteTreeText(store, [&](std::string_view text) { bytes += text.size(); });
    (void)oryx::prov::IsConfigureFile(path);
    return 0;
}
