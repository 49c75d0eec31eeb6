#include "emulator_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qm {

EmulatorDialog::EmulatorDialog(const EmulatorCommand& current, const QList<FoundEmulator>& found,
                               QWidget* parent)
    : QDialog(parent),
      found_(found),
      list_(new QComboBox(this)),
      program_(new QLineEdit(current.program, this)),
      arguments_(new QLineEdit(current.arguments, this)) {
    setWindowTitle(QStringLiteral("Emulator"));
    list_->setObjectName(QStringLiteral("cboFoundEmulators"));
    program_->setObjectName(QStringLiteral("txtEmulatorProgram"));
    arguments_->setObjectName(QStringLiteral("txtEmulatorArguments"));
    list_->addItem(found.isEmpty() ? QStringLiteral("None of the common emulators is on the PATH")
                                   : QStringLiteral("Choose one..."));
    for (const FoundEmulator& emulator : found) {
        list_->addItem(emulator.name);
    }
    list_->setEnabled(!found.isEmpty());
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    auto* programRow = new QHBoxLayout;
    programRow->addWidget(program_, 1);
    programRow->addWidget(browse);
    auto* hint = new QLabel(QStringLiteral("%f stands for the ROM image to test: a scratch copy "
                                           "with the table as it stands and its checksum fixed. "
                                           "Without %f the file comes last."),
                            this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Found:"), list_);
    auto* programLabel = new QLabel(QStringLiteral("&Program:"), this);
    programLabel->setBuddy(program_);  // a row of several widgets gets no buddy of its own
    form->addRow(programLabel, programRow);
    form->addRow(QStringLiteral("&Arguments:"), arguments_);
    form->addRow(hint);
    form->addRow(buttons);
    setMinimumWidth(460);
    connect(list_, &QComboBox::activated, this, &EmulatorDialog::chooseFound);
    connect(browse, &QPushButton::clicked, this, &EmulatorDialog::browse);
    connect(program_, &QLineEdit::textChanged, this,
            [this] { ok_->setEnabled(command().isSet()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ok_->setEnabled(command().isSet());
}

EmulatorCommand EmulatorDialog::command() const {
    return {program_->text().trimmed(), arguments_->text()};
}

void EmulatorDialog::chooseFound(int index) {
    if (index > 0 && index <= found_.size()) {  // the first item only says what follows
        program_->setText(found_[index - 1].command.program);
        arguments_->setText(found_[index - 1].command.arguments);
    }
}

void EmulatorDialog::browse() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Emulator Program"), program_->text());
    if (!path.isEmpty()) {
        program_->setText(path);
    }
}

}  // namespace qm
