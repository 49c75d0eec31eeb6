#pragma once
// The one way in for the window's commands: a command runs only when no load
// or save is running and the menu it belongs to is open for use; the edit box is
// settled first, as the command needs; and whatever the command throws becomes a
// message titled with the command's name, so the window goes on with the
// user's work. Loads and saves run as long work: progress in the status bar,
// repaints now and then, no input until they end.

#include <QObject>
#include <QString>
#include <functional>

#include "types.hpp"

class QAction;
class QWidget;

namespace qm {

class Dialogs;
class StatusPanels;

/// What a command needs of the edit box before it runs.
enum class Settle {
    Nothing,  ///< it works on the edit box itself, or on nothing the box holds
    Apply,    ///< it takes the table as a save does: the edit box is applied
};

class CommandRunner : public QObject {
    Q_OBJECT
  public:
    /// settle answers whether a command may go on once the edit box is settled.
    CommandRunner(QWidget& window, Dialogs& dialogs, StatusPanels& status,
                  std::function<bool(Settle)> settle);

    /// Runs command when triggered, as run() does, titled with the action's
    /// text («Open ROM» for "&Open ROM...").
    void connect(QAction* action, Settle settle, std::function<void()> command);
    /// Runs command unless long work is running or settling the edit box was
    /// refused or cancelled; what it throws becomes a warning titled title.
    /// False when it did not run to its end.
    bool run(const QString& title, Settle settle, const std::function<void()>& command);
    /// Runs work with its progress shown in the status bar; no command runs
    /// meanwhile. What work throws passes on, after the window is live again.
    void runLong(const std::function<void(const ProgressFn&)>& work);
    bool busy() const { return busy_; }

  private:
    QWidget& window_;
    Dialogs& dialogs_;
    StatusPanels& status_;
    std::function<bool(Settle)> settle_;
    bool busy_ = false;
};

}  // namespace qm
