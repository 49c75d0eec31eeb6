#pragma once

#include <string>
#include <string_view>

namespace qm {

/// Turns the markers "@", "#", "$" with a digit or «{A}»..«{F}» argument into the
/// tokens "(Pause:a)", "(TextSpeed:a)", "(Animation:a)", text digits «&5» into
/// plain digits, and bare control digits that formed no token into placeholders
/// («{5}»), so that saving writes them back as the bytes they were; every other
/// "&" goes. The result is the markup text of a row.
std::string Good(std::string text);

/// text with each line break (CR LF, CR or LF) written as "(return)", the only
/// line break the markup knows: pasted or imported text keeps its lines. Works on
/// Latin-1 and UTF-8 alike.
std::string LineBreaksAsReturns(std::string_view text);

}  // namespace qm
