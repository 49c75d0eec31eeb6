#include "translation/words.hpp"

#include <algorithm>
#include <array>
#include <span>

#include "markup/display.hpp"
#include "markup/encoder.hpp"
#include "markup/symbols.hpp"
#include "text.hpp"

namespace qm {

namespace {

// What one piece of markup (a character or a token) is to a dictionary's word.
enum class Unit : std::uint8_t { Letter, Digit, Apostrophe, Silent, Break };

// What the contraction glyphs leave after their apostrophe, alone or with the
// letters that always follow them.
constexpr std::array<std::string_view, 7> kContractionEndings = {"s",  "t",  "m", "d",
                                                                 "ll", "ve", "re"};

struct Piece {
    Unit unit = Unit::Break;
    std::size_t position = 0;
    std::size_t length = 1;
    std::string text;  // a letter's UTF-8
};

Piece tokenPiece(std::string_view token, const ExtraLetters& letters) {
    if (token == kReturnToken) {
        return {};
    }
    if (token.front() == '{') {
        const auto value = PlaceholderValue(token);
        const std::string letter = value ? letters.of(*value) : std::string();
        return letter.empty() ? Piece{} : Piece{Unit::Letter, 0, 1, letter};
    }
    return {Unit::Silent, 0, 1, ""};
}

// One character, Latin-1 from markup or any from display text.
Piece characterPiece(char32_t c) {
    if (IsDigit(static_cast<int>(c))) {
        return {Unit::Digit, 0, 1, ""};
    }
    if (c == '\'') {
        return {Unit::Apostrophe, 0, 1, ""};
    }
    if (!IsWordCharacter(c)) {
        return {};
    }
    Piece letter{Unit::Letter, 0, 1, ""};
    AppendUtf8(letter.text, c);
    return letter;
}

// Characters of a UTF-8 text as display positions count them: a byte that is
// not UTF-8 is one.
std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        i += std::max<std::size_t>(Utf8CharLength(text, i), 1);
    }
    return count;
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
    if (!(afterApostrophe && IsContractionEnding(word.word))) {
        words.push_back(std::move(word));
    }
}

// Gathers pieces into runs between breaks and takes each run's word.
class WordCollector {
  public:
    void add(Piece piece) {
        if (piece.unit == Unit::Break) {
            takeWord(run_, words_);
            run_.clear();
        } else {
            run_.push_back(std::move(piece));
        }
    }
    std::vector<SpellingWord> words() {
        takeWord(run_, words_);
        run_.clear();
        return std::move(words_);
    }

  private:
    std::vector<Piece> run_;
    std::vector<SpellingWord> words_;
};

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

ExtraLetters::ExtraLetters(const CharacterMap& map) {
    for (std::size_t code = 0; code < letters_.size(); ++code) {
        const char32_t c = map.characterOf(static_cast<std::uint8_t>(code));
        if (c != 0 && IsWordCharacter(c)) {
            AppendUtf8(letters_[code], c);
        }
    }
}

bool IsContractionEnding(std::string_view ending) {
    const auto same = [ending](std::string_view known) {
        return std::equal(ending.begin(), ending.end(), known.begin(), known.end(),
                          SameIgnoringCase);
    };
    return std::any_of(kContractionEndings.begin(), kContractionEndings.end(), same);
}

std::vector<SpellingWord> SpellingWords(std::string_view markup, const ExtraLetters& letters) {
    WordCollector words;
    const std::vector<MarkupToken> tokens = MarkupTokens(markup);
    auto token = tokens.begin();
    for (std::size_t i = 0; i < markup.size();) {
        const bool atToken = token != tokens.end() && token->position == i;
        const std::size_t length = atToken ? token->length : 1;
        Piece piece = atToken ? tokenPiece(markup.substr(i, length), letters)
                              : characterPiece(static_cast<unsigned char>(markup[i]));
        piece.position = i;
        piece.length = length;
        words.add(std::move(piece));
        i += length;
        token += atToken ? 1 : 0;
    }
    return words.words();
}

std::vector<SpellingWord> DisplaySpellingWords(std::string_view display,
                                               const ExtraLetters& letters) {
    WordCollector words;
    const std::vector<MarkupToken> tokens = MarkupTokens(display);
    auto token = tokens.begin();
    std::size_t characters = 0;
    for (std::size_t i = 0; i < display.size();) {
        const bool atToken = token != tokens.end() && token->position == i;
        const std::size_t utf8 = atToken ? 0 : Utf8CharLength(display, i);
        const std::size_t bytes = atToken ? token->length : std::max<std::size_t>(utf8, 1);
        Piece piece = atToken     ? tokenPiece(display.substr(i, bytes), letters)
                      : utf8 == 0 ? Piece{}
                                  : characterPiece(Utf8CharAt(display, i, utf8));
        piece.position = characters;
        piece.length = atToken ? characterCount(display.substr(i, bytes)) : 1;
        characters += piece.length;
        words.add(std::move(piece));
        i += bytes;
        token += atToken ? 1 : 0;
    }
    return words.words();
}

}  // namespace qm
