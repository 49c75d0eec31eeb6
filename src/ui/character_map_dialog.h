#pragma once
// File > Character Map...: the game font's free codes, how often the texts use
// each, and the character each stands for. A character is assigned, changed or
// cleared in its cell (a refusal says why and keeps the cell as it was); Load...
// takes a map file's codes in; Save takes the map for the table and its file.

#include <QDialog>
#include <span>

#include "markup/charmap.hpp"
#include "project/charmap_file.hpp"

class QLabel;
class QTableWidget;
class QTableWidgetItem;

namespace qm {

class CharacterMapDialog : public QDialog {
    Q_OBJECT
  public:
    /// Shows map, the uses of each free code and, as where Save writes, file.
    CharacterMapDialog(QWidget* parent, const CharacterMap& map, std::span<const FreeCodeUse> uses,
                       const QString& file);

    const CharacterMap& map() const { return map_; }

    /// Gives code the character typed (empty: none); false, with the reason
    /// shown, when the map refuses it.
    bool assign(std::uint8_t code, const QString& typed);
    /// Takes the map in file at path in place of the dialog's; false, with the
    /// reason shown, when it cannot be read.
    bool load(const QString& path);

    /// Cancel, Escape and the close button ask first when the map was changed.
    void reject() override;

  private:
    void cellChanged(QTableWidgetItem* item);
    void showMap();

    CharacterMap map_;
    const CharacterMap shown_;  // as the dialog opened, to know whether it was changed
    QTableWidget* table_;
    QLabel* message_;
    bool showing_ = false;
};

}  // namespace qm
