#pragma once
// The translator's assistant in the window: the panel of the selected row's
// glossary terms and suggestions with their keys (Ctrl+1..9 insert a term's
// translation at the caret, Ctrl+Alt+1..5 put a suggestion into the editor),
// File > Glossary..., a term added from the original's preview, File > Add
// Suggestion Source..., Settings > Spelling Language, and the edit box's
// spelling items. What a term, a suggestion or a misspelt word is, the core's
// TranslationAssistant decides; the session keeps the choices.

#include <QList>
#include <QObject>
#include <optional>
#include <vector>

#include "project/assistant.hpp"

class QAction;
class QMenu;
class QWidget;

namespace qm {

class CommandRunner;
class Dialogs;
class EntryEditor;
class RomSession;
class StatusPanels;

class AssistantCommands : public QObject {
    Q_OBJECT
  public:
    AssistantCommands(QWidget& window, RomSession& session, EntryEditor& editor, Dialogs& dialogs,
                      CommandRunner& commands, StatusPanels& status);

    /// File > Glossary..., File > Add Suggestion Source... and Settings >
    /// Spelling Language: connected, and enabled while a ROM image is open (the
    /// source while an original is).
    void bindMenus(QAction& glossary, QAction& addSource, QMenu& spelling);

    void mnuGlossary_Click();
    void mnuAddSuggestionSource_Click();
    /// The original preview's "Add to Glossary...": its selection as a term, with
    /// the translation asked for.
    void mnuAddGlossaryTerm_Click();
    /// Ctrl+1..9: the translation of term n (0-based) at the caret, one step of
    /// the edit box's undo.
    void insertTerm(int n);
    /// Ctrl+Alt+1..5: suggestion n (0-based) into the editor, not applied; Apply
    /// makes it the step "Suggestion".
    void useSuggestion(int n);
    /// Settings > Spelling Language: None and each language a dictionary is there
    /// for, the project's checked.
    void fillSpellingMenu(QMenu& menu);
    /// The edit box's context menu at position: for a misspelt word there, the
    /// dictionary's suggestions and "Add to Project Words", on top.
    void addSpellingItems(QMenu& menu, int position);

  private:
    /// The panel anew, for the editor's row.
    void showHelp();
    void createKeys();
    void chooseLanguage(const std::string& language);
    /// The dictionary's guesses for word as items that replace it (from, to in
    /// the edit box), then a separator; none when it has none.
    QList<QAction*> guessItems(QMenu& menu, const std::string& word, int from, int to);
    void chooseGlossary();
    void importGlossary();
    void exportGlossary();
    /// The open ROM image's folder, where file dialogs start.
    QString romFolder() const;

    QWidget& window_;
    RomSession& session_;
    EntryEditor& editor_;
    Dialogs& dialogs_;
    CommandRunner& commands_;
    StatusPanels& status_;
    // What the panel shows, as its keys take it.
    std::vector<FoundTerm> terms_;
    std::vector<Suggestion> suggestions_;
};

}  // namespace qm
