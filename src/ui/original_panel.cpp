#include "original_panel.h"

#include <QLabel>
#include <QVBoxLayout>

#include "game_text.h"
#include "markup/portraits.hpp"
#include "preview_box.h"
#include "rom/string_table.hpp"

namespace qm {

OriginalPanel::OriginalPanel(QWidget* parent)
    : QWidget(parent), caption_(new QLabel(this)), preview_(new PreviewBox(this)) {
    caption_->setObjectName(QStringLiteral("lblOriginal"));
    preview_->setObjectName(QStringLiteral("txtOriginal"));
    preview_->setFocusPolicy(Qt::NoFocus);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setMaximumWidth(preview_->maximumWidth());
    preview_->setSelectable(true);
    preview_->setContextMenuPolicy(Qt::ActionsContextMenu);
    preview_->setToolTip(QStringLiteral(
        "The original's text, as the game shows it: select a term to add it to the glossary"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    // Below the box, so that both boxes stand side by side at the same height.
    layout->addWidget(preview_);
    layout->addWidget(caption_);
}

void OriginalPanel::showRow(const StringEntry* original, const QString& display) {
    if (original == nullptr) {
        caption_->setText(QStringLiteral("Original: no such row"));
        preview_->showText(QString());
        return;
    }
    caption_->setText(
        QStringLiteral("Original: %1%2")
            .arg(QString::fromStdString(GetPortraitName(original->Portrait)),
                 original->Coloured == Colour::Yes ? QStringLiteral(", coloured") : QString()));
    preview_->setEntryColour(EntryColour(original->Coloured == Colour::Yes));
    preview_->showText(display);
}

}  // namespace qm
