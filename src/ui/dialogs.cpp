#include "dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace qm {

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
    switch (box.exec()) {
        case QMessageBox::Apply: return ApplyChangesAnswer::Apply;
        case QMessageBox::Discard: return ApplyChangesAnswer::Discard;
        default: return ApplyChangesAnswer::Cancel;
    }
}

std::optional<QString> QtDialogs::getText(QWidget* parent, const QString& title,
                                          const QString& prompt, const QString& defaultText) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
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

}  // namespace qm
