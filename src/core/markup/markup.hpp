#pragma once

#include <string>

namespace qm {

/// Turns the markers "@", "#", "$" with a digit or «{A}»..«{F}» argument into the
/// tokens "(Pause:a)", "(TextSpeed:a)", "(Animation:a)" and then removes every "&".
/// The result is the markup text of a row.
std::string Good(std::string text);

}  // namespace qm
