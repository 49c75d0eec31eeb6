#include "markup/encoder.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "errors.hpp"
#include "markup/charmap.hpp"
#include "markup/portraits.hpp"
#include "markup/symbols.hpp"
#include "text.hpp"
#include "types.hpp"

namespace qm {

namespace {

constexpr int kLargestValue = 254;  // 255 ends a string

struct Token {
    std::string_view opening;
    std::uint8_t code;
};
constexpr std::array<Token, 3> kTokens = {{{"(Pause:", 1}, {"(TextSpeed:", 2}, {"(Animation:", 3}}};

std::string piece(std::string_view text, std::size_t from, std::size_t to) {
    return Quoted(Latin1ToUtf8(text.substr(from, to - from)));
}

// The value of a token argument: blanks around it ignored, a decimal number (a
// fraction rounded down) or a placeholder; nothing when it is neither.
std::optional<int> argumentValue(std::string_view arg) {
    while (!arg.empty() && arg.front() == ' ') {
        arg.remove_prefix(1);
    }
    while (!arg.empty() && arg.back() == ' ') {
        arg.remove_suffix(1);
    }
    if (arg.size() >= 3 && arg.size() <= 4 && arg.front() == '{' && arg.back() == '}') {
        int value = 0;
        for (char c : arg.substr(1, arg.size() - 2)) {
            if (HexValue(c) < 0) {
                return std::nullopt;
            }
            value = value * 16 + HexValue(c);
        }
        return value;
    }
    std::size_t i = 0;
    int value = 0;
    for (; i < arg.size() && IsDigit(arg[i]); ++i) {
        value = std::min(value * 10 + (arg[i] - '0'), 100000);
    }
    if (i == 0) {
        return std::nullopt;
    }
    if (i < arg.size() && arg[i] == '.') {
        for (++i; i < arg.size() && IsDigit(arg[i]);) {
            ++i;
        }
    }
    return i == arg.size() ? std::optional<int>(value) : std::nullopt;
}

std::string outOfRange(const std::string& what, int value) {
    return what + (value == 255 ? " is the end-of-string byte 255, which cannot stand inside a text"
                                : " is not a value from 0 to 254");
}

// Letters closer than this to a token's name are taken for a misspelling of it.
std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                              std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

/// Reads a markup text element by element, passing each byte to out and each
/// problem to report; a problem is skipped and reading goes on after it.
class Reader {
  public:
    Reader(std::string_view text, std::string* out, std::vector<MarkupProblem>* problems,
           std::vector<MarkupToken>* tokens = nullptr)
        : text_(text), out_(out), problems_(problems), tokens_(tokens) {}

    void run() {
        while (i_ < text_.size() && (problems_ != nullptr || tokens_ != nullptr || !failed_)) {
            const std::size_t start = i_;
            pieceStart_ = start;
            const char c = text_[i_];
            if (c == '(') {
                readParenthesis();
            } else if (c == '{') {
                readPlaceholder();
            } else if (c == ')' || c == '}') {
                problem(i_, 1,
                        c == ')' ? "\")\" stands outside a token" : "\"}\" has no opening \"{\"");
            } else {
                readSymbol();
            }
            // What a "(" or "{" opened and the reader took as one piece is a token,
            // also when it is misspelt.
            if (tokens_ != nullptr && (c == '(' || c == '{') && i_ - start > 1) {
                tokens_->push_back({start, i_ - start});
            }
            if (valuePending_ && code_.position == start) {
                code_.length = i_ - start;
            }
        }
        if (valuePending_) {
            problem(code_.position, code_.length,
                    piece(text_, code_.position, code_.position + code_.length) +
                        " is a control code that takes a value, and the text ends after it: "
                        "the game would take the end of the string for its value");
        }
    }
    bool failed() const { return failed_; }
    const MarkupProblem& first() const { return first_; }

  private:
    void emit(std::uint8_t byte) {
        if (out_ != nullptr) {
            *out_ += static_cast<char>(byte);
        }
        // The codes 1-5 take the byte after them as their value, whatever it is.
        if (valuePending_) {
            valuePending_ = false;
        } else if (byte >= 1 && byte <= 5) {
            valuePending_ = true;
            code_.position = pieceStart_;
        }
    }
    void problem(std::size_t at, std::size_t length, std::string reason) {
        if (!failed_) {
            first_ = {at, length, reason};
            failed_ = true;
        }
        if (problems_ != nullptr) {
            problems_->push_back({at, length, std::move(reason)});
        }
        i_ = at + length;
        valuePending_ = false;  // a refused piece stands where a value may have been meant
    }

    void readParenthesis() {
        if (text_.substr(i_, kReturnToken.size()) == kReturnToken) {
            emit(0x0D);
            i_ += kReturnToken.size();
            return;
        }
        for (const Token& token : kTokens) {
            if (text_.substr(i_, token.opening.size()) == token.opening) {
                readToken(token);
                return;
            }
        }
        readUnknownToken();
    }

    void readToken(const Token& token) {
        const std::size_t argument = i_ + token.opening.size();
        const std::size_t close = text_.find(')', argument);
        if (close == std::string_view::npos) {
            problem(i_, token.opening.size(), piece(text_, i_, argument) + " has no closing \")\"");
            return;
        }
        const std::optional<int> value = argumentValue(text_.substr(argument, close - argument));
        if (!value) {
            problem(i_, close + 1 - i_,
                    piece(text_, i_, close + 1) + " has no number from 0 to 254");
        } else if (*value > kLargestValue) {
            problem(i_, close + 1 - i_, outOfRange(piece(text_, i_, close + 1), *value));
        } else {
            emit(token.code);
            emit(static_cast<std::uint8_t>(*value));
            i_ = close + 1;
        }
    }

    // A "(" that opens no token. Letters then ":" can only be meant as a token,
    // and letters close to a token's name are taken for a misspelling of it:
    // either is refused by the token it names; anything else is a stray "(".
    void readUnknownToken() {
        std::size_t end = i_ + 1;
        while (end < text_.size() && IsAsciiLetter(text_[end])) {
            ++end;
        }
        const std::string_view meant = meantToken(text_.substr(i_ + 1, end - i_ - 1));
        const bool opening = end > i_ + 1 && end < text_.size() && text_[end] == ':';
        if (meant.empty() && !opening) {
            problem(i_, 1, "\"(\" stands outside a token such as (Pause:5) or (return)");
            return;
        }
        if (end < text_.size() && (text_[end] == ')' || text_[end] == ':')) {
            ++end;
        }
        const std::string named = piece(text_, i_, end);
        // An argument runs to its ")", as a token's would, unless another "(" comes first.
        const std::size_t close = text_.find(')', end);
        if (opening && close != std::string_view::npos && close < text_.find('(', end)) {
            end = close + 1;
        }
        problem(i_, end - i_,
                named + " is not a token" +
                    (meant.empty() ? std::string() : ": did you mean " + Quoted(meant) + "?"));
    }

    // The token whose name letters come close to, or nothing.
    static std::string_view meantToken(std::string_view name) {
        for (std::string_view candidate : {std::string_view("(return)"), kTokens[0].opening,
                                           kTokens[1].opening, kTokens[2].opening}) {
            const std::string_view candidateName =
                candidate.substr(1, candidate.find_first_of(":)") - 1);
            if (name.size() >= 3 && editDistance(name, candidateName) <= 2) {
                return candidate;
            }
        }
        return {};
    }

    void readPlaceholder() {
        const std::size_t close = text_.find('}', i_ + 1);
        const std::size_t nextOpen = text_.find('{', i_ + 1);
        if (close == std::string_view::npos || nextOpen < close) {
            problem(i_, 1, "\"{\" has no closing \"}\"");
            return;
        }
        const std::string_view digits = text_.substr(i_ + 1, close - i_ - 1);
        const bool hex =
            !digits.empty() && digits.size() <= 2 &&
            std::all_of(digits.begin(), digits.end(), [](char c) { return HexValue(c) >= 0; });
        if (!hex) {
            problem(i_, close + 1 - i_,
                    piece(text_, i_, close + 1) +
                        " is no placeholder: write one or two hexadecimal digits, such as {A} "
                        "or {6A}");
            return;
        }
        int value = 0;
        for (char c : digits) {
            value = value * 16 + HexValue(c);
        }
        if (value > kLargestValue) {
            problem(i_, close + 1 - i_, outOfRange(piece(text_, i_, close + 1), value));
            return;
        }
        emit(static_cast<std::uint8_t>(value));
        i_ = close + 1;
    }

    void readSymbol() {
        const char c = text_[i_];
        if (IsAsciiLetter(c)) {
            emit(static_cast<std::uint8_t>(c - kLetterOffset));
            ++i_;
            return;
        }
        if (IsDigit(c)) {
            emit(static_cast<std::uint8_t>(kTextDigitBase + (c - '0')));
            ++i_;
            return;
        }
        // A two-character symbol is taken before its first character alone.
        const Symbol* found = nullptr;
        for (const Symbol& symbol : kFixedSymbols) {
            if (symbol.text.front() == c && text_.substr(i_, symbol.text.size()) == symbol.text &&
                (found == nullptr || symbol.text.size() > found->text.size())) {
                found = &symbol;
            }
        }
        if (found == nullptr) {
            problem(i_, 1, LackedCharacterReason(static_cast<unsigned char>(c)));
            return;
        }
        emit(found->byte);
        i_ += found->text.size();
    }

    std::string_view text_;
    std::string* out_;
    std::vector<MarkupProblem>* problems_;
    std::vector<MarkupToken>* tokens_;
    std::size_t i_ = 0;
    std::size_t pieceStart_ = 0;
    bool failed_ = false;
    MarkupProblem first_;
    bool valuePending_ = false;  // the last byte was a code that takes a value
    MarkupToken code_;           // the piece that wrote it
};

}  // namespace

std::vector<MarkupProblem> CheckMarkup(std::string_view text) {
    std::vector<MarkupProblem> problems;
    Reader(text, nullptr, &problems).run();
    return problems;
}

std::vector<MarkupToken> MarkupTokens(std::string_view text) {
    std::vector<MarkupToken> tokens;
    Reader(text, nullptr, nullptr, &tokens).run();
    return tokens;
}

std::string ColourCode(Colour coloured) {
    if (coloured == Colour::Unset) {
        return "";
    }
    return {'\x05', coloured == Colour::Yes ? '\x01' : '\x00'};
}

std::string PortraitCode(std::int16_t Portrait) {
    const auto portraitByte = PortraitByte(Portrait);
    return portraitByte ? std::string{'\x04', static_cast<char>(*portraitByte)} : "";
}

std::string EncodeWithCodes(std::string_view codes, std::string_view text) {
    std::string result(codes);
    result.reserve(codes.size() + text.size() + 1);
    Reader reader(text, &result, nullptr);
    reader.run();
    if (reader.failed()) {
        const MarkupProblem& p = reader.first();
        throw EncodeError(p.position, p.length, p.reason);
    }
    result += static_cast<char>(kTerminator);
    return result;
}

std::string StringtoQM(std::int16_t Portrait, Colour coloured, std::string_view text) {
    return EncodeWithCodes(ColourCode(coloured) + PortraitCode(Portrait), text);
}

}  // namespace qm
