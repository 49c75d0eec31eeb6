#include "table_json.hpp"

#include <nlohmann/json.hpp>

namespace qm::cli {

std::string latin1ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf8ToLatin1(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size() &&
                   (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            auto next = static_cast<unsigned char>(utf8[++i]);
            out += static_cast<char>(((c & 0x03) << 6) | (next & 0x3F));
        } else {
            throw TableFormatError("a character above U+00FF, which is no game-text byte");
        }
    }
    return out;
}

std::string tableToJson(const std::vector<StringEntry>& rows) {
    nlohmann::ordered_json strings = nlohmann::ordered_json::array();
    for (const auto& row : rows) {
        nlohmann::ordered_json item;
        item["number"] = std::stoi(row.Number);
        item["portrait"] = latin1ToUtf8(row.Portrait);
        item["text"] = latin1ToUtf8(row.Text);
        item["coloured"] = latin1ToUtf8(row.Coloured);
        item["pointer"] = latin1ToUtf8(row.PointerValue);
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
        throw TableFormatError(where + "missing or not a text");
    }
    try {
        return utf8ToLatin1(item[name].get<std::string>());
    } catch (const TableFormatError& e) {
        throw TableFormatError(where + e.what());
    }
}

}  // namespace

std::vector<StringEntry> tableFromJson(const std::string& json) {
    nlohmann::json doc;
    try {
        doc = nlohmann::json::parse(json);
    } catch (const nlohmann::json::parse_error& e) {
        throw TableFormatError(std::string("not valid JSON: ") + e.what());
    }
    if (!doc.is_object() || !doc.contains("strings") || !doc["strings"].is_array()) {
        throw TableFormatError("no \"strings\" list");
    }
    std::vector<StringEntry> rows;
    std::size_t n = 0;
    for (const auto& item : doc["strings"]) {
        ++n;
        if (!item.is_object()) {
            throw TableFormatError("row " + std::to_string(n) + ": not an object");
        }
        StringEntry row;
        row.Portrait = field(item, "portrait", n);
        row.Text = field(item, "text", n);
        row.Coloured = field(item, "coloured", n);
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace qm::cli
