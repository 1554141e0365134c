#pragma once

// The provisioning file the main window's tests open.
namespace oryx::testing {

// One of each reported component, in the start-prov format.
inline constexpr char kSampleNode[] = R"(start prov
add Shelf
add Shelf Card/0
set Shelf Card/0 cardType aal1Ces
add Shelf Card/1
set Shelf Card/1 cardType eth
add Lp/0
set Lp/0 mainCard Shelf Card/0
add AtmIf/1
set AtmIf/1 interfaceName atm1
add AtmIf/1 Vcc/0.100
add AtmIf/1 Vcc/0.100 Nrp
set AtmIf/1 Vcc/0.100 Nrp atmConnection Lp/0
add FrUni/2
add FrUni/2 Dlci/100
add Vr/1
add Vr/1 Pp/eth1
)";

}  // namespace oryx::testing
