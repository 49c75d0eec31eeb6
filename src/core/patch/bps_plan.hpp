#pragma once
// Internal to patch/: choosing the actions of a BPS patch, and what each costs in
// bytes. bps.cpp writes what is chosen here.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qm {

enum BpsAction : std::uint8_t {
    kSourceRead = 0,  // the source's bytes at the same offset
    kTargetRead = 1,  // bytes carried in the patch
    kSourceCopy = 2,  // bytes from anywhere in the source
    kTargetCopy = 3,  // bytes from earlier in the target, overlapping allowed
};

/// One action: for a copy, relative is the offset word as the patch stores it
/// (distance from the end of the previous copy of that kind, shifted left, the
/// sign in bit 0).
struct BpsStep {
    BpsAction action;
    std::size_t length;
    std::uint64_t relative = 0;
};

/// Bytes of a BPS number: seven bits a byte, each continuation also taking one off.
constexpr std::size_t BpsNumberSize(std::uint64_t value) {
    std::size_t size = 1;
    for (value >>= 7; value != 0; value = (value - 1) >> 7) {
        ++size;
    }
    return size;
}

/// The offset word of a copy that starts at from while its cursor stands at cursor.
constexpr std::uint64_t BpsRelative(std::size_t from, std::size_t cursor) {
    return from >= cursor ? std::uint64_t{from - cursor} << 1
                          : std::uint64_t{cursor - from} << 1 | 1;
}

/// Actions that build target from source, each target byte covered once, in
/// order. Where bytes agree at the same offset they are read from the source;
/// other stretches become whichever copy from source or earlier target, or
/// literal bytes, costs the fewest patch bytes. Never fails.
std::vector<BpsStep> PlanBpsActions(std::span<const std::uint8_t> source,
                                    std::span<const std::uint8_t> target);

}  // namespace qm
