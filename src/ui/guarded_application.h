#pragma once
// The editor's application object: an exception that escapes an event handler,
// a lack of memory above all, becomes a message instead of ending the editor and
// losing the user's unsaved work with it.

#include <QApplication>
#include <QString>
#include <functional>

namespace qm {

/// Said when the open file could not be written: the work is still in the table.
inline const QString kChangesKept = QStringLiteral(
    "\n\nYour changes are still in the table: save them elsewhere with File > Save As Copy, "
    "or keep them with File > Export Table.");

class GuardedApplication : public QApplication {
  public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    /// Shows what went wrong: a message box over the active window. Tests replace it.
    std::function<void(const QString&)> report;
};

}  // namespace qm
