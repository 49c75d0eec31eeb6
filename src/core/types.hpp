#pragma once
// Types and facts every part of the core shares.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace qm {

using Bytes = std::vector<std::uint8_t>;

/// Receives a progress text ("Reading ROM Strings", "Saving ROM: 10.%", ...).
using ProgressFn = std::function<void(std::string_view)>;

/// The byte that ends every string of game text.
inline constexpr std::uint8_t kTerminator = 0xFF;

}  // namespace qm
