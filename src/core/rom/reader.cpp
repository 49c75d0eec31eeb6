#include "rom/reader.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "errors.hpp"
#include "rom/decoder.hpp"
#include "text.hpp"

namespace qm {

namespace {

// Copies length bytes from offset of image into dest; what lies beyond the end
// of a short image stays 0.
void copyArea(std::span<const std::uint8_t> image, std::size_t offset,
              std::span<std::uint8_t> dest) {
    std::fill(dest.begin(), dest.end(), std::uint8_t{0});
    if (offset >= image.size()) {
        return;
    }
    const std::size_t available = std::min(dest.size(), image.size() - offset);
    std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(offset), available, dest.begin());
}

}  // namespace

RomText ReadRomText(std::span<const std::uint8_t> image) {
    const std::size_t header = CopierHeaderLength(image.size());
    RomText text;
    copyArea(image, header + kPointerTableOffset, text.PointerTable);
    copyArea(image, header + kTextRegionOffset, text.TextBlock);
    return text;
}

RomText ReadRomText(const RegularFile& file, const ProgressFn& progress) {
    const std::size_t header = CopierHeaderLength(file.size());
    if (file.size() < header + kTextRegionEnd) {
        throw FileError(Quoted(file.path()) +
                        " is too short to be a ROM image of the game: it holds " +
                        BytesText(file.size()) + ", and the text region ends at byte " +
                        WithThousands(header + kTextRegionEnd) + ".");
    }
    if (file.size() > kLargestRomImage) {
        throw FileError(Quoted(file.path()) +
                        " is too large to be a ROM image of the game: it holds " +
                        BytesText(file.size()) + ", and no image holds more than " +
                        BytesText(kLargestRomImage) + ".");
    }
    RomText text;
    if (progress) {
        progress("Reading ROM Pointers");
    }
    file.readAt(header + kPointerTableOffset, text.PointerTable);
    if (progress) {
        progress("Reading ROM Strings");
    }
    file.readAt(header + kTextRegionOffset, text.TextBlock);
    return text;
}

std::string ProgressPercent(double value) {
    char buffer[64];
    // Up to 15 significant digits, no trailing zeros (as "%.15g" writes it).
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    const auto length = std::min<std::ptrdiff_t>(result.ptr - buffer, 3);
    return std::string(buffer, static_cast<std::size_t>(length));
}

namespace {

// The progress texts of IsolateRomStrings, each reported once where it first
// shows. A percentage changes only every few dozen bytes, so instead of being
// formatted for every byte it is formatted where the value reaches its next tenth
// (or whole) percent, after checking that the byte before still shows the text:
// the texts rise with the index, so all bytes between show it too.
class IsolateProgress {
  public:
    IsolateProgress(const ProgressFn& progress, std::size_t size)
        : progress_(progress), last_(size == 0 ? 1.0 : static_cast<double>(size - 1)) {}

    void at(std::size_t index) {
        if (!progress_ || index < next_) {
            return;
        }
        std::string text = textAt(index);
        if (text != shown_) {
            shown_ = std::move(text);
            progress_(shown_);
        }
        next_ = index + 1;
        const double value = percentAt(index);
        const double step = value < 10 ? 0.1 : 1.0;
        const double boundary = (std::floor(value / step) + 1) * step;
        const double change = std::ceil(boundary * last_ / 100);
        if (change > static_cast<double>(next_) && change < kFar &&
            textAt(static_cast<std::size_t>(change) - 1) == shown_) {
            next_ = static_cast<std::size_t>(change);
        }
    }

  private:
    double percentAt(std::size_t index) const { return static_cast<double>(index) / last_ * 100; }
    std::string textAt(std::size_t index) const {
        return "Isolating ROM Strings: " + ProgressPercent(percentAt(index)) + "%";
    }

    static constexpr double kFar = 1e15;  // beyond any region, and NaN compares false
    const ProgressFn& progress_;
    double last_;
    std::size_t next_ = 0;  // the first index that may show another text
    std::string shown_;
};

}  // namespace

std::vector<std::string> IsolateRomStrings(std::span<const std::uint8_t> textBlock,
                                           const ProgressFn& progress) {
    std::vector<std::string> strings(1);
    std::string accumulator = "0:";
    IsolateProgress report(progress, textBlock.size());
    for (std::size_t index = 0; index < textBlock.size(); ++index) {
        report.at(index);
        const std::uint8_t byte = textBlock[index];
        if (byte != kTerminator) {
            appendDecoded(accumulator, byte);
            continue;
        }
        strings.push_back(std::move(accumulator));
        if (strings.size() == kStringCount + 1) {
            break;
        }
        accumulator = std::to_string(index) + ":";
    }
    return strings;
}

}  // namespace qm
