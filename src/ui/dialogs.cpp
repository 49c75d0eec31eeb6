#include "dialogs.h"

#include "character_map_dialog.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "emulator_dialog.h"

namespace qm {

namespace {

// The platform's standard buttons carry no mnemonics here, and a question is
// answered from the keyboard too (Alt+S, Alt+D, Alt+A, Alt+C, Alt+Y, Alt+N).
void GiveMnemonics(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, const char*> texts[] = {
        {QMessageBox::Save, "&Save"},   {QMessageBox::Discard, "&Discard"},
        {QMessageBox::Apply, "&Apply"}, {QMessageBox::Cancel, "&Cancel"},
        {QMessageBox::Yes, "&Yes"},     {QMessageBox::No, "&No"}};
    for (const auto& [which, text] : texts) {
        if (QAbstractButton* button = box.button(which)) {
            button->setText(QString::fromLatin1(text));
        }
    }
}

}  // namespace

std::optional<QString> QtDialogs::getOpenFileName(QWidget* parent, const QString& title,
                                                  const QString& filter, const QString& start) {
    QFileDialog dialog(parent, title, start, filter);
    dialog.setObjectName(QStringLiteral("cdROM"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

std::optional<Dialogs::SaveTarget> QtDialogs::getSaveFileName(QWidget* parent, const QString& title,
                                                              const QString& filter,
                                                              const QString& suggested) {
    QFileDialog dialog(parent, title, suggested, filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return SaveTarget{dialog.selectedFiles().constFirst(), dialog.selectedNameFilter()};
}

Dialogs::SaveChangesAnswer QtDialogs::askSaveChanges(QWidget* parent, const QString& title,
                                                     const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    GiveMnemonics(box);
    switch (box.exec()) {
        case QMessageBox::Save: return SaveChangesAnswer::Save;
        case QMessageBox::Discard: return SaveChangesAnswer::Discard;
        default: return SaveChangesAnswer::Cancel;
    }
}

Dialogs::ApplyChangesAnswer QtDialogs::askApplyChanges(QWidget* parent, const QString& title,
                                                       const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text,
                    QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Apply);
    GiveMnemonics(box);
    switch (box.exec()) {
        case QMessageBox::Apply: return ApplyChangesAnswer::Apply;
        case QMessageBox::Discard: return ApplyChangesAnswer::Discard;
        default: return ApplyChangesAnswer::Cancel;
    }
}

namespace {

// An input box that stays open on a text its check refuses, saying why.
class CheckedInputDialog : public QInputDialog {
  public:
    CheckedInputDialog(QWidget* parent, QString prompt, Dialogs::TextCheck check)
        : QInputDialog(parent), prompt_(std::move(prompt)), check_(std::move(check)) {
        setLabelText(prompt_);
    }
    void done(int result) override {
        const QString problem =
            result == QDialog::Accepted && check_ ? check_(textValue()) : QString();
        if (problem.isEmpty()) {
            QInputDialog::done(result);
        } else {
            setLabelText(prompt_ + QStringLiteral("\n\n") + problem);
        }
    }

  private:
    QString prompt_;
    Dialogs::TextCheck check_;
};

}  // namespace

int QtDialogs::choose(QWidget* parent, const QString& title, const QString& text,
                      const QStringList& buttons, int defaultButton, int escapeButton) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> made;
    for (const QString& label : buttons) {
        made << box.addButton(label, QMessageBox::ActionRole);
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(made.value(defaultButton)));
    box.setEscapeButton(made.value(escapeButton));
    box.exec();
    const qsizetype chosen = made.indexOf(box.clickedButton());
    return chosen < 0 ? escapeButton : int(chosen);
}

std::optional<QString> QtDialogs::getText(QWidget* parent, const QString& title,
                                          const QString& prompt, const QString& defaultText,
                                          const TextCheck& check) {
    CheckedInputDialog dialog(parent, prompt, check);
    dialog.setWindowTitle(title);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(defaultText);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

bool QtDialogs::askYesNo(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    GiveMnemonics(box);
    return box.exec() == QMessageBox::Yes;
}

void QtDialogs::information(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void QtDialogs::warning(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<CharacterMap> QtDialogs::editCharacterMap(QWidget* parent, const CharacterMap& map,
                                                        std::span<const FreeCodeUse> uses,
                                                        const QString& file) {
    CharacterMapDialog dialog(parent, map, uses, file);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.map();
}

std::optional<EmulatorCommand> QtDialogs::askEmulatorCommand(QWidget* parent,
                                                             const EmulatorCommand& current) {
    EmulatorDialog dialog(current, FindEmulators(), parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.command();
}

std::optional<Dialogs::GlossaryAction> QtDialogs::askGlossaryAction(QWidget* parent,
                                                                    const QString& file,
                                                                    int terms) {
    GlossaryDialog dialog(parent, file, terms);
    dialog.exec();
    return dialog.action();
}

}  // namespace qm
