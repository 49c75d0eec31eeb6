#include "markup/helpers.hpp"

namespace qm {

std::string GetHex(std::int16_t number) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const auto value = static_cast<std::uint16_t>(number);
    const std::uint8_t low = value & 0xFF;
    const std::uint8_t high = value >> 8;
    return {kHex[low >> 4], kHex[low & 0x0F], kHex[high >> 4], kHex[high & 0x0F]};
}

bool YN(const std::string& text) {
    return text == "Yes";
}

}  // namespace qm
