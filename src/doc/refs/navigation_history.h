#pragma once

#include <optional>
#include <string>
#include <vector>

namespace oryx::doc {

// The places a document window left by a jump, as a browser keeps them: Back
// returns to the component selected before the latest jump, and the one left
// becomes the Forward entry; a new jump drops the Forward entries. Places are
// component paths, so a reloaded file keeps its history.
class NavigationHistory final {
public:
    // A jump leaves `from` (empty when nothing was selected).
    void Jumped(const std::string& from);
    bool CanGoBack() const { return !back_.empty(); }
    bool CanGoForward() const { return !forward_.empty(); }
    // The place to go back to, leaving `current`; nullopt when there is none.
    // `exists` tells a place still in the file from one that is gone, which
    // is dropped.
    template <typename Exists>
    std::optional<std::string> Back(const std::string& current, Exists exists) {
        return Move(back_, forward_, current, exists);
    }
    template <typename Exists>
    std::optional<std::string> Forward(const std::string& current, Exists exists) {
        return Move(forward_, back_, current, exists);
    }

private:
    template <typename Exists>
    static std::optional<std::string> Move(std::vector<std::string>& from, std::vector<std::string>& to,
                                           const std::string& current, Exists exists) {
        while (!from.empty()) {
            std::string place = std::move(from.back());
            from.pop_back();
            if (!exists(place)) continue;
            if (!current.empty()) to.push_back(current);
            return place;
        }
        return std::nullopt;
    }

    std::vector<std::string> back_;
    std::vector<std::string> forward_;
};

}  // namespace oryx::doc
