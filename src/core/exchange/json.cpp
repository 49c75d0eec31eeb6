#include "exchange/json.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "errors.hpp"
#include "text.hpp"

namespace qm {

namespace {

constexpr const char* kKeys[] = {"number", "portrait", "text", "coloured", "pointer"};

// The field as game text; nothing, and a problem noted, when it is missing or
// holds what no game text can.
std::optional<std::string> field(const nlohmann::json& item, int column, TableRecord& record) {
    const char* name = kKeys[column];
    const auto found = item.find(name);
    if (found == item.end() || !found->is_string()) {
        record.problems.push_back(std::string("\"") + name + "\" is missing or not a text");
        return std::nullopt;
    }
    try {
        return Utf8ToLatin1(found->get<std::string>());
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

}  // namespace

std::string TableToJson(std::span<const StringEntry> rows, std::span<const StringEntry> original) {
    nlohmann::ordered_json strings = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        nlohmann::ordered_json item;
        item[kKeys[kColNumber]] = i + 1;
        for (int column : {kColPortrait, kColText, kColColoured, kColPointerValue}) {
            item[kKeys[column]] = Latin1ToUtf8(ColumnText(rows[i], i, column));
        }
        if (i < original.size()) {
            item["original"] = Latin1ToUtf8(original[i].Text);
        }
        strings.push_back(std::move(item));
    }
    nlohmann::ordered_json doc;
    doc["strings"] = std::move(strings);
    return doc.dump(2) + "\n";
}

std::vector<TableRecord> TableFromJson(std::string_view json) {
    nlohmann::json doc;
    try {
        doc = nlohmann::json::parse(json);
    } catch (const nlohmann::json::parse_error& e) {
        // The library's own text names its exception type and number: say where instead.
        throw TableError("This is not valid JSON (at " + lineAndColumn(json, e.byte) + ").");
    } catch (const nlohmann::json::exception&) {  // a number too large for a double
        throw TableError("This is not valid JSON: it holds a number too large to read.");
    }
    if (!doc.is_object() || !doc.contains("strings") || !doc["strings"].is_array()) {
        throw TableError("This JSON has no \"strings\" list.");
    }
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
            record.portrait = field(item, kColPortrait, record);
            record.text = field(item, kColText, record);
            record.coloured = field(item, kColColoured, record);
        }
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace qm
