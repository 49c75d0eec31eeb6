#pragma once

#include "types.hpp"

namespace qm {

/// A 4 MiB demo ROM image in the game's layout: 512 strings of sample dialogue
/// written for this project, using every control code and symbol, with a pointer
/// table that points at each, and a valid HiROM internal header titled
/// "QUILLMOOR DEMO". Filler elsewhere. Deterministic.
Bytes BuildDemoImage();

}  // namespace qm
