#pragma once
// The nine speaker portraits the editor knows, by number (the portrait scroll
// bar's value, -1..7), display name and the byte the game text stores.

#include <cstdint>
#include <optional>
#include <string>

namespace qm {

inline constexpr std::int16_t kPortraitMin = -1;
inline constexpr std::int16_t kPortraitMax = 7;
inline constexpr std::int16_t kPortraitUnknown = 6;  // the "?" entry

/// Display name of a portrait number; "" outside -1..7.
std::string GetPortraitName(std::int16_t number);

/// Portrait number whose display name equals text exactly; 0 ("Rosalind") when
/// none does.
std::int16_t GetPortraitNumber(const std::string& text);

/// The byte written after the portrait control code, or nothing for the numbers
/// that write no portrait code (-1 "None", 6 "?", and anything out of range).
std::optional<std::uint8_t> PortraitByte(std::int16_t number);

}  // namespace qm
