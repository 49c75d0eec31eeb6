#pragma once
// Patches between two ROM images, in memory: which format a patch is in, and
// creating or applying one in either format (patch/bps.hpp, patch/ips.hpp).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>

#include "rom/layout.hpp"
#include "types.hpp"

namespace qm {

/// A patch that cannot be made or applied: damaged, meant for another file, or in
/// no format we know. what() is a message for the user, for example «the patch is
/// damaged: a record runs past the end of the patch».
class PatchError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class PatchFormat { Bps, Ips };

/// The largest patch CreatePatch writes: a BPS patch that carries a whole
/// kLargestRomImage image as new bytes, with its sizes and checksums (a BPS patch
/// is never larger than that; an IPS patch, of 16 MiB at most, is far smaller).
inline constexpr std::size_t kMaxPatchSize = kLargestRomImage + 64;

/// The largest file the patch commands read, ROM image or patch: the largest
/// patch, so that every patch we write can be applied; low enough that a damaged
/// size field cannot make us allocate gigabytes. The file a patch makes is
/// limited to kLargestRomImage.
inline constexpr std::size_t kMaxPatchedSize = kMaxPatchSize;

/// CRC-32 (zlib's, as BPS stores it) of bytes. Never fails.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

/// The format a patch's first bytes announce ("BPS1" or "PATCH"). Throws
/// PatchError when they announce neither.
PatchFormat DetectPatchFormat(std::span<const std::uint8_t> patch);

/// The format a file name's extension names: ".bps" or ".ips" in any case; no
/// format for any other name. Looks at the part after the last "/" or "\" only.
std::optional<PatchFormat> PatchFormatForFileName(std::string_view fileName);

/// A patch in format that turns source into target. Throws PatchError when the
/// format cannot hold the files (IPS: either over 16 MiB; BPS: a target over
/// kLargestRomImage).
Bytes CreatePatch(PatchFormat format, std::span<const std::uint8_t> source,
                  std::span<const std::uint8_t> target);

/// Applies patch (format from its first bytes) to source and returns the patched
/// file; source is not changed. Throws PatchError when the format is unknown, the
/// patch is damaged or, for BPS, meant for another file.
Bytes ApplyPatch(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source);

}  // namespace qm
