#include "project/recovery.hpp"

#include <algorithm>
#include <set>

#include "errors.hpp"
#include "files.hpp"
#include "markup/symbols.hpp"
#include "project/project_json.hpp"
#include "text.hpp"

namespace qm {

namespace {

constexpr int kVersion = 1;
constexpr std::size_t kLongestNamePart = 40;
constexpr std::uintmax_t kLargestRecoveryFile = 64 * 1024 * 1024;

nlohmann::ordered_json formJson(const RowForm& form) {
    return {{"portrait", form.portrait},
            {"coloured", ColourName(form.coloured)},
            {"text", Latin1ToUtf8(form.text)}};
}

using Kind = bool (nlohmann::json::*)() const noexcept;

// Reads the fields of one recovery file, each refusal with its line.
class Reader {
  public:
    Reader(const nlohmann::json& doc, const JsonLines& lines) : doc_(doc), lines_(lines) {}

    Recovery read() {
        Recovery r;
        r.romPath = get(doc_, "rom", top("rom"), &nlohmann::json::is_string);
        r.romSize = get(doc_, "size", top("size"), &nlohmann::json::is_number_unsigned);
        r.savedAt = get(doc_, "savedAt", top("savedAt"), &nlohmann::json::is_number_integer);
        if (const auto box = doc_.find("editBox"); box != doc_.end() && !box->is_null()) {
            const std::size_t line = top("editBox");
            const RowForm form = formOf(*box, line, false);
            r.editBox = EditBoxState{get(*box, "row", line, &nlohmann::json::is_number_unsigned),
                                     get(*box, "text", line, &nlohmann::json::is_string),
                                     form.portrait, form.coloured,
                                     get(*box, "caret", line, &nlohmann::json::is_number_unsigned)};
        }
        if (const auto project = doc_.find("project");
            project != doc_.end() && !project->is_null()) {
            const std::size_t line = top("project");
            r.project = ProjectFromJson(get(doc_, "project", line, &nlohmann::json::is_object),
                                        [line](const std::string&, std::size_t) { return line; });
        }
        const nlohmann::json& rows = get(doc_, "rows", top("rows"), &nlohmann::json::is_array);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::size_t line = lines_.of("rows", i);
            r.rows.push_back(
                {get(rows[i], "row", line, &nlohmann::json::is_number_unsigned),
                 formOf(get(rows[i], "before", line, &nlohmann::json::is_object), line, true),
                 formOf(get(rows[i], "after", line, &nlohmann::json::is_object), line, true)});
        }
        return r;
    }

  private:
    std::size_t top(const char* key) const { return lines_.of(key, SIZE_MAX); }

    // The value under key, when it is of the kind the file writes there.
    static const nlohmann::json& get(const nlohmann::json& object, const char* key,
                                     std::size_t line, Kind kind) {
        const auto found = object.is_object() ? object.find(key) : object.end();
        if (found == object.end() || !((*found).*kind)()) {
            throw ProjectFileError(line, Quoted(key) + " is missing or not what it should be");
        }
        return *found;
    }

    static RowForm formOf(const nlohmann::json& object, std::size_t line, bool withText) {
        const nlohmann::json& portrait =
            get(object, "portrait", line, &nlohmann::json::is_number_integer);
        const auto colour = ColourFromName(get(object, "coloured", line, &nlohmann::json::is_string)
                                               .get_ref<const std::string&>());
        if (portrait < kPortraitMin || portrait > kPortraitMax || !colour) {
            throw ProjectFileError(line, "a portrait or colour is not one the editor knows");
        }
        RowForm form{portrait.get<std::int16_t>(), *colour, ""};
        if (withText) {
            try {
                form.text = Utf8ToLatin1(get(object, "text", line, &nlohmann::json::is_string)
                                             .get_ref<const std::string&>());
            } catch (const TextError& e) {
                throw ProjectFileError(line, e.what());
            }
        }
        return form;
    }

    const nlohmann::json& doc_;
    const JsonLines& lines_;
};

// 64-bit FNV-1a: a short, stable name for a path and size on every system.
std::uint64_t hashOf(std::string_view text) {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (unsigned char c : text) {
        hash = (hash ^ c) * 0x100000001B3ull;
    }
    return hash;
}

}  // namespace

std::vector<RecoveredRow> ChangedRows(std::span<const StringEntry> rows) {
    std::vector<RecoveredRow> changed;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const StringEntry& row = rows[k];
        if (!row.IsUnchanged()) {
            changed.push_back({k,
                               {row.Loaded.portrait, row.Loaded.coloured, row.Loaded.text},
                               {row.Portrait, row.Coloured, row.Text}});
        }
    }
    return changed;
}

std::string RecoveryText(const Recovery& recovery) {
    nlohmann::ordered_json doc;
    doc["format"] = "Quillmoor Text Edit recovery";
    doc["version"] = kVersion;
    doc["rom"] = recovery.romPath;
    doc["size"] = recovery.romSize;
    doc["savedAt"] = recovery.savedAt;
    doc["editBox"] = nullptr;
    if (const auto& box = recovery.editBox) {
        doc["editBox"] = {{"row", box->row},
                          {"portrait", box->portrait},
                          {"coloured", ColourName(box->coloured)},
                          {"text", box->text},
                          {"caret", box->caret}};
    }
    doc["project"] = recovery.project ? ProjectJson(*recovery.project) : nullptr;
    doc["rows"] = nlohmann::ordered_json::array();
    for (const RecoveredRow& row : recovery.rows) {
        doc["rows"].push_back(
            {{"row", row.row}, {"before", formJson(row.before)}, {"after", formJson(row.after)}});
    }
    return JsonOneItemALine(doc);
}

Recovery ParseRecovery(std::string_view text) {
    JsonLines lines;
    const nlohmann::json doc = ParseJsonWithLines(text, lines);
    const auto version = doc.find("version");
    if (version == doc.end() || !version->is_number_integer() || *version != kVersion) {
        throw ProjectFileError(lines.of("version", SIZE_MAX),
                               "this is no recovery file of version " + std::to_string(kVersion));
    }
    return Reader(doc, lines).read();
}

std::string RecoveryFileName(const std::string& romPath, std::uintmax_t romSize) {
    const std::size_t slash = romPath.find_last_of("/\\");
    std::string name;
    for (char c : romPath.substr(slash == std::string::npos ? 0 : slash + 1)) {
        if (name.size() < kLongestNamePart) {
            name += IsAsciiLetter(c) || IsDigit(c) || c == '-' || c == '_' || c == '.' ? c : '_';
        }
    }
    const std::uint64_t hash = hashOf(romPath + '\n' + std::to_string(romSize));
    std::string hex;
    for (int shift = 60; shift >= 0; shift -= 4) {
        hex += HexDigit(static_cast<unsigned>(hash >> shift));
    }
    return name + "-" + hex + ".qmrecovery";
}

std::string WriteRecoveryFile(const std::string& folder, const Recovery& recovery) {
    const std::string path = folder + "/" + RecoveryFileName(recovery.romPath, recovery.romSize);
    const std::string text = RecoveryText(recovery);
    WriteFileAtomically(path,
                        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    return path;
}

std::optional<Recovery> ReadRecoveryFile(const std::string& path) {
    if (!ResolveFile(path).exists) {
        return std::nullopt;
    }
    const Bytes bytes = RegularFile(path).readAll(kLargestRecoveryFile);
    try {
        return ParseRecovery(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const ProjectFileError& e) {
        throw ProjectFileError("The recovery file " + Quoted(path), e);
    }
}

void RemoveRecoveryFile(const std::string& path) {
    if (!ResolveFile(path).exists) {
        return;
    }
    if (const int error = SystemFileOps().remove(path); error != 0) {
        throw FileError("Cannot remove the recovery file " + Quoted(path) + ": " +
                        SystemErrorText(error));
    }
}

std::size_t RecoveredRowCount(const Recovery& recovery) {
    std::set<std::size_t> rows;
    for (const RecoveredRow& row : recovery.rows) {
        rows.insert(row.row);
    }
    if (recovery.editBox) {
        rows.insert(recovery.editBox->row);
    }
    return rows.size();
}

std::string RecoveryQuestion(const Recovery& recovery, std::string_view time) {
    const std::size_t rows = RecoveredRowCount(recovery);
    return "Recover " +
           (rows == 0 ? std::string("unsaved notes and states")
                      : Counted(rows, "unsaved row", "unsaved rows")) +
           " from " + std::string(time) + "?";
}

std::vector<StringEntry> ApplyRecovery(std::span<const StringEntry> rows,
                                       const Recovery& recovery) {
    std::vector<StringEntry> result(rows.begin(), rows.end());
    for (const RecoveredRow& r : recovery.rows) {
        if (r.row < result.size()) {
            result[r.row].Portrait = r.after.portrait;
            result[r.row].Coloured = r.after.coloured;
            result[r.row].Text = r.after.text;
        }
    }
    return result;
}

std::vector<std::size_t> ChangedSince(const Recovery& recovery, std::span<const StringEntry> rows) {
    std::vector<std::size_t> changed;
    for (const RecoveredRow& r : recovery.rows) {
        const bool same = r.row < rows.size() && rows[r.row].Portrait == r.before.portrait &&
                          rows[r.row].Coloured == r.before.coloured &&
                          rows[r.row].Text == r.before.text;
        if (!same) {
            changed.push_back(r.row);
        }
    }
    return changed;
}

}  // namespace qm
