#pragma once

namespace oryx::prov {

// The processors this process may run on (taskset and cgroups limit them),
// found once. Work is split across threads only when there are two or more.
unsigned UsableProcessors();

}  // namespace oryx::prov
