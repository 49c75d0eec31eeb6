#pragma once

#include <cstdint>
#include <string>

namespace qm {

/// Four upper-case hex digits of a 16-bit value, low byte first: 0x1234 -> «3412»,
/// -1 -> «FFFF».
std::string GetHex(std::int16_t number);

/// True exactly when text is "Yes".
bool YN(const std::string& text);

}  // namespace qm
