#pragma once
// The pointer's display form and the row's colour flag.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

/// Four upper-case hex digits of a 16-bit value, low byte first: 0x1234 -> «3412»,
/// -1 -> «FFFF».
std::string GetHex(std::int16_t number);

/// A string's colour code: none (shown "?"), argument 0 ("No"), argument 1
/// ("Yes"), or another argument (shown empty), as the loader found it.
enum class Colour : std::uint8_t { Unset, No, Yes, Other };

/// "?", "No", "Yes" or "".
std::string_view ColourName(Colour colour);

/// The colour whose name is exactly name; nothing for any other text.
std::optional<Colour> ColourFromName(std::string_view name);

}  // namespace qm
