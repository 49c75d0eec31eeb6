#include "character_map_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "errors.hpp"
#include "markup/display.hpp"
#include "paths.h"
#include "text.hpp"

namespace qm {

namespace {

enum Column { kCode, kCharacter, kUses };

QString usesText(const FreeCodeUse& use) {
    if (use.uses == 0) {
        return {};
    }
    return QString::fromStdString(Counted(use.uses, "time", "times") + " in " +
                                  Counted(use.rows, "row", "rows"));
}

QTableWidgetItem* fixedItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

CharacterMapDialog::CharacterMapDialog(QWidget* parent, const CharacterMap& map,
                                       std::span<const FreeCodeUse> uses, const QString& file)
    : QDialog(parent),
      map_(map),
      shown_(map),
      table_(new QTableWidget(int(uses.size()), 3, this)),
      message_(new QLabel(this)) {
    setObjectName(QStringLiteral("dlgCharacterMap"));
    setWindowTitle(QStringLiteral("Character Map"));
    auto* intro = new QLabel(
        QStringLiteral("Codes of the game's font with no letter of their own. Give one the "
                       "character you drew into its tile; the texts then show and take that "
                       "character. Save writes the map to %1.")
            .arg(file),
        this);
    intro->setWordWrap(true);
    table_->setObjectName(QStringLiteral("tblCharacterMap"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Code"), QStringLiteral("Character"), QStringLiteral("Used")});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < int(uses.size()); ++row) {
        const FreeCodeUse& use = uses[std::size_t(row)];
        auto* code = fixedItem(QString::fromStdString(Placeholder(use.code)));
        code->setData(Qt::UserRole, use.code);
        QFont font = code->font();
        font.setBold(use.uses > 0);  // the codes the texts use stand out
        code->setFont(font);
        table_->setItem(row, kCode, code);
        table_->setItem(row, kCharacter, new QTableWidgetItem);
        table_->setItem(row, kUses, fixedItem(usesText(use)));
    }
    message_->setObjectName(QStringLiteral("lblCharacterMapMessage"));
    message_->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    QPushButton* loadButton =
        buttons->addButton(QStringLiteral("&Load..."), QDialogButtonBox::ActionRole);
    // The platform's Save button has no mnemonic here; Alt+S reaches it as in the window.
    buttons->button(QDialogButtonBox::Save)->setText(QStringLiteral("&Save"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(table_, 1);
    layout->addWidget(message_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(loadButton, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, QStringLiteral("Load Character Map"), QString(),
                                         QStringLiteral("Character map (*.tbl);;All Files (*)"));
        if (!path.isEmpty()) {
            load(path);
        }
    });
    connect(table_, &QTableWidget::itemChanged, this, &CharacterMapDialog::cellChanged);
    showMap();
    resize(460, 520);
}

void CharacterMapDialog::showMap() {
    showing_ = true;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const auto code = std::uint8_t(table_->item(row, kCode)->data(Qt::UserRole).toUInt());
        const char32_t c = map_.characterOf(code);
        table_->item(row, kCharacter)->setText(c == 0 ? QString() : QString::fromUcs4(&c, 1));
    }
    showing_ = false;
}

void CharacterMapDialog::cellChanged(QTableWidgetItem* item) {
    if (showing_ || item->column() != kCharacter) {
        return;
    }
    const auto code = std::uint8_t(table_->item(item->row(), kCode)->data(Qt::UserRole).toUInt());
    if (!assign(code, item->text())) {
        showMap();  // the cell as the map has it
    }
}

bool CharacterMapDialog::assign(std::uint8_t code, const QString& typed) {
    const QList<uint> characters = typed.trimmed().toUcs4();
    try {
        if (characters.isEmpty()) {
            map_.clear(code);
        } else if (characters.size() > 1) {
            throw ProjectFileError(0, "A code stands for exactly one character.");
        } else {
            map_.assign(code, char32_t(characters.front()));
        }
    } catch (const ProjectFileError& e) {
        message_->setText(QString::fromUtf8(e.what()));
        return false;
    }
    message_->clear();
    showMap();
    return true;
}

void CharacterMapDialog::reject() {
    if (map_ != shown_) {
        QMessageBox box(QMessageBox::Question, windowTitle(),
                        QStringLiteral("Discard the changes to the character map?"),
                        QMessageBox::Discard | QMessageBox::Cancel, this);
        box.setDefaultButton(QMessageBox::Cancel);
        box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
        if (box.exec() != QMessageBox::Discard) {
            return;
        }
    }
    QDialog::reject();
}

bool CharacterMapDialog::load(const QString& path) {
    try {
        map_ = ReadCharacterMapFile(NativePath(path));
    } catch (const std::runtime_error& e) {  // FileError, ProjectFileError
        message_->setText(QString::fromUtf8(e.what()));
        return false;
    }
    message_->setText(QStringLiteral("Loaded %1.").arg(QuotedPath(path)));
    showMap();
    return true;
}

}  // namespace qm
