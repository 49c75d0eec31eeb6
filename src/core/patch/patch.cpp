#include "patch/patch.hpp"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "patch/bps.hpp"
#include "patch/ips.hpp"

namespace qm {

namespace {

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() &&
           std::memcmp(bytes.data(), prefix.data(), prefix.size()) == 0;
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(crc32_z(0, bytes.data(), bytes.size()));
}

PatchFormat DetectPatchFormat(std::span<const std::uint8_t> patch) {
    if (startsWith(patch, "BPS1")) {
        return PatchFormat::Bps;
    }
    if (startsWith(patch, "PATCH")) {
        return PatchFormat::Ips;
    }
    throw PatchError(
        "this is not a BPS or IPS patch: it starts with neither \"BPS1\" nor \"PATCH\"");
}

std::optional<PatchFormat> PatchFormatForFileName(std::string_view fileName) {
    const auto sep = fileName.find_last_of("/\\");
    const auto name = sep == std::string_view::npos ? fileName : fileName.substr(sep + 1);
    if (endsWithNoCase(name, ".bps")) {
        return PatchFormat::Bps;
    }
    if (endsWithNoCase(name, ".ips")) {
        return PatchFormat::Ips;
    }
    return std::nullopt;
}

Bytes CreatePatch(PatchFormat format, std::span<const std::uint8_t> source,
                  std::span<const std::uint8_t> target) {
    return format == PatchFormat::Bps ? CreateBpsPatch(source, target)
                                      : CreateIpsPatch(source, target);
}

Bytes ApplyPatch(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source) {
    return DetectPatchFormat(patch) == PatchFormat::Bps ? ApplyBpsPatch(patch, source)
                                                        : ApplyIpsPatch(patch, source);
}

}  // namespace qm
