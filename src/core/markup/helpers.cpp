#include "markup/helpers.hpp"

#include "text.hpp"

namespace qm {

std::string GetHex(std::int16_t number) {
    const auto value = static_cast<std::uint16_t>(number);
    const unsigned low = value & 0xFF;
    const unsigned high = value >> 8;
    return {HexDigit(low >> 4), HexDigit(low), HexDigit(high >> 4), HexDigit(high)};
}

namespace {

constexpr std::string_view kColourNames[] = {"?", "No", "Yes", ""};

}  // namespace

std::string_view ColourName(Colour colour) {
    return kColourNames[static_cast<std::size_t>(colour)];
}

std::optional<Colour> ColourFromName(std::string_view name) {
    for (std::size_t i = 0; i < std::size(kColourNames); ++i) {
        if (kColourNames[i] == name) {
            return static_cast<Colour>(i);
        }
    }
    return std::nullopt;
}

}  // namespace qm
