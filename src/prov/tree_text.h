#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace oryx::prov {

class ComponentStore;

// Receives the tree text in pieces of any size.
using TextSink = std::function<void(std::string_view)>;

// The indented "|--" drawing of the store, CR LF lines. Each attribute line is
// written with its own value.
void WriteTreeText(const ComponentStore& store, const TextSink& sink);
void WriteTreeText(const ComponentStore& store, std::ostream& out);
// Creates or overwrites the file; raises FileError on failure.
void WriteTreeText(const std::string& fileName, const ComponentStore& store);

}  // namespace oryx::prov
