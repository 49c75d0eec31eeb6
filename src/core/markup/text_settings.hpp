#pragma once

#include <string>

namespace qm {

/// Finds the control codes of a decoded string and replaces each control digit
/// 1..5 by its marker "@", "#", "$", "%", "^". The result has the input's length.
std::string TextSettings(std::string stext);

}  // namespace qm
