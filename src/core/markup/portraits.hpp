#pragma once
// The nine speaker portraits the editor knows, by number (the portrait scroll
// bar's value, -1..7), display name and the byte the game text stores.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

inline constexpr std::int16_t kPortraitMin = -1;
inline constexpr std::int16_t kPortraitMax = 7;
inline constexpr std::int16_t kPortraitNone = -1;    // no portrait code
inline constexpr std::int16_t kPortraitUnknown = 6;  // "?": a portrait byte without a name

/// Display name of a portrait number; "" outside -1..7.
std::string GetPortraitName(std::int16_t number);

/// The portrait number whose display name equals name exactly; nothing when none
/// does.
std::optional<std::int16_t> GetPortraitNumber(std::string_view name);

/// The byte written after the portrait control code, or nothing for the numbers
/// that write no portrait code (-1 "None", 6 "?", and anything out of range).
std::optional<std::uint8_t> PortraitByte(std::int16_t number);

/// The portrait number a portrait byte of the game text stands for: 0-5 and 7
/// for the named bytes, 6 ("?") for any other.
std::int16_t PortraitOfByte(int byte);

}  // namespace qm
