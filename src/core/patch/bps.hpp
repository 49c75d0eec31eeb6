#pragma once
// BPS patches: "BPS1", the source, target and metadata sizes as variable-length
// numbers, the metadata, a list of actions that build the target, and the CRC32s
// of source, target and the patch itself. The CRCs let a patch refuse the wrong
// ROM and notice its own damage.

#include <cstdint>
#include <span>

#include "patch/patch.hpp"

namespace qm {

/// A BPS patch from source to target with empty metadata. Unchanged stretches are
/// read from the source at the same offset; data that moved is copied from where
/// it lies in the source or in the target already written, the longest copies
/// found anywhere, so a save that shifts every later string costs a few bytes a
/// string, not the text again. Never larger than the target carried whole with the
/// patch's sizes and checksums (kMaxPatchSize for the largest image). Any
/// conforming applier reads it. Throws PatchError when target is larger than
/// kLargestRomImage, std::bad_alloc when memory runs out.
Bytes CreateBpsPatch(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target);

/// Applies a BPS patch to source and returns the target. Metadata of any length
/// is skipped. Throws PatchError with its own message when the patch's CRC does
/// not match («the patch is damaged: ...»), source is not the file the patch is
/// for («this patch is for a ROM of 4,194,304 bytes with CRC32 1A2B3C4D; this file
/// has ...»), the patch is malformed (a read past the patch, the source or the
/// target, an overflowing number, trailing bytes), or the result's CRC differs.
Bytes ApplyBpsPatch(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source);

}  // namespace qm
