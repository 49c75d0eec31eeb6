#include "project/project_file.hpp"

#include "errors.hpp"
#include "files.hpp"
#include "project/charmap_file.hpp"
#include "project/project_json.hpp"
#include "rom/layout.hpp"
#include "text.hpp"

namespace qm {

namespace {

constexpr int kVersion = 1;
constexpr const char* kFormat = "Quillmoor Text Edit project";
constexpr const char* kKnownKeys[] = {
    "format", "version", "glossary", "spellingLanguage", "projectWords", "ignoredWarnings", "rows"};

bool isKnown(const std::string& key) {
    for (const char* known : kKnownKeys) {
        if (key == known) {
            return true;
        }
    }
    return false;
}

// Reads the fields of one project file; each refusal names the line it stands on.
class Reader {
  public:
    Reader(const nlohmann::json& doc, const LineOf& lineOf) : doc_(doc), lineOf_(lineOf) {}

    Project read() {
        Project p;
        p.glossary = text(doc_, "glossary", lineOf_("glossary", SIZE_MAX));
        p.spellingLanguage = text(doc_, "spellingLanguage", lineOf_("spellingLanguage", SIZE_MAX));
        eachOf("projectWords", [&](const nlohmann::json& word, std::size_t line) {
            if (!word.is_string()) {
                throw ProjectFileError(line, "a project word is not a text");
            }
            p.projectWords.insert(word.get<std::string>());
        });
        eachOf("ignoredWarnings", [&](const nlohmann::json& item, std::size_t line) {
            p.ignoredWarnings.insert({row(item, line), text(item, "check", line)});
        });
        eachOf("rows",
               [&](const nlohmann::json& item, std::size_t line) { readRow(p, item, line); });
        for (const auto& [key, value] : doc_.items()) {
            if (!isKnown(key)) {
                p.otherKeys.emplace_back(key, value.dump());
            }
        }
        return p;
    }

  private:
    template <typename Each>
    void eachOf(const char* key, Each each) {
        const auto found = doc_.find(key);
        if (found == doc_.end()) {
            return;
        }
        if (!found->is_array()) {
            throw ProjectFileError(lineOf_(key, SIZE_MAX), Quoted(key) + " is not a list");
        }
        for (std::size_t i = 0; i < found->size(); ++i) {
            each((*found)[i], lineOf_(key, i));
        }
    }

    static std::string text(const nlohmann::json& object, const char* key, std::size_t line) {
        if (!object.is_object()) {
            throw ProjectFileError(line, "this is not an object {...}");
        }
        const auto found = object.find(key);
        if (found == object.end()) {
            return "";
        }
        if (!found->is_string()) {
            throw ProjectFileError(line, Quoted(key) + " is not a text");
        }
        return found->get<std::string>();
    }

    // The 0-based row an item names with "row" (1-512).
    static std::size_t row(const nlohmann::json& item, std::size_t line) {
        const auto found = item.is_object() ? item.find("row") : item.end();
        if (found == item.end() || !found->is_number_unsigned() ||
            found->get<std::uint64_t>() == 0 || found->get<std::uint64_t>() > kStringCount) {
            throw ProjectFileError(
                line, "\"row\" is not a row number from 1 to " + std::to_string(kStringCount));
        }
        return found->get<std::size_t>() - 1;
    }

    void readRow(Project& p, const nlohmann::json& item, std::size_t line) {
        const std::size_t k = row(item, line);
        const std::string stateText = text(item, "state", line);
        const auto state = ReviewStateNamed(stateText);
        if (!state) {
            throw ProjectFileError(line, "the state " + Quoted(stateText) +
                                             " is none of \"draft\", \"needs-review\", "
                                             "\"approved\" or \"\"");
        }
        if (!rowsSeen_.insert(k).second) {
            throw ProjectFileError(line, "row " + std::to_string(k + 1) + " comes a second time");
        }
        SetReview(p.reviews, k, {text(item, "note", line), *state});
    }

    const nlohmann::json& doc_;
    const LineOf& lineOf_;
    std::set<std::size_t> rowsSeen_;
};

}  // namespace

bool Project::empty() const {
    return reviews.empty() && glossary.empty() && spellingLanguage.empty() &&
           projectWords.empty() && ignoredWarnings.empty() && otherKeys.empty();
}

std::string ProjectPathFor(const std::string& romPath) {
    const std::string map = CharacterMapPathFor(romPath);
    return map.substr(0, map.size() - 4) + ".qmproj";
}

nlohmann::ordered_json ProjectJson(const Project& project) {
    nlohmann::ordered_json doc;
    doc["glossary"] = project.glossary;
    doc["spellingLanguage"] = project.spellingLanguage;
    doc["projectWords"] = project.projectWords;
    doc["ignoredWarnings"] = nlohmann::ordered_json::array();
    for (const IgnoredWarning& w : project.ignoredWarnings) {
        doc["ignoredWarnings"].push_back({{"row", w.row + 1}, {"check", w.check}});
    }
    doc["rows"] = nlohmann::ordered_json::array();
    for (const auto& [row, review] : project.reviews) {
        doc["rows"].push_back(
            {{"row", row + 1}, {"state", ReviewStateKey(review.state)}, {"note", review.note}});
    }
    for (const auto& [key, value] : project.otherKeys) {
        doc[key] = nlohmann::ordered_json::parse(value);
    }
    return doc;
}

Project ProjectFromJson(const nlohmann::json& doc, const LineOf& lineOf) {
    return Reader(doc, lineOf).read();
}

std::string ProjectText(const Project& project) {
    nlohmann::ordered_json doc;
    doc["format"] = kFormat;
    doc["version"] = kVersion;
    doc.update(ProjectJson(project));
    return JsonOneItemALine(doc);
}

Project ParseProject(std::string_view text) {
    JsonLines lines;
    const nlohmann::json doc = ParseJsonWithLines(text, lines);
    const auto version = doc.find("version");
    if (version == doc.end() || !version->is_number_integer() || *version != kVersion) {
        throw ProjectFileError(lines.of("version", SIZE_MAX),
                               "this is no project file of version " + std::to_string(kVersion) +
                                   " (a later version of the editor may have written it)");
    }
    return ProjectFromJson(
        doc, [&lines](const std::string& key, std::size_t index) { return lines.of(key, index); });
}

Project ReadProjectBeside(const std::string& romPath) {
    const std::string path = ProjectPathFor(romPath);
    if (!ResolveFile(path).exists) {
        return {};
    }
    const Bytes bytes = RegularFile(path).readAll(kLargestProjectFile);
    try {
        return ParseProject(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const ProjectFileError& e) {
        throw ProjectFileError("The project file " + Quoted(path), e);
    }
}

bool WriteProjectBeside(const std::string& romPath, const Project& project) {
    const std::string path = ProjectPathFor(romPath);
    if (project.empty() && !ResolveFile(path).exists) {
        return false;
    }
    const std::string text = ProjectText(project);
    WriteFileAtomically(path,
                        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    return true;
}

}  // namespace qm
