#pragma once
// The window asks and tells the user only through Dialogs, so tests can answer
// in advance instead of blocking on a modal dialog.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <span>

#include "markup/charmap.hpp"
#include "project/charmap_file.hpp"

#include "emulator_command.h"
#include "glossary_dialog.h"

class QWidget;

namespace qm {

/// The window's caption before a ROM image is open, and the title of its questions.
inline const QString kCaption = QStringLiteral("Quillmoor Text Edit");

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    /// A file chosen to write to, and the filter it was chosen under.
    struct SaveTarget {
        QString path;
        QString filter;
    };
    enum class SaveChangesAnswer { Save, Discard, Cancel };
    enum class ApplyChangesAnswer { Apply, Discard, Cancel };
    using GlossaryAction = qm::GlossaryAction;
    /// Why what an input box holds cannot be taken; empty when it can.
    using TextCheck = std::function<QString(const QString&)>;

    /// An open-file dialog starting at start (a file or folder; empty: the
    /// default); nothing when the user cancelled.
    virtual std::optional<QString> getOpenFileName(QWidget* parent, const QString& title,
                                                   const QString& filter,
                                                   const QString& start = {}) = 0;
    /// A save-file dialog proposing suggested; nothing when the user cancelled.
    virtual std::optional<SaveTarget> getSaveFileName(QWidget* parent, const QString& title,
                                                      const QString& filter,
                                                      const QString& suggested) = 0;
    /// An input box with prompt and default; nothing when the user cancelled.
    /// With a check, a text it refuses keeps the box open and says why.
    virtual std::optional<QString> getText(QWidget* parent, const QString& title,
                                           const QString& prompt, const QString& defaultText,
                                           const TextCheck& check) = 0;
    std::optional<QString> getText(QWidget* parent, const QString& title, const QString& prompt,
                                   const QString& defaultText) {
        return getText(parent, title, prompt, defaultText, {});
    }
    /// A question with buttons, left to right; returns the index of the one
    /// chosen: the default one for Enter, the escape one when the box is closed.
    virtual int choose(QWidget* parent, const QString& title, const QString& text,
                       const QStringList& buttons, int defaultButton, int escapeButton) = 0;
    /// A question with the buttons Save, Discard and Cancel.
    virtual SaveChangesAnswer askSaveChanges(QWidget* parent, const QString& title,
                                             const QString& text) = 0;
    /// A question with the buttons Apply (the default), Discard and Cancel.
    virtual ApplyChangesAnswer askApplyChanges(QWidget* parent, const QString& title,
                                               const QString& text) = 0;
    /// A question with the buttons Yes (the default) and No; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    /// A notice with an OK button.
    virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
    /// A refusal or failure, with an OK button.
    virtual void warning(QWidget* parent, const QString& title, const QString& text) = 0;
    /// File > Character Map...: map edited, with the uses of each free code
    /// shown; nothing when the user cancelled. file: where Save writes.
    virtual std::optional<CharacterMap> editCharacterMap(QWidget* parent, const CharacterMap& map,
                                                         std::span<const FreeCodeUse> uses,
                                                         const QString& file) = 0;
    /// Settings > Emulator...: the command to test in, starting from current;
    /// nothing when the user cancelled.
    virtual std::optional<EmulatorCommand> askEmulatorCommand(QWidget* parent,
                                                              const EmulatorCommand& current) = 0;
    /// File > Glossary...: file is the glossary in use (empty: none) and terms
    /// how many it holds (-1: it could not be read); nothing when the user closed it.
    virtual std::optional<GlossaryAction> askGlossaryAction(QWidget* parent, const QString& file,
                                                            int terms) = 0;
};

/// The real modal Qt dialogs.
class QtDialogs : public Dialogs {
  public:
    std::optional<QString> getOpenFileName(QWidget* parent, const QString& title,
                                           const QString& filter, const QString& start) override;
    std::optional<SaveTarget> getSaveFileName(QWidget* parent, const QString& title,
                                              const QString& filter,
                                              const QString& suggested) override;
    using Dialogs::getText;
    std::optional<QString> getText(QWidget* parent, const QString& title, const QString& prompt,
                                   const QString& defaultText, const TextCheck& check) override;
    int choose(QWidget* parent, const QString& title, const QString& text,
               const QStringList& buttons, int defaultButton, int escapeButton) override;
    SaveChangesAnswer askSaveChanges(QWidget* parent, const QString& title,
                                     const QString& text) override;
    ApplyChangesAnswer askApplyChanges(QWidget* parent, const QString& title,
                                       const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
    void information(QWidget* parent, const QString& title, const QString& text) override;
    void warning(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<CharacterMap> editCharacterMap(QWidget* parent, const CharacterMap& map,
                                                 std::span<const FreeCodeUse> uses,
                                                 const QString& file) override;
    std::optional<EmulatorCommand> askEmulatorCommand(QWidget* parent,
                                                      const EmulatorCommand& current) override;
    std::optional<GlossaryAction> askGlossaryAction(QWidget* parent, const QString& file,
                                                    int terms) override;
};

}  // namespace qm
