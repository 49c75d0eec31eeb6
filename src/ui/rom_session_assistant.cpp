// The open ROM image's glossary, spelling and further sources of suggestions:
// what its project file names, read with the image, and the commands that change
// them. The glossary is a file of its own, written as soon as it changes; the
// project file keeps the choices with the next save.
#include <QDir>
#include <QFileInfo>

#include "command_files.hpp"
#include "errors.hpp"
#include "exchange/table_file.hpp"
#include "files.hpp"
#include "paths.h"
#include "rom/load.hpp"
#include "rom_session.h"
#include "string_table_model.h"
#include "text.hpp"

namespace qm {

namespace {

constexpr std::string_view kProjectExtension = ".qmproj";

// NAME.glossary.csv beside NAME.smc, the glossary a first term starts.
std::string newGlossaryPathFor(const std::string& romPath) {
    std::string path = ProjectPathFor(romPath);
    path.resize(path.size() - kProjectExtension.size());
    return path + ".glossary.csv";
}

}  // namespace

void RomSession::readAssistantParts(const std::string& romPath, std::vector<std::string>& notices) {
    assistant_.clearSuggestionSources();
    const std::string project = Quoted(FileNameOf(ProjectPathFor(romPath)));
    std::optional<Glossary> glossary;
    if (const std::string file = GlossaryPathOf(project_, romPath); !file.empty()) {
        try {
            glossary = ReadGlossary(file);
        } catch (const FileError& e) {  // a path nobody typed: say where it comes from
            notices.push_back("The glossary that " + project + " names: " + e.what() +
                              " The window goes on without a glossary.");
        } catch (const ProjectFileError& e) {
            notices.push_back(std::string(e.what()) + " The window goes on without a glossary.");
        }
    }
    assistant_.setGlossary(std::move(glossary));
    std::optional<SpellChecker> spelling;
    if (const std::string& language = project_.spellingLanguage; !language.empty()) {
        try {
            spelling.emplace(language);
        } catch (const std::runtime_error& e) {  // SpellingError, FileError
            notices.push_back("The spelling language " + Quoted(language) + " that " + project +
                              " names cannot be used: " + e.what() + " Spelling is not checked.");
        }
    }
    assistant_.setSpelling(std::move(spelling), project_);
}

std::string RomSession::glossaryPath() const {
    return GlossaryPathOf(project_, path_);
}

std::string RomSession::nameInProject(const std::string& file) const {
    const QString full = QFileInfo(QtPath(file)).absoluteFilePath();
    const QString relative = QFileInfo(QtPath(path_)).absoluteDir().relativeFilePath(full);
    const bool outside = relative == QStringLiteral("..") ||
                         relative.startsWith(QStringLiteral("../")) ||
                         QDir::isAbsolutePath(relative);
    return NativePath(outside ? full : relative);
}

void RomSession::keepGlossaryFrom(const std::string& fromRom) {
    if (project_.glossary.empty()) {
        return;
    }
    const std::string named = nameInProject(GlossaryPathOf(project_, fromRom));
    markProjectChanged(named != project_.glossary);
    project_.glossary = named;
}

void RomSession::takeGlossary(std::optional<Glossary> glossary) {
    assistant_.setGlossary(std::move(glossary));
    model_->recheck();
    emit assistantChanged();
}

void RomSession::useGlossary(const std::string& path) {
    Glossary glossary = ReadGlossary(path);
    project_.glossary = nameInProject(path);
    markProjectChanged();
    takeGlossary(std::move(glossary));
}

void RomSession::stopUsingGlossary() {
    project_.glossary.clear();
    markProjectChanged();
    takeGlossary(std::nullopt);
}

// Read anew: another program (a spreadsheet) may have changed the file, and a
// glossary named but unreadable is refused rather than written over.
std::pair<std::string, Glossary> RomSession::glossaryToExtend() const {
    if (std::string file = glossaryPath(); !file.empty()) {
        Glossary glossary = ReadGlossary(file);
        return {std::move(file), std::move(glossary)};
    }
    std::string file = newGlossaryPathFor(path_);
    Glossary glossary = ResolveFile(file).exists ? ReadGlossary(file) : Glossary{};
    return {std::move(file), std::move(glossary)};
}

void RomSession::extendGlossary(const std::string& file, Glossary glossary) {
    WriteGlossary(file, glossary);
    if (project_.glossary.empty()) {
        project_.glossary = nameInProject(file);
        markProjectChanged();
    }
    takeGlossary(std::move(glossary));
}

std::size_t RomSession::importGlossary(const std::string& path) {
    const Glossary imported = ReadGlossary(path);
    auto [file, glossary] = glossaryToExtend();
    const std::size_t taken = MergeGlossary(glossary, imported);
    if (taken > 0) {
        extendGlossary(file, std::move(glossary));
    }
    return taken;
}

void RomSession::addGlossaryTerm(GlossaryTerm term) {
    auto [file, glossary] = glossaryToExtend();
    AddGlossaryTerm(glossary, std::move(term));
    extendGlossary(file, std::move(glossary));
}

void RomSession::exportGlossary(const std::string& path) const {
    const GlossaryMatcher* glossary = assistant_.glossary();
    if (glossary == nullptr) {
        return;
    }
    for (const std::string& input : {glossaryPath(), path_, originalPath_}) {
        if (!input.empty()) {
            RefuseToOverwrite(path, input);
        }
    }
    WriteGlossary(path, glossary->glossary());
}

void RomSession::setSpellingLanguage(const std::string& language) {
    std::optional<SpellChecker> spelling;
    if (!language.empty()) {
        spelling.emplace(language);
    }
    markProjectChanged(language != project_.spellingLanguage);
    project_.spellingLanguage = language;
    assistant_.setSpelling(std::move(spelling), project_);
    model_->recheck();
    emit assistantChanged();
}

void RomSession::addProjectWord(const std::string& word) {
    assistant_.addProjectWord(project_, word);
    markProjectChanged();
    model_->recheck();
    emit assistantChanged();
}

std::size_t RomSession::addPoSuggestions(const std::string& po) {
    std::vector<TranslatedPair> pairs =
        TranslatedPairs(ReadTableFile(po, TableFormat::Po, TableContext{{}, &map_}));
    const std::size_t count = pairs.size();
    assistant_.addSuggestionSource(FileNameOf(po), std::move(pairs));
    emit assistantChanged();
    return count;
}

std::size_t RomSession::addRomSuggestions(const std::string& rom, const std::string& original) {
    std::vector<TranslatedPair> pairs = TranslatedPairs(LoadRom(rom), LoadRom(original));
    const std::size_t count = pairs.size();
    assistant_.addSuggestionSource(FileNameOf(rom), std::move(pairs));
    emit assistantChanged();
    return count;
}

}  // namespace qm
