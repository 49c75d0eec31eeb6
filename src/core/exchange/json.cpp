#include "exchange/json.hpp"

#include <nlohmann/json.hpp>

#include "errors.hpp"
#include "text.hpp"

namespace qm {

std::string TableToJson(std::span<const StringEntry> rows) {
    nlohmann::ordered_json strings = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        nlohmann::ordered_json item;
        item["number"] = i + 1;
        for (int column : {kColPortrait, kColText, kColColoured, kColPointerValue}) {
            static constexpr const char* kKeys[] = {"", "portrait", "text", "coloured", "pointer"};
            item[kKeys[column]] = Latin1ToUtf8(ColumnText(rows[i], i, column));
        }
        strings.push_back(std::move(item));
    }
    nlohmann::ordered_json doc;
    doc["strings"] = std::move(strings);
    return doc.dump(2) + "\n";
}

namespace {

std::string field(const nlohmann::json& item, const char* name, std::size_t row) {
    auto where = "row " + std::to_string(row) + ", \"" + name + "\": ";
    if (!item.contains(name) || !item[name].is_string()) {
        throw TableError(where + "missing or not a text");
    }
    try {
        return Utf8ToLatin1(item[name].get<std::string>());
    } catch (const TextError& e) {
        throw TableError(where + e.what());
    }
}

}  // namespace

std::vector<StringEntry> TableFromJson(const std::string& json) {
    nlohmann::json doc;
    try {
        doc = nlohmann::json::parse(json);
    } catch (const nlohmann::json::parse_error& e) {
        throw TableError(std::string("not valid JSON: ") + e.what());
    }
    if (!doc.is_object() || !doc.contains("strings") || !doc["strings"].is_array()) {
        throw TableError("no \"strings\" list");
    }
    std::vector<StringEntry> rows;
    std::size_t n = 0;
    for (const auto& item : doc["strings"]) {
        ++n;
        if (!item.is_object()) {
            throw TableError("row " + std::to_string(n) + ": not an object");
        }
        StringEntry row;
        row.Portrait = GetPortraitNumber(field(item, "portrait", n)).value_or(0);
        row.Text = field(item, "text", n);
        row.Coloured = ColourFromName(field(item, "coloured", n)).value_or(Colour::Other);
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace qm
