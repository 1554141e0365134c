#pragma once

#include <string_view>

// A node whose values make every kind of reference, and every near miss.
namespace oryx::testing {

inline constexpr std::string_view kReferenceNode =
    "start prov\n"
    "add Shelf\n"
    "add Shelf Card/2\n"
    "set Shelf Card/2 cardType eth\n"
    "add Shelf Card/5\n"
    "add Lp/2\n"
    "set Lp/2 mainCard shelf card/2, spareCard Shelf Card/5, selfRef Lp/2, retired Shelf Card/2!, "
    "&backup Shelf Card/2, gap Lp/2  Sonet/0, odd Lp/2 Odd\tName/1   \n"
    "add Lp/2 Sonet/0\n"
    "add Lp/2 Odd\tName/1\n"
    "add Lp/2 &Hidden/1\n"
    "set Lp/2 &Hidden/1 pointer Shelf Card/2\n"
    "add AtmIf/21\n"
    "set AtmIf/21 interfaceName LP/2 SONET/0 Path/0, retiredPath Lp/2 Sonet/0 Path/1!, "
    "hiddenPath Lp/2 &Hidden/1, primary Lp/2 Sonet/0 \t\n"
    "add AtmIf/22\n"
    "set AtmIf/22 nextHop atmif/99 Vcc/0.1, retiredHop AtmIf/99 Vcc/0.2!, shelfNine Shelf/9 Card/1, "
    "trunk Trk/1 Atm, port Shelf Card/2 Port/1, tabbed AtmIf/98 Vcc/0\t1\n"
    "add &Secret/1\n"
    "set &Secret/1 pointer Lp/2\n";

}  // namespace oryx::testing
