#pragma once

#include <cstdint>
#include <string>

namespace qm {

/// Decoded symbol of one game-text byte: a letter, punctuation or contraction, a
/// text digit («&0»..«&9»), a bare digit for bytes 0-9, "(return)" for 0x0D, or a
/// hexadecimal placeholder such as «{3A}» for any other byte (0xFF included).
/// Never fails.
std::string toascii(std::uint8_t code);

/// Appends toascii(code) to out without building a temporary string.
void appendDecoded(std::string& out, std::uint8_t code);

}  // namespace qm
