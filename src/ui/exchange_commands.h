#pragma once
// The File menu's commands on files other than the open ROM image: tables out
// and in (Export Table, Import Table), patches (Create Patch) and the original
// ROM image compared with, remembered for each ROM image.

#include <QObject>
#include <QString>

class QWidget;

namespace qm {

class AppSettings;
class Dialogs;
class EntryEditor;
class RomSession;
class StatusPanels;

class ExchangeCommands : public QObject {
    Q_OBJECT
  public:
    ExchangeCommands(QWidget& window, RomSession& session, EntryEditor& editor, Dialogs& dialogs,
                     StatusPanels& status, AppSettings& settings);

    void mnuExportTable_Click();
    void mnuImportTable_Click();
    /// Create Patch once the open file is as the user wants it described.
    void createPatch();
    void mnuCompareOriginal_Click();
    void mnuCloseOriginal_Click();
    /// Opens the original remembered for the open ROM image, if any.
    void reopenOriginal();
    /// File > Character Map...: edits the map; Save takes it for the texts and
    /// writes NAME.tbl beside the open file.
    void mnuCharacterMap_Click();

  private:
    /// The folder and name to propose for a file made from the open ROM image.
    QString besideRom(const QString& extension) const;
    /// Opens the original at path; false when it cannot be opened (a message says why).
    bool openOriginal(const QString& path);
    QString romKey() const;

    QWidget& window_;
    RomSession& session_;
    EntryEditor& editor_;
    Dialogs& dialogs_;
    StatusPanels& status_;
    AppSettings& settings_;
};

}  // namespace qm
