#pragma once
// Nothing lost when the window dies: a few seconds after any change the work
// not yet saved (changed rows, the edit box, notes and states) goes into a
// recovery file in the user's state folder, never beside the ROM image; a save
// or a Discard removes it. Opening a ROM image that has one offers it back.

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <optional>
#include <string>

#include "project/recovery.hpp"

class QWidget;

namespace qm {

class Dialogs;
class EntryEditor;
class RomSession;

class Autosave : public QObject {
    Q_OBJECT
  public:
    /// folder: where recovery files go (made when first needed); empty: the
    /// user's state folder. A file is written at most pauseMs after typing
    /// stops, and at most longestMs after the first change it holds.
    Autosave(QWidget& window, RomSession& session, EntryEditor& editor, Dialogs& dialogs,
             const QString& folder, int pauseMs = 1500, int longestMs = 4000);
    ~Autosave() override;

    /// Something changed: the recovery file follows within seconds.
    void changed();
    /// Writes the recovery file now, or removes it when nothing is unsaved.
    void writeNow();
    /// The work is in the file (a save) or was thrown away (Discard): no
    /// recovery file.
    void forget();
    /// After a ROM image was opened: when a recovery file of it is there, asks
    /// "Recover 37 unsaved rows from 14:02?" (Recover, Discard, Show).
    void offerRecovery();
    /// The recovery file of the open ROM image.
    std::string filePath() const;

  private:
    Recovery current() const;
    void recover(const Recovery& recovery);
    /// Whether recovery holds anything the open table lacks: rows, the edit box,
    /// notes and states, or the project's choices.
    bool holdsWork(const Recovery& recovery) const;

    QWidget& window_;
    RomSession& session_;
    EntryEditor& editor_;
    Dialogs& dialogs_;
    QString folder_;
    QTimer pause_;
    QTimer longest_;
    // One writer, so that files are written in the order they were made.
    QThreadPool writer_;
};

}  // namespace qm
