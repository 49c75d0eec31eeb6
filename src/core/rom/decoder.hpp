#pragma once

#include <cctype>
#include <cstdint>
#include <string>

// MinGW's <ctype.h> makes toascii a macro for its __toascii; included above, it
// is never included again, so the game's own toascii keeps its name.
#ifdef toascii
#undef toascii
#endif

namespace qm {

/// Decoded symbol of one game-text byte: a letter, punctuation or contraction, a
/// text digit («&0»..«&9»), a bare digit for bytes 0-9, "(return)" for 0x0D, or a
/// hexadecimal placeholder such as «{3A}» for any other byte (0xFF included).
/// Never fails.
std::string toascii(std::uint8_t code);

/// Appends toascii(code) to out without building a temporary string.
void appendDecoded(std::string& out, std::uint8_t code);

}  // namespace qm
