#pragma once
// IPS patches: "PATCH", records (3-byte big-endian offset, 2-byte size, data; a
// size of 0 marks an RLE record: 2-byte count and one byte to repeat), "EOF", and
// an optional 3-byte size to cut the file to.
// IPS carries no checksum: applied to the wrong ROM it silently writes its records
// anyway, and a damaged record that still parses goes unnoticed. Prefer BPS.

#include <cstddef>
#include <cstdint>
#include <span>

#include "patch/patch.hpp"

namespace qm {

/// The largest file IPS can describe: offsets are 24-bit.
inline constexpr std::size_t kIpsMaxSize = 0x1000000;

/// An IPS patch from source to target: records for the bytes that differ (nearby
/// differences merged, RLE records where a repeated byte makes them smaller, none
/// starting at 0x454F46, which would read as "EOF"), and the truncation size when
/// target is shorter than source. Throws PatchError when either file is larger
/// than kIpsMaxSize.
Bytes CreateIpsPatch(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target);

/// Applies an IPS patch to source and returns the result. Records past the end of
/// source lengthen it (any gap reads 0); a truncation size cuts the result to that
/// size (or pads it with 0). The whole patch is checked before anything is written.
/// Throws PatchError when a record runs past the patch or past 16 MiB, "EOF" is
/// missing, or anything but a truncation size follows it.
Bytes ApplyIpsPatch(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source);

}  // namespace qm
