#include "glossary_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

namespace {

QString stateText(const QString& file, int terms) {
    if (file.isEmpty()) {
        return QStringLiteral("No glossary is in use.");
    }
    const QString name = QFileInfo(file).fileName();
    if (terms < 0) {
        return QStringLiteral("The glossary %1 cannot be read.").arg(name);
    }
    return QStringLiteral("The glossary is %1, with %2 %3.")
        .arg(name)
        .arg(terms)
        .arg(terms == 1 ? QStringLiteral("term") : QStringLiteral("terms"));
}

}  // namespace

GlossaryDialog::GlossaryDialog(QWidget* parent, const QString& file, int terms) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgGlossary"));
    setWindowTitle(QStringLiteral("Glossary"));
    auto* state = new QLabel(stateText(file, terms), this);
    state->setObjectName(QStringLiteral("lblGlossaryState"));
    state->setToolTip(file);
    auto* about = new QLabel(
        QStringLiteral("A glossary is a CSV file with the header term,translation (further "
                       "columns are notes), kept beside the ROM image. Choose File uses a file as "
                       "the glossary; Import adds the terms of another file that it lacks; Export "
                       "writes it to a file of your choice."),
        this);
    about->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    const std::pair<QString, GlossaryAction> choices[] = {
        {QStringLiteral("&Choose File..."), GlossaryAction::Choose},
        {QStringLiteral("&Import..."), GlossaryAction::Import},
        {QStringLiteral("&Export..."), GlossaryAction::Export},
        {QStringLiteral("&Stop Using"), GlossaryAction::StopUsing}};
    for (const auto& [label, action] : choices) {
        QPushButton* button = buttons->addButton(label, QDialogButtonBox::ActionRole);
        button->setEnabled(action == GlossaryAction::Choose || action == GlossaryAction::Import ||
                           (action == GlossaryAction::Export && terms >= 0 && !file.isEmpty()) ||
                           (action == GlossaryAction::StopUsing && !file.isEmpty()));
        connect(button, &QPushButton::clicked, this, [this, chosen = action] {
            action_ = chosen;
            accept();
        });
    }
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(state);
    layout->addWidget(about);
    layout->addWidget(buttons);
}

}  // namespace qm
