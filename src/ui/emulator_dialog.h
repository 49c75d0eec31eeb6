#pragma once
// Settings > Emulator...: the program that Test in Emulator starts and its
// arguments, with %f for the ROM image; the common emulators found on this
// system are offered, each with a command that works for it.

#include <QDialog>

#include "emulator_command.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace qm {

class EmulatorDialog : public QDialog {
    Q_OBJECT
  public:
    /// Shows current; found fills the list of emulators on offer.
    EmulatorDialog(const EmulatorCommand& current, const QList<FoundEmulator>& found,
                   QWidget* parent = nullptr);

    /// The command as the fields hold it, blanks around the program removed.
    EmulatorCommand command() const;

  private:
    void chooseFound(int index);
    void browse();

    QList<FoundEmulator> found_;
    QComboBox* list_;
    QLineEdit* program_;
    QLineEdit* arguments_;
    QPushButton* ok_;
};

}  // namespace qm
