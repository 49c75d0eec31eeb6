#include "translation/words.hpp"

#include <algorithm>
#include <span>

#include "markup/encoder.hpp"
#include "markup/symbols.hpp"
#include "text.hpp"

namespace qm {

namespace {

// What one piece of markup (a character or a token) is to a dictionary's word.
enum class Unit : std::uint8_t { Letter, Digit, Apostrophe, Silent, Break };

struct Piece {
    Unit unit = Unit::Break;
    std::size_t position = 0;
    std::size_t length = 1;
    std::string text;  // a letter's UTF-8
};

// The value of a placeholder token «{6A}», or -1 when the token is none.
int placeholderValue(std::string_view token) {
    if (token.size() < 3 || token.size() > 4 || token.front() != '{' || token.back() != '}') {
        return -1;
    }
    int value = 0;
    for (char c : token.substr(1, token.size() - 2)) {
        if (HexValue(c) < 0) {
            return -1;
        }
        value = value * 16 + HexValue(c);
    }
    return value;
}

Piece tokenPiece(std::string_view token, const ExtraLetters& letters) {
    if (token == kReturnToken) {
        return {};
    }
    if (token.front() == '{') {
        const int value = placeholderValue(token);
        const std::string& letter = value < 0 ? std::string() : letters.of(std::uint8_t(value));
        return letter.empty() ? Piece{} : Piece{Unit::Letter, 0, 1, letter};
    }
    return {Unit::Silent, 0, 1, ""};
}

Piece characterPiece(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsAsciiLetter(c) || (byte >= 0xC0 && byte != 0xD7 && byte != 0xF7)) {
        return {Unit::Letter, 0, 1, Latin1ToUtf8(std::string_view(&c, 1))};
    }
    if (IsDigit(c)) {
        return {Unit::Digit, 0, 1, ""};
    }
    return {c == '\'' ? Unit::Apostrophe : Unit::Break, 0, 1, ""};
}

// What the contraction glyphs leave after their apostrophe, alone or with the
// letters that always follow them.
bool contractionEnding(std::string word) {
    std::transform(word.begin(), word.end(), word.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    for (std::string_view ending : {"s", "t", "m", "d", "ll", "ve", "re"}) {
        if (word == ending) {
            return true;
        }
    }
    return false;
}

// The word a run of pieces holds, if any: edges trimmed to letters.
void takeWord(std::span<const Piece> run, std::vector<SpellingWord>& words) {
    const auto isLetter = [](const Piece& p) { return p.unit == Unit::Letter; };
    const auto first = std::find_if(run.begin(), run.end(), isLetter);
    if (first == run.end() ||
        std::any_of(run.begin(), run.end(), [](const Piece& p) { return p.unit == Unit::Digit; })) {
        return;
    }
    const auto last = std::find_if(run.rbegin(), run.rend(), isLetter).base() - 1;
    SpellingWord word{first->position, last->position + last->length - first->position, ""};
    for (auto p = first; p <= last; ++p) {
        word.word += p->unit == Unit::Apostrophe ? "'" : p->text;
    }
    const bool afterApostrophe = first != run.begin() && std::prev(first)->unit == Unit::Apostrophe;
    if (!(afterApostrophe && contractionEnding(word.word))) {
        words.push_back(std::move(word));
    }
}

}  // namespace

std::vector<std::string> MarkupWords(std::string_view markup) {
    std::vector<std::string> words;
    std::string word;
    const auto endWord = [&] {
        if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    };
    const std::vector<MarkupToken> tokens = MarkupTokens(markup);
    auto token = tokens.begin();
    for (std::size_t i = 0; i < markup.size();) {
        const bool atToken = token != tokens.end() && token->position == i;
        const std::size_t length = atToken ? token->length : 1;
        if (markup.substr(i, length) == kReturnToken || markup[i] == ' ') {
            endWord();
        } else {
            word += markup.substr(i, length);
        }
        i += length;
        token += atToken ? 1 : 0;
    }
    endWord();
    return words;
}

std::vector<SpellingWord> SpellingWords(std::string_view markup, const ExtraLetters& letters) {
    std::vector<SpellingWord> words;
    std::vector<Piece> run;
    const std::vector<MarkupToken> tokens = MarkupTokens(markup);
    auto token = tokens.begin();
    for (std::size_t i = 0; i < markup.size();) {
        const bool atToken = token != tokens.end() && token->position == i;
        Piece piece = atToken ? tokenPiece(markup.substr(i, token->length), letters)
                              : characterPiece(markup[i]);
        piece.position = i;
        piece.length = atToken ? token->length : 1;
        if (piece.unit == Unit::Break) {
            takeWord(run, words);
            run.clear();
        } else {
            run.push_back(std::move(piece));
        }
        i += atToken ? token->length : 1;
        token += atToken ? 1 : 0;
    }
    takeWord(run, words);
    return words;
}

}  // namespace qm
