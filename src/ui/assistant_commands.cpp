#include "assistant_commands.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

#include "assistant_panel.h"
#include "command_runner.h"
#include "dialogs.h"
#include "entry_editor.h"
#include "file_filters.h"
#include "markup/display.hpp"
#include "markup_edit.h"
#include "markup_highlighter.h"
#include "paths.h"
#include "preview_box.h"
#include "rom_session.h"
#include "status_panels.h"
#include "table_history.h"
#include "text.hpp"

namespace qm {

namespace {

const QString kGlossaryFilter = QStringLiteral("Glossary (*.csv);;All Files (*)");
const QString kSourceFilter = QStringLiteral(
    "PO file or ROM image (*.po *.smc *.sfc);;gettext PO file (*.po);;SNES ROM (*.smc *.sfc);;"
    "All Files (*)");
// The dictionary's best guesses a context menu offers.
constexpr std::size_t kSpellingMenuSuggestions = 6;

QString quoted(const std::string& text) {
    return QStringLiteral("\u201c%1\u201d").arg(QString::fromStdString(text));
}

QString termsText(std::size_t terms) {
    return QString::fromStdString(Counted(terms, "term", "terms"));
}

}  // namespace

AssistantCommands::AssistantCommands(QWidget& window, RomSession& session, EntryEditor& editor,
                                     Dialogs& dialogs, CommandRunner& commands,
                                     StatusPanels& status)
    : QObject(&window),
      window_(window),
      session_(session),
      editor_(editor),
      dialogs_(dialogs),
      commands_(commands),
      status_(status) {
    createKeys();
    editor_.textBox()->setSpelling(&session_.assistant());
    connect(editor_.textBox(), &MarkupEdit::contextMenuOpening, this,
            [this](QMenu* menu, int position) { addSpellingItems(*menu, position); });
    AssistantPanel* panel = editor_.assistantPanel();
    connect(panel, &AssistantPanel::termChosen, this, &AssistantCommands::insertTerm);
    connect(panel, &AssistantPanel::suggestionChosen, this, &AssistantCommands::useSuggestion);
    // The panel follows the row, the table (the suggestions are its rows) and
    // every part the assistant reads.
    connect(&editor_, &EntryEditor::rowLoaded, this, &AssistantCommands::showHelp);
    connect(&session_.history(), &TableHistory::tableChanged, this, &AssistantCommands::showHelp);
    connect(&session_, &RomSession::originalChanged, this, &AssistantCommands::showHelp);
    connect(&session_, &RomSession::characterMapChanged, this, &AssistantCommands::showHelp);
    connect(&session_, &RomSession::assistantChanged, this, [this] {
        editor_.textBox()->recheckSpelling();
        showHelp();
    });
}

void AssistantCommands::createKeys() {
    for (int n = 0; n < kTermKeys + kSuggestionKeys; ++n) {
        const bool term = n < kTermKeys;
        const int k = term ? n : n - kTermKeys;
        auto* key = new QAction(term ? QStringLiteral("Insert Glossary Term %1").arg(k + 1)
                                     : QStringLiteral("Use Suggestion %1").arg(k + 1),
                                &window_);
        key->setObjectName(term ? QStringLiteral("mnuGlossaryTerm%1").arg(k + 1)
                                : QStringLiteral("mnuSuggestion%1").arg(k + 1));
        key->setShortcut(term ? QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + k))
                              : QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key(Qt::Key_1 + k)));
        window_.addAction(key);
        commands_.connect(key, Settle::Nothing,
                          [this, term, k] { term ? insertTerm(k) : useSuggestion(k); });
    }
    auto* addTerm = new QAction(QStringLiteral("Add to &Glossary..."), &window_);
    addTerm->setObjectName(QStringLiteral("mnuAddGlossaryTerm"));
    editor_.originalPreview()->addAction(addTerm);
    commands_.connect(addTerm, Settle::Nothing, [this] { mnuAddGlossaryTerm_Click(); });
}

void AssistantCommands::bindMenus(QAction& glossary, QAction& addSource, QMenu& spelling) {
    commands_.connect(&glossary, Settle::Nothing, [this] { mnuGlossary_Click(); });
    commands_.connect(&addSource, Settle::Nothing, [this] { mnuAddSuggestionSource_Click(); });
    connect(&spelling, &QMenu::aboutToShow, this,
            [this, &spelling] { fillSpellingMenu(spelling); });
    connect(&session_, &RomSession::opened, this, [&glossary, &spelling] {
        glossary.setEnabled(true);
        spelling.setEnabled(true);
    });
    connect(&session_, &RomSession::originalChanged, &addSource, &QAction::setEnabled);
}

void AssistantCommands::showHelp() {
    const std::optional<int> row = editor_.row();
    const TranslationAssistant& assistant = session_.assistant();
    // Terms and suggestions are both read from the original: without one, nothing.
    const bool shown = row && !session_.originalPath().empty();
    terms_ = shown ? assistant.termsOfRow(std::size_t(*row)) : std::vector<FoundTerm>();
    suggestions_ = shown ? assistant.suggestionsFor(session_.rows(), std::size_t(*row))
                         : std::vector<Suggestion>();
    AssistantPanel* panel = editor_.assistantPanel();
    panel->setVisible(shown);
    if (shown) {
        panel->showHelp(assistant.glossary() != nullptr, terms_, suggestions_, assistant);
    }
}

void AssistantCommands::insertTerm(int n) {
    if (n >= int(terms_.size()) || !editor_.row()) {
        return;
    }
    const std::string& translation = terms_[std::size_t(n)].translation;
    editor_.insertText(QString::fromStdString(translation));
    // The underline shows it too; the notice says why.
    if (const auto problems = CheckDisplay(translation, session_.characterMap());
        !problems.empty()) {
        status_.showNotice(
            QStringLiteral("The glossary's %1: %2")
                .arg(quoted(translation), QString::fromStdString(problems[0].reason)));
    }
}

void AssistantCommands::useSuggestion(int n) {
    const std::optional<StringEntry> entry = editor_.edited();
    if (n >= int(suggestions_.size()) || !entry) {
        return;
    }
    const QString text = QString::fromStdString(suggestions_[std::size_t(n)].text);
    editor_.revertTo(entry->Portrait, entry->Coloured, editor_.markupOf(text),
                     QStringLiteral("Suggestion"));
}

QString AssistantCommands::romFolder() const {
    return QFileInfo(QtPath(session_.path())).absolutePath();
}

void AssistantCommands::mnuGlossary_Click() {
    const QString file = QtPath(session_.glossaryPath());
    const GlossaryMatcher* glossary = session_.assistant().glossary();
    const auto action = dialogs_.askGlossaryAction(
        &window_, file, glossary != nullptr ? int(glossary->glossary().terms.size()) : -1);
    if (!action) {
        return;
    }
    switch (*action) {
        case Dialogs::GlossaryAction::Choose: chooseGlossary(); break;
        case Dialogs::GlossaryAction::Import: importGlossary(); break;
        case Dialogs::GlossaryAction::Export: exportGlossary(); break;
        case Dialogs::GlossaryAction::StopUsing:
            session_.stopUsingGlossary();
            status_.showNotice(QStringLiteral("No glossary is in use"));
            break;
    }
}

void AssistantCommands::chooseGlossary() {
    const auto path = dialogs_.getOpenFileName(&window_, QStringLiteral("Choose Glossary"),
                                               kGlossaryFilter, romFolder());
    if (path) {
        session_.useGlossary(NativePath(*path));
        status_.showNotice(
            QStringLiteral("The glossary is %1, with %2")
                .arg(ShownFileName(session_.glossaryPath()),
                     termsText(session_.assistant().glossary()->glossary().terms.size())));
    }
}

void AssistantCommands::importGlossary() {
    const auto path = dialogs_.getOpenFileName(&window_, QStringLiteral("Import Into Glossary"),
                                               kGlossaryFilter, romFolder());
    if (!path) {
        return;
    }
    const std::size_t taken = session_.importGlossary(NativePath(*path));
    status_.showNotice(taken == 0
                           ? QStringLiteral("The glossary has every term of %1 already")
                                 .arg(ShownFileName(NativePath(*path)))
                           : QStringLiteral("Imported %1 into the glossary %2")
                                 .arg(termsText(taken), ShownFileName(session_.glossaryPath())));
}

void AssistantCommands::exportGlossary() {
    const QFileInfo glossary(QtPath(session_.glossaryPath()));
    const auto target = dialogs_.getSaveFileName(
        &window_, QStringLiteral("Export Glossary"), kGlossaryFilter,
        QDir(romFolder()).filePath(glossary.completeBaseName() + QStringLiteral(" (export).csv")));
    if (target) {
        session_.exportGlossary(NativePath(target->path));
        status_.showNotice(
            QStringLiteral("Glossary exported to %1").arg(ShownFileName(NativePath(target->path))));
    }
}

void AssistantCommands::mnuAddGlossaryTerm_Click() {
    const QString term = editor_.originalPreview()->selectedText();
    if (term.isEmpty()) {
        status_.showNotice(QStringLiteral("Select a term in the original's preview first"));
        return;
    }
    const std::optional<QString> translation = dialogs_.getText(
        &window_, QStringLiteral("Add to Glossary"),
        QStringLiteral("The translation of %1:").arg(quoted(term.toStdString())), QString());
    if (!translation || translation->trimmed().isEmpty()) {
        return;
    }
    session_.addGlossaryTerm({term.toStdString(), translation->trimmed().toStdString(), {}});
    status_.showNotice(
        QStringLiteral("Added %1 to the glossary %2")
            .arg(quoted(term.toStdString()), ShownFileName(session_.glossaryPath())));
}

void AssistantCommands::mnuAddSuggestionSource_Click() {
    const auto path = dialogs_.getOpenFileName(&window_, QStringLiteral("Add Suggestion Source"),
                                               kSourceFilter, romFolder());
    if (!path) {
        return;
    }
    const QFileInfo file(*path);
    std::size_t pairs = 0;
    if (file.suffix().compare(QStringLiteral("po"), Qt::CaseInsensitive) == 0 ||
        file.suffix().compare(QStringLiteral("pot"), Qt::CaseInsensitive) == 0) {
        pairs = session_.addPoSuggestions(NativePath(*path));
    } else {
        const auto original = dialogs_.getOpenFileName(
            &window_, QStringLiteral("Select the Original of %1").arg(file.fileName()), kRomFilter,
            file.absolutePath());
        if (!original) {
            return;
        }
        pairs = session_.addRomSuggestions(NativePath(*path), NativePath(*original));
    }
    status_.showNotice(QStringLiteral("Suggestions from %1: %2")
                           .arg(file.fileName(), QString::fromStdString(Counted(
                                                     pairs, "translated row", "translated rows"))));
}

void AssistantCommands::fillSpellingMenu(QMenu& menu) {
    menu.clear();
    qDeleteAll(menu.findChildren<QActionGroup*>());
    if (!SpellingAvailable()) {
        menu.addAction(QStringLiteral("Not Available in This Build"))->setEnabled(false);
        return;
    }
    const std::string& current = session_.project().spellingLanguage;
    std::vector<std::string> languages = DictionaryLanguages(DictionaryFolders());
    // The project's choice stays in view even where its dictionary is missing.
    if (!current.empty() &&
        std::find(languages.begin(), languages.end(), current) == languages.end()) {
        languages.push_back(current);
    }
    languages.insert(languages.begin(), std::string());
    auto* group = new QActionGroup(&menu);
    for (const std::string& language : languages) {
        QAction* item = menu.addAction(language.empty() ? QStringLiteral("&None")
                                                        : QString::fromStdString(language));
        item->setCheckable(true);
        item->setChecked(language == current);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, language] {
            commands_.run(QStringLiteral("Spelling Language"), Settle::Nothing,
                          [this, &language] { chooseLanguage(language); });
        });
    }
}

void AssistantCommands::chooseLanguage(const std::string& language) {
    session_.setSpellingLanguage(language);
    status_.showNotice(language.empty()
                           ? QStringLiteral("Spelling is not checked")
                           : QStringLiteral("Spelling is checked with the %1 dictionary")
                                 .arg(QString::fromStdString(language)));
}

void AssistantCommands::addSpellingItems(QMenu& menu, int position) {
    const QString text = editor_.text();
    for (const SpellingWord& word : session_.assistant().misspeltIn(text.toStdString())) {
        const int from = Utf16Position(text, word.position);
        const int to = Utf16Position(text, word.position + word.length);
        if (position < from || position > to) {
            continue;
        }
        // A word with a token or a typed placeholder inside is not replaced: the
        // token would go with it.
        QList<QAction*> items;
        if (text.mid(from, to - from) == QString::fromStdString(word.word)) {
            items = guessItems(menu, word.word, from, to);
        }
        auto* add = new QAction(QStringLiteral("Add to Project Words"), &menu);
        connect(add, &QAction::triggered, this, [this, w = word.word] {
            commands_.run(QStringLiteral("Add to Project Words"), Settle::Nothing, [this, &w] {
                session_.addProjectWord(w);
                status_.showNotice(QStringLiteral("%1 is a project word now").arg(quoted(w)));
            });
        });
        items << add;
        QAction* first = menu.actions().value(0);
        menu.insertActions(first, items);
        menu.insertSeparator(first);
        return;
    }
}

QList<QAction*> AssistantCommands::guessItems(QMenu& menu, const std::string& word, int from,
                                              int to) {
    std::vector<std::string> guesses = session_.assistant().spellingSuggestions(word);
    guesses.resize(std::min(guesses.size(), kSpellingMenuSuggestions));
    QList<QAction*> items;
    for (const std::string& guess : guesses) {
        auto* item = new QAction(QString::fromStdString(guess), &menu);
        connect(item, &QAction::triggered, this, [this, from, to, guess] {
            editor_.select(from, to - from);
            editor_.insertText(QString::fromStdString(guess));
        });
        items << item;
    }
    if (!items.isEmpty()) {
        items << new QAction(&menu);
        items.back()->setSeparator(true);
    }
    return items;
}

}  // namespace qm
