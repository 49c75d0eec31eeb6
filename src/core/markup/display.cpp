#include "markup/display.hpp"

#include <algorithm>
#include <optional>

#include "errors.hpp"
#include "text.hpp"

namespace qm {

namespace {

// MarkupToDisplay; with positions, also each markup byte's character position
// in the display text (and the text's length in characters at the end).
std::string toDisplay(std::string_view markup, const CharacterMap& map,
                      std::vector<std::size_t>* positions) {
    std::string out;
    out.reserve(markup.size() + 8);
    // Only a text with a "{" can hold a placeholder to show.
    const bool placeholders = !map.empty() && markup.find('{') != std::string_view::npos;
    const std::vector<MarkupToken> tokens =
        placeholders ? MarkupTokens(markup) : std::vector<MarkupToken>();
    auto token = tokens.begin();
    std::size_t characters = 0;
    for (std::size_t i = 0; i < markup.size();) {
        if (token != tokens.end() && token->position == i) {
            const auto value = PlaceholderValue(markup.substr(i, token->length));
            const char32_t c = value ? map.characterOf(*value) : 0;
            if (c != 0) {
                AppendUtf8(out, c);
                if (positions != nullptr) {
                    positions->insert(positions->end(), token->length, characters);
                }
                i += token->length;
                ++characters;
                ++token;
                continue;
            }
            ++token;
        }
        AppendUtf8(out, static_cast<unsigned char>(markup[i++]));
        if (positions != nullptr) {
            positions->push_back(characters);
        }
        ++characters;
    }
    if (positions != nullptr) {
        positions->push_back(characters);
    }
    return out;
}

/// A display text read into markup: each markup byte's character position in
/// the display text, and the characters that have no markup.
struct Reading {
    std::string markup;
    std::vector<std::size_t> origin;
    std::vector<MarkupProblem> refused;
    std::size_t characters = 0;
};

Reading toMarkup(std::string_view display, const CharacterMap& map) {
    Reading r;
    r.markup.reserve(display.size() + 8);
    const std::vector<MarkupToken> tokens =
        map.empty() ? std::vector<MarkupToken>() : MarkupTokens(display);
    auto token = tokens.begin();
    const auto emit = [&r](std::string_view bytes) {
        r.markup += bytes;
        r.origin.insert(r.origin.end(), bytes.size(), r.characters);
    };
    for (std::size_t i = 0; i < display.size(); ++r.characters) {
        while (token != tokens.end() && token->position + token->length <= i) {
            ++token;
        }
        const bool inToken = token != tokens.end() && token->position <= i;
        const std::size_t length = Utf8CharLength(display, i);
        if (length == 0) {
            r.refused.push_back(
                {r.characters, 1, "byte " + std::to_string(i + 1) + " is not UTF-8"});
            ++i;
            continue;
        }
        const char32_t c = Utf8CharAt(display, i, length);
        i += length;
        if (const auto code = inToken ? std::nullopt : map.codeOf(c)) {
            emit(Placeholder(*code));
        } else if (c <= 0xFF) {
            const char byte = static_cast<char>(c);
            emit(std::string_view(&byte, 1));
        } else {
            r.refused.push_back({r.characters, 1, LackedCharacterReason(c)});
        }
    }
    return r;
}

}  // namespace

std::string Placeholder(std::uint8_t code) {
    std::string text = "{";
    if (code >= 0x10) {
        text += HexDigit(code >> 4u);
    }
    return text + HexDigit(code) + "}";
}

std::optional<std::uint8_t> PlaceholderValue(std::string_view token) {
    if (token.size() < 3 || token.size() > 4 || token.front() != '{' || token.back() != '}') {
        return std::nullopt;
    }
    int value = 0;
    for (char c : token.substr(1, token.size() - 2)) {
        if (HexValue(c) < 0) {
            return std::nullopt;
        }
        value = value * 16 + HexValue(c);
    }
    return static_cast<std::uint8_t>(value);
}

std::string MarkupToDisplay(std::string_view markup, const CharacterMap& map) {
    return toDisplay(markup, map, nullptr);
}

std::string DisplayToMarkup(std::string_view display, const CharacterMap& map) {
    Reading r = toMarkup(display, map);
    if (!r.refused.empty()) {
        throw TextError(r.refused.front().reason);
    }
    return std::move(r.markup);
}

std::vector<MarkupProblem> CheckDisplay(std::string_view display, const CharacterMap& map) {
    Reading r = toMarkup(display, map);
    std::vector<MarkupProblem> problems = std::move(r.refused);
    for (const MarkupProblem& p : CheckMarkup(r.markup)) {
        const std::size_t start = std::min(p.position, r.markup.size());
        const std::size_t end = std::min(p.position + p.length, r.markup.size());
        const std::size_t from = start < r.origin.size() ? r.origin[start] : r.characters;
        const std::size_t to = end > start ? r.origin[end - 1] + 1 : from;
        problems.push_back({from, std::max<std::size_t>(to - from, 1), p.reason});
    }
    std::stable_sort(
        problems.begin(), problems.end(),
        [](const MarkupProblem& a, const MarkupProblem& b) { return a.position < b.position; });
    return problems;
}

std::size_t DisplayPosition(std::string_view markup, const CharacterMap& map,
                            std::size_t position) {
    std::vector<std::size_t> positions;
    positions.reserve(markup.size() + 1);
    toDisplay(markup, map, &positions);
    return positions[std::min(position, markup.size())];
}

}  // namespace qm
