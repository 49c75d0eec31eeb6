#include "dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace qm {

std::optional<QString> QtDialogs::getOpenFileName(QWidget* parent, const QString& title,
                                                  const QString& filter) {
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setObjectName(QStringLiteral("cdROM"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
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

void QtDialogs::information(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void QtDialogs::warning(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.exec();
}

ScriptedDialogs::ScriptedDialogs(std::unique_ptr<Dialogs> fallback)
    : fallback_(std::move(fallback)) {}

namespace {

// Takes the oldest answer; asks the fallback (or cancels) when none is left.
template <typename Answers, typename Ask>
std::optional<QString> takeAnswer(Answers& answers, Dialogs* fallback, Ask ask) {
    if (answers.empty()) {
        return fallback ? ask(*fallback) : std::nullopt;
    }
    const auto answer = answers.front();
    answers.erase(answers.begin());
    if (!answer.given) {
        return std::nullopt;
    }
    return answer.text;
}

}  // namespace

std::optional<QString> ScriptedDialogs::getOpenFileName(QWidget* parent, const QString& title,
                                                        const QString& filter) {
    calls_.push_back({Kind::Open, title, filter, {}});
    return takeAnswer(openAnswers_, fallback_.get(),
                      [&](Dialogs& d) { return d.getOpenFileName(parent, title, filter); });
}

std::optional<QString> ScriptedDialogs::getText(QWidget* parent, const QString& title,
                                                const QString& prompt, const QString& defaultText) {
    calls_.push_back({Kind::Text, title, prompt, defaultText});
    return takeAnswer(textAnswers_, fallback_.get(),
                      [&](Dialogs& d) { return d.getText(parent, title, prompt, defaultText); });
}

void ScriptedDialogs::information(QWidget* parent, const QString& title, const QString& text) {
    calls_.push_back({Kind::Information, title, text, {}});
    if (fallback_) {
        fallback_->information(parent, title, text);
    }
}

void ScriptedDialogs::warning(QWidget* parent, const QString& title, const QString& text) {
    calls_.push_back({Kind::Warning, title, text, {}});
    if (fallback_) {
        fallback_->warning(parent, title, text);
    }
}

}  // namespace qm
