#include "markup/portraits.hpp"

#include <array>

namespace qm {

namespace {

struct Portrait {
    std::int16_t number;
    const char* name;
    int byte;  // -1: the entry writes no portrait code
};

constexpr std::array<Portrait, 9> kPortraits = {{
    {-1, "None", -1},
    {0, "Rosalind", 0},
    {1, "Ms. Edna", 1},
    {2, "Mr. Thorley", 2},
    {3, "Hilde", 3},
    {4, "Ivy", 4},
    {5, "Greta", 5},
    {6, "?", -1},
    {7, "Mad Ms. Edna", 10},
}};

const Portrait* find(std::int16_t number) {
    for (const auto& p : kPortraits) {
        if (p.number == number) {
            return &p;
        }
    }
    return nullptr;
}

}  // namespace

std::string GetPortraitName(std::int16_t number) {
    const Portrait* p = find(number);
    return p ? p->name : "";
}

std::optional<std::int16_t> GetPortraitNumber(std::string_view name) {
    for (const auto& p : kPortraits) {
        if (name == p.name) {
            return p.number;
        }
    }
    return std::nullopt;
}

std::optional<std::uint8_t> PortraitByte(std::int16_t number) {
    const Portrait* p = find(number);
    if (!p || p->byte < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(p->byte);
}

std::int16_t PortraitOfByte(int byte) {
    for (const auto& p : kPortraits) {
        if (p.byte >= 0 && p.byte == byte) {
            return p.number;
        }
    }
    return kPortraitUnknown;
}

}  // namespace qm
