#pragma once
// UTF-8 checks shared by the exchange formats: CSV and PO files are UTF-8 text,
// and a byte sequence that is not UTF-8 is refused where it is read or written.

#include <cstddef>
#include <string_view>

namespace qm {

/// Length in bytes (1-4) of the well-formed UTF-8 character that starts at
/// text[pos], or 0 when the bytes there are not one (a stray continuation byte, a
/// truncated sequence, an overlong form, a surrogate, a value above U+10FFFF).
/// pos must be below text.size(). Never throws.
std::size_t Utf8CharLength(std::string_view text, std::size_t pos);

/// Byte offset of the first byte that does not start a well-formed UTF-8
/// character, or std::string_view::npos when the whole text is valid UTF-8.
std::size_t FindInvalidUtf8(std::string_view text);

}  // namespace qm
