#pragma once
// Trying a translation in the game: File > Test in Emulator (F5) writes the
// table as it stands into a scratch copy in the user's cache folder, with its
// header checksum fixed, and starts the emulator set in Settings > Emulator...
// without waiting for it; File > Fix Header Checksum on Save, the remembered
// choice of whether saves also write that checksum.

#include <QObject>
#include <QString>

class QAction;
class QWidget;

namespace qm {

class AppSettings;
class CommandRunner;
class Dialogs;
class RomSession;
class RowNavigator;
class StatusPanels;

class EmulatorCommands : public QObject {
    Q_OBJECT
  public:
    EmulatorCommands(QWidget& window, RomSession& session, Dialogs& dialogs,
                     CommandRunner& commands, StatusPanels& status, AppSettings& settings,
                     RowNavigator& navigator);

    /// Test in Emulator, once the edit box is applied: without a command set,
    /// Settings > Emulator... comes first. A row that cannot be saved is
    /// refused and shown; what else goes wrong is thrown to the command runner.
    void mnuTestInEmulator_Click();
    /// Settings > Emulator...: the command, remembered when the user accepts it.
    void mnuEmulatorSettings_Click();
    /// Makes item (checkable) show and change whether saves fix the checksum,
    /// starting from the remembered choice.
    void bindFixOnSave(QAction& item);

  private:
    /// Asks for the command; false when none is set after it.
    bool chooseEmulator();
    /// Where the scratch copy of the open ROM image goes, its folder made.
    /// Throws FileError when there is no cache folder to write to.
    QString scratchPath() const;
    /// Starts the emulator on file, detached; a message when it cannot start.
    void start(const QString& file);

    QWidget& window_;
    RomSession& session_;
    Dialogs& dialogs_;
    CommandRunner& commands_;
    StatusPanels& status_;
    AppSettings& settings_;
    RowNavigator& navigator_;
};

}  // namespace qm
