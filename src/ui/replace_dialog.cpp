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

#include "game_text.h"
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

std::optional<SearchPattern> ReplaceDialog::pattern() {
    const std::optional<std::string> find = ToGameText(find_->text());
    if (!find || find->empty()) {
        showOutcome(find ? QStringLiteral("Type the text to find.")
                         : QStringLiteral("The text to find holds a character no ROM text can "
                                          "hold."));
        return std::nullopt;
    }
    return SearchPattern{*find, matchCase_->isChecked(), wholeWords_->isChecked()};
}

std::optional<std::string> ReplaceDialog::replacement() {
    const std::optional<std::string> text = ToGameText(replace_->text());
    if (!text) {
        showOutcome(QStringLiteral("The replacement holds a character no ROM text can hold: ") +
                    QString::fromStdString(
                        DescribeCharacter(FirstBeyondLatin1(replace_->text()).value_or(0))) +
                    QStringLiteral("."));
    }
    return text;
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
