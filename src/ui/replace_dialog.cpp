#include "replace_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "errors.hpp"
#include "game_text.h"
#include "markup/display.hpp"
#include "text.hpp"

namespace qm {

namespace {

QPushButton* addButton(QDialogButtonBox* box, const QString& text, const char* name,
                       QDialogButtonBox::ButtonRole role) {
    QPushButton* button = box->addButton(text, role);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

ReplaceDialog::ReplaceDialog(QWidget* parent)
    : QDialog(parent),
      find_(new QLineEdit(this)),
      replace_(new QLineEdit(this)),
      matchCase_(new QCheckBox(QStringLiteral("Match &case"), this)),
      wholeWords_(new QCheckBox(QStringLiteral("&Whole words"), this)),
      scope_(new QComboBox(this)),
      outcome_(new QLabel(this)) {
    setObjectName(QStringLiteral("dlgReplace"));
    setWindowTitle(QStringLiteral("Replace"));
    find_->setObjectName(QStringLiteral("txtReplaceFind"));
    replace_->setObjectName(QStringLiteral("txtReplaceWith"));
    matchCase_->setObjectName(QStringLiteral("chkMatchCase"));
    wholeWords_->setObjectName(QStringLiteral("chkWholeWords"));
    scope_->setObjectName(QStringLiteral("cboReplaceScope"));
    scope_->addItems({QStringLiteral("All rows"), QStringLiteral("Rows the filter shows"),
                      QStringLiteral("Selected row")});
    outcome_->setObjectName(QStringLiteral("lblReplaceOutcome"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Fi&nd what:"), find_);
    form->addRow(QStringLiteral("Re&place with:"), replace_);
    form->addRow(QStringLiteral("&Search in:"), scope_);
    form->addRow(QString(), matchCase_);
    form->addRow(QString(), wholeWords_);
    auto* buttons = new QDialogButtonBox(Qt::Horizontal, this);
    QPushButton* next = addButton(buttons, QStringLiteral("&Find Next"), "cmdReplaceFindNext",
                                  QDialogButtonBox::ActionRole);
    next->setDefault(true);
    QPushButton* one =
        addButton(buttons, QStringLiteral("&Replace"), "cmdReplace", QDialogButtonBox::ActionRole);
    QPushButton* all = addButton(buttons, QStringLiteral("Replace &All"), "cmdReplaceAll",
                                 QDialogButtonBox::ActionRole);
    addButton(buttons, QStringLiteral("Close"), "cmdReplaceClose", QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->addWidget(outcome_);
    connect(next, &QPushButton::clicked, this, &ReplaceDialog::findNextRequested);
    connect(one, &QPushButton::clicked, this, &ReplaceDialog::replaceRequested);
    connect(all, &QPushButton::clicked, this, &ReplaceDialog::replaceAllRequested);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::optional<std::string> ReplaceDialog::markupOf(const QLineEdit& box, const CharacterMap& map,
                                                   const QString& what) {
    try {
        return DisplayToMarkup(box.text().toStdString(), map);
    } catch (const TextError& e) {
        showOutcome(what + QString::fromUtf8(e.what()));
        return std::nullopt;
    }
}

std::optional<SearchPattern> ReplaceDialog::pattern(const CharacterMap& map) {
    if (find_->text().isEmpty()) {
        showOutcome(QStringLiteral("Type the text to find."));
        return std::nullopt;
    }
    const std::optional<std::string> find =
        markupOf(*find_, map, QStringLiteral("The text to find cannot be found: "));
    if (!find) {
        return std::nullopt;
    }
    return SearchPattern{*find, matchCase_->isChecked(), wholeWords_->isChecked(), &map};
}

std::optional<std::string> ReplaceDialog::replacement(const CharacterMap& map) {
    return markupOf(*replace_, map, QStringLiteral("The replacement cannot go into a row: "));
}

ReplaceDialog::Scope ReplaceDialog::scope() const {
    return Scope(scope_->currentIndex());
}

void ReplaceDialog::setFindText(const QString& text) {
    if (!text.isEmpty()) {
        find_->setText(text);
    }
    find_->selectAll();
    find_->setFocus(Qt::OtherFocusReason);
}

void ReplaceDialog::showBeside(const QWidget& parent) {
    if (!isVisible()) {
        adjustSize();
        const QRect window = parent.frameGeometry();
        const QRect screen = parent.screen()->availableGeometry();
        const int width = frameGeometry().width();
        if (window.right() + width < screen.right()) {
            move(window.right() + 1, window.top());
        } else if (window.left() - width > screen.left()) {
            move(window.left() - width, window.top());
        }
    }
    show();
    raise();
    activateWindow();
}

void ReplaceDialog::showOutcome(const QString& text) {
    outcome_->setText(text);
}

}  // namespace qm
