#pragma once

#include <string>

namespace oryx::prov {
class ComponentStore;
}

namespace oryx::compare {

// Reads the two files to compare at once, on two threads, which on two cores
// nearly halves the wait. Throws what reading a file throws; when both fail,
// the first file's error is the one thrown.
void ReadPair(const std::string& firstFile, prov::ComponentStore& first, const std::string& secondFile,
              prov::ComponentStore& second);

}  // namespace oryx::compare
