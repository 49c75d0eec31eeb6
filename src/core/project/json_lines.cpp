#include "project/json_lines.hpp"

#include <algorithm>
#include <iterator>

#include "errors.hpp"

namespace qm {

namespace {

constexpr int kDeepest = 32;

// Walks a text for the parser and counts the line breaks it has passed, so the
// parser's callbacks know the line they are on.
class LineCountingIterator {
  public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    LineCountingIterator() = default;
    LineCountingIterator(const char* at, std::size_t* line) : at_(at), line_(line) {}
    reference operator*() const { return *at_; }
    LineCountingIterator& operator++() {
        *line_ += *at_ == '\n' ? 1 : 0;
        ++at_;
        return *this;
    }
    LineCountingIterator operator++(int) {
        LineCountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const LineCountingIterator& other) const { return at_ == other.at_; }

  private:
    const char* at_ = nullptr;
    std::size_t* line_ = nullptr;
};

// Compact JSON; what is not UTF-8 (which the readers refuse) cannot stop a write.
std::string dump(const nlohmann::ordered_json& value) {
    return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::size_t lineOfByte(std::string_view text, std::size_t byte) {
    const std::string_view before = text.substr(0, std::min(byte, text.size()));
    return static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')) + 1;
}

}  // namespace

std::size_t JsonLines::of(const std::string& key, std::size_t index) const {
    const auto found = elements.find(key);
    if (found != elements.end() && index < found->second.size()) {
        return found->second[index];
    }
    const auto line = keys.find(key);
    return line == keys.end() ? 1 : line->second;
}

nlohmann::json ParseJsonWithLines(std::string_view text, JsonLines& lines) {
    using Event = nlohmann::json::parse_event_t;
    std::size_t line = 1;
    std::string key;
    const auto note = [&](int depth, Event event, nlohmann::json& parsed) {
        if (depth > kDeepest) {
            throw ProjectFileError(
                line, "the values nest more than " + std::to_string(kDeepest) + " deep");
        }
        if (depth == 1 && event == Event::key) {
            key = parsed.get<std::string>();
            lines.keys[key] = line;
        } else if (depth == 2 && (event == Event::object_start || event == Event::value ||
                                  event == Event::array_start)) {
            lines.elements[key].push_back(line);
        }
        return true;
    };
    nlohmann::json doc;
    try {
        doc = nlohmann::json::parse(LineCountingIterator(text.data(), &line),
                                    LineCountingIterator(text.data() + text.size(), &line), note);
    } catch (const nlohmann::json::parse_error& e) {
        throw ProjectFileError(lineOfByte(text, e.byte), "this is not valid JSON");
    } catch (const nlohmann::json::exception&) {
        throw ProjectFileError(line, "this is not valid JSON");
    }
    if (!doc.is_object()) {
        throw ProjectFileError(1, "this is no JSON object");
    }
    return doc;
}

std::string JsonOneItemALine(const nlohmann::ordered_json& doc) {
    std::string text = "{";
    const char* between = "\n";
    for (const auto& [key, value] : doc.items()) {
        text += between + std::string("  ") + dump(nlohmann::ordered_json(key)) + ": ";
        between = ",\n";
        if (!value.is_array() || value.empty()) {
            text += dump(value);
            continue;
        }
        text += "[";
        for (std::size_t i = 0; i < value.size(); ++i) {
            text += (i == 0 ? "\n    " : ",\n    ") + dump(value[i]);
        }
        text += "\n  ]";
    }
    return text + "\n}\n";
}

}  // namespace qm
