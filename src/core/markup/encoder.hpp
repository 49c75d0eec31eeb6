#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "markup/helpers.hpp"

namespace qm {

/// Encodes one row into game bytes, held one byte per char: the colour code
/// (unless coloured is Unset; Other writes 0), the portrait code (numbers 0-5 and 7), the body and
/// the terminator 255. Throws EncodeError, without returning any bytes, for a
/// placeholder or token value outside 0-255, an empty or non-numeric token
/// argument, a token opening without ")", unbalanced braces, or a character with
/// a code of 128 or more.
std::string StringtoQM(std::int16_t Portrait, Colour coloured, std::string_view text);

}  // namespace qm
