#include "demo/demo.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "markup/encoder.hpp"
#include "markup/portraits.hpp"
#include "rom/internal_header.hpp"
#include "rom/layout.hpp"
#include "text.hpp"

namespace qm {

namespace {

struct Line {
    std::int16_t portrait;  // -1 none, 0-5, 7
    Colour coloured;
    const char* text;
};

// Sample dialogue written for the demo. Between them the lines use every symbol
// and control code the markup knows; texts over two lines of twenty characters
// show the preview's red overflow.
constexpr std::array<Line, 32> kLines = {{
    {0, Colour::No, "Good morning!(return)The tide's out."},
    {1, Colour::No, "Quillmoor's library(Pause:5)(return)opens at 9."},
    {2, Colour::Yes, "(Animation:1)I'm the keeper(return)of the old mill."},
    {3, Colour::Unset, "Hilde here. Did you(return)bring the lantern?"},
    {4, Colour::No, "(TextSpeed:3)Shh... the owls(return)are asleep."},
    {5, Colour::No, "We'll need 12 reeds,(return)not 11!"},
    {7, Colour::Yes, "(Animation:4)WHO moved my ink?!(Pause:{A})(return)Confess!"},
    {-1, Colour::Unset, "The wind howls over(return)the moor."},
    {0, Colour::No, "Let's go, then.(Pause:3) Quickly!"},
    {1, Colour::Yes, "You've been reading(return)by candlelight again."},
    {2, Colour::No, "(Animation:2)Hm. The wheel's stuck(return)since the flood."},
    {3, Colour::No, "(Animation:3)Zzz...(Pause:{C})(return)Oh! You're back."},
    {4, Colour::Unset, "I'd trade you 3 apples(return)for that map."},
    {5, Colour::Yes, "(TextSpeed:{B})Once upon a time...(return)there was a quill."},
    {7, Colour::No, "(Animation:5)Ow! My inkwell!(Pause:9)"},
    {-1, Colour::No, "A note says > Turn left(return)at the 2nd oak."},
    {0, Colour::Unset, "Rosalind's diary, day 40.(return)It rained again."},
    {1, Colour::No, "Don't run in the(return)reading room, please."},
    {2, Colour::No, "(TextSpeed:{E})The mill... it's(return)haunted, they say."},
    {3, Colour::Yes, "We're almost there!(Pause:{F})"},
    {4, Colour::No, "(Animation:0)Ivy's the name.(return)Herbs are my game."},
    {5, Colour::No, "They'll tell you it's(return)just a story, but..."},
    {7, Colour::Unset, "(Animation:4)SILENCE!(Pause:7)(return)This is a library!"},
    {-1, Colour::Yes, "You found {6A} a strange(return)rune, {A0}{B1}."},
    {0, Colour::No, "Is it 5 o'clock already?(return)I'm late!"},
    {1, Colour::No, "(TextSpeed:1)Quick, quick, quick!(Pause:1)"},
    {2, Colour::Unset, "You've got flour(return)on your nose."},
    {3, Colour::No, "(Pause:8)...(Pause:8)Well?"},
    {4, Colour::Yes, "The moon's up. Let's(return)see what blooms."},
    {5, Colour::No, "I've read 100 books.(return)Ask me anything!"},
    {7, Colour::No, "(Animation:1)Where's my red quill,(return)Rosalind?!"},
    {-1, Colour::No, "Chapter 7(return)The Lost Letter"},
}};

// A few strings stored in byte forms that the editor writes differently, as
// older patches may have left them: a portrait byte without a name (shows "?"),
// and the two-byte spellings of "'s" and "..".
std::vector<std::string> rawStrings() {
    auto body = [](const char* markup) {
        std::string bytes = StringtoQM(kPortraitNone, Colour::Unset, markup);
        bytes.pop_back();  // the terminator is added with the others
        return bytes;
    };
    std::string unnamedPortrait = std::string("\x04\x07", 2) + body("Who's there?");
    std::string apostrophe = body("Greta");
    apostrophe += "\x5A\x52";  // "'" then "s"
    apostrophe += body(" ink");
    std::string dots = body("On");
    dots += "\x5C\x5C";  // "." twice
    return {unnamedPortrait, apostrophe, dots};
}

// A HiROM internal header as a cartridge of 4 MiB carries it: title, map mode
// 0x21, no chips, ROM size 2^12 KiB, no save RAM, North America. The checksum
// pair is filled in last, from the finished image.
void putHeader(Bytes& image) {
    constexpr std::string_view kTitle = "QUILLMOOR DEMO";
    std::fill_n(image.begin() + kHiRomHeaderOffset, kHeaderTitleLength, ' ');
    std::copy(kTitle.begin(), kTitle.end(), image.begin() + kHiRomHeaderOffset);
    constexpr std::array<std::uint8_t, 7> kFields = {0x21, 0x00, 0x0C, 0x00, 0x01, 0x00, 0x00};
    std::copy(kFields.begin(), kFields.end(), image.begin() + kHiRomHeaderOffset + kHeaderMapMode);
    PutLittleEndian16(image, kHiRomHeaderOffset + kHeaderComplement, 0xFFFF);
    PutLittleEndian16(image, kHiRomHeaderOffset + kHeaderChecksum, 0x0000);
}

}  // namespace

Bytes BuildDemoImage() {
    Bytes image(4 * 1024 * 1024);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>((i * 7) ^ (i >> 8));
    }
    const std::vector<std::string> raw = rawStrings();
    std::vector<std::string> encoded;
    for (std::size_t n = 0; n + raw.size() < kStringCount; ++n) {
        const Line& line = kLines[n % kLines.size()];
        std::string text = line.text;
        if (n >= kLines.size()) {
            // Later rounds add a numbered page mark so the rows differ.
            text += " (Pause:2)" + std::to_string(n / kLines.size() + 1);
        }
        encoded.push_back(StringtoQM(line.portrait, line.coloured, text));
    }
    for (const auto& bytes : raw) {
        encoded.push_back(bytes + static_cast<char>(kTerminator));
    }

    std::size_t offset = 0;
    for (std::size_t n = 0; n < encoded.size(); ++n) {
        const std::size_t pointer = kPointerBase + offset;
        PutLittleEndian16(image, kPointerTableOffset + 2 * n, static_cast<std::uint16_t>(pointer));
        for (char c : encoded[n]) {
            image[kTextRegionOffset + offset++] = static_cast<std::uint8_t>(c);
        }
    }
    // The rest of the region: zeros, as an unused area of a ROM would be.
    for (std::size_t i = offset; i < kTextRegionLength; ++i) {
        image[kTextRegionOffset + i] = 0;
    }
    putHeader(image);
    FixHeaderChecksum(image);
    return image;
}

}  // namespace qm
