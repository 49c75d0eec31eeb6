#include "guarded_application.h"

#include <QMessageBox>
#include <cstdio>
#include <new>

namespace qm {

GuardedApplication::GuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv), report([](const QString& text) {
          QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Quillmoor Text Edit"),
                                text);
      }) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        message = QStringLiteral("There was not enough memory to finish.") + kChangesKept;
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    }
    try {
        report(message);
    } catch (const std::exception& e) {  // not even a message box could be made
        std::fprintf(stderr, "quillmoor-text-edit: %s\n", message.toUtf8().constData());
    }
    return false;
}

}  // namespace qm
