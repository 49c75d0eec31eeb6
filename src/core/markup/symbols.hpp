#pragma once
// The game font's symbols and their bytes, written once: the decoder reads bytes
// through this table and the encoder writes them back through it.

#include <array>
#include <cstdint>
#include <string_view>

namespace qm {

struct Symbol {
    std::uint8_t byte;
    std::string_view text;
};

/// The symbols besides letters and digits, in the order the decoder tests them.
/// Where the markup reads a two-character symbol («..», «'s»), the encoder takes
/// it before its first character alone.
inline constexpr std::array<Symbol, 15> kFixedSymbols = {{
    {0x74, "!"},
    {0x73, "?"},
    {0x5E, ".."},
    {0x5D, "'v"},
    {0x5C, "."},
    {0x5B, ","},
    {0x0D, "(return)"},
    {0x3B, "'l"},
    {0x3C, "'m"},
    {0x3D, "'r"},
    {0x3E, "'s"},
    {0x3F, "'t"},
    {0x75, ">"},
    {0x5A, "'"},
    {0x5F, " "},
}};

/// A letter's byte is its character code minus this (A = 0x20, a = 0x40).
inline constexpr int kLetterOffset = 33;
/// Text digits 0-9 are the bytes 0x60-0x69.
inline constexpr std::uint8_t kTextDigitBase = 0x60;
/// The line-break token.
inline constexpr std::string_view kReturnToken = "(return)";

constexpr bool IsAsciiLetter(int c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

constexpr bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

}  // namespace qm
