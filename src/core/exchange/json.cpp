#include "exchange/json.hpp"

#include <algorithm>
#include <functional>
#include <nlohmann/json.hpp>

#include "errors.hpp"
#include "markup/display.hpp"
#include "rom/layout.hpp"
#include "text.hpp"

namespace qm {

namespace {

constexpr const char* kKeys[] = {"number", "portrait", "text", "coloured", "pointer"};
// The row's note and review state: written when the context has them, and
// taken when a file has them.
constexpr const char* kReviewKeys[] = {"note", "state"};

// A note or state as the file gives it; nothing when it has none, and a problem
// noted when it is not a text.
std::optional<std::string> reviewField(const nlohmann::json& item, const char* name,
                                       TableRecord& record) {
    const auto found = item.find(name);
    if (found == item.end()) {
        return std::nullopt;
    }
    if (!found->is_string()) {
        record.problems.push_back(std::string("\"") + name + "\" is not a text");
        return std::nullopt;
    }
    return found->get<std::string>();
}

// The field as game text; nothing, and a problem noted, when it is missing or
// holds what no game text can.
std::optional<std::string> field(const nlohmann::json& item, int column, TableRecord& record,
                                 const CharacterMap& map) {
    const char* name = kKeys[column];
    const auto found = item.find(name);
    if (found == item.end() || !found->is_string()) {
        record.problems.push_back(std::string("\"") + name + "\" is missing or not a text");
        return std::nullopt;
    }
    try {
        const std::string& text = found->get_ref<const std::string&>();
        return column == kColText ? DisplayToMarkup(text, map) : Utf8ToLatin1(text);
    } catch (const TextError& e) {
        record.problems.push_back(std::string("\"") + name + "\": " + e.what());
        return std::nullopt;
    }
}

// «line 3, column 5» of the 1-based byte position at in text.
std::string lineAndColumn(std::string_view text, std::size_t at) {
    const std::string_view before = text.substr(0, std::max<std::size_t>(at, 1) - 1);
    const std::size_t lineStart = before.rfind('\n') + 1;  // 0 when there is no line break
    return "line " + std::to_string(std::count(before.begin(), before.end(), '\n') + 1) +
           ", column " + std::to_string(before.size() - lineStart + 1);
}

// Keeps of a JSON text only what a table can use while it is parsed: the
// "strings" list, its first kStringCount elements (the rest are counted) and in
// each the fields a record takes, without anything nested in them. So memory stays near
// the text's size whatever else the text holds.
class Keeper {
  public:
    bool operator()(int depth, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
        using Event = nlohmann::json::parse_event_t;
        if (depth > kDeepest) {  // the parser would hold every level open
            throw TableError("This JSON nests its values more than " + std::to_string(kDeepest) +
                             " deep; a table needs 4.");
        }
        switch (depth) {
            case 0: return event != Event::array_start;  // the top must be an object
            case 1:
                if (event == Event::key) {
                    inStrings_ = parsed == "strings";
                } else if (event == Event::array_start) {
                    listKept_ = inStrings_;
                }
                return inStrings_ && event != Event::object_start;
            case 2:
                if (!listKept_) {
                    return false;
                }
                if (event == Event::object_start || event == Event::array_start ||
                    event == Event::value) {
                    elementIsObject_ = event == Event::object_start && elements_ < kStringCount;
                    return ++elements_ <= kStringCount;
                }
                return true;
            case 3:
                return elementIsObject_ &&
                       (event != Event::key ||
                        std::find(std::begin(kKeys), std::end(kKeys), parsed) != std::end(kKeys) ||
                        std::find(std::begin(kReviewKeys), std::end(kReviewKeys), parsed) !=
                            std::end(kReviewKeys));
            default: return false;
        }
    }
    std::size_t elements() const { return elements_; }

  private:
    static constexpr int kDeepest = 100;
    std::size_t elements_ = 0;
    bool inStrings_ = false;
    bool listKept_ = false;
    bool elementIsObject_ = false;
};

}  // namespace

std::string TableToJson(std::span<const StringEntry> rows, const TableContext& context) {
    const CharacterMap& map = MapOf(context);
    const std::span<const StringEntry> original = context.original;
    nlohmann::ordered_json strings = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        nlohmann::ordered_json item;
        item[kKeys[kColNumber]] = i + 1;
        for (int column : {kColPortrait, kColText, kColColoured, kColPointerValue}) {
            const std::string text = ColumnText(rows[i], i, column);
            item[kKeys[column]] =
                column == kColText ? MarkupToDisplay(text, map) : Latin1ToUtf8(text);
        }
        if (context.reviews != nullptr) {
            const RowReview& review = ReviewOf(*context.reviews, i);
            item[kReviewKeys[0]] = review.note;
            item[kReviewKeys[1]] = ReviewStateName(review.state);
        }
        if (i < original.size()) {
            item["original"] = MarkupToDisplay(original[i].Text, map);
        }
        strings.push_back(std::move(item));
    }
    nlohmann::ordered_json doc;
    doc["strings"] = std::move(strings);
    return doc.dump(2) + "\n";
}

std::vector<TableRecord> TableFromJson(std::string_view json, const TableContext& context) {
    nlohmann::json doc;
    Keeper keeper;
    try {
        doc = nlohmann::json::parse(json, std::ref(keeper));
    } catch (const nlohmann::json::parse_error& e) {
        // The library's own text names its exception type and number: say where instead.
        throw TableError("This is not valid JSON (at " + lineAndColumn(json, e.byte) + ").");
    } catch (const nlohmann::json::exception&) {  // a number too large for a double
        throw TableError("This is not valid JSON: it holds a number too large to read.");
    }
    if (!doc.is_object() || !doc.contains("strings") || !doc["strings"].is_array()) {
        throw TableError("This JSON has no \"strings\" list.");
    }
    CheckRowCount(keeper.elements());
    std::vector<TableRecord> records;
    for (const auto& item : doc["strings"]) {
        TableRecord record;
        const std::size_t position = records.size() + 1;
        record.where = "row " + std::to_string(position);
        record.row = position - 1;
        if (!item.is_object()) {
            record.problems.push_back("not an object");
        } else {
            const auto number = item.find(kKeys[kColNumber]);
            if (number != item.end() &&
                !(number->is_number_unsigned() && number->get<std::size_t>() == position)) {
                record.problems.push_back("\"number\" is " + number->dump() +
                                          ", not its position " + std::to_string(position));
            }
            for (int column : {kColPortrait, kColText, kColColoured}) {
                (column == kColPortrait ? record.portrait
                 : column == kColText   ? record.text
                                        : record.coloured) =
                    field(item, column, record, MapOf(context));
            }
            record.note = reviewField(item, kReviewKeys[0], record);
            record.state = reviewField(item, kReviewKeys[1], record);
        }
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace qm
