// quillmoor-text-edit [ROM]: the editor window, opening ROM at start when given.
#include <QApplication>
#include <QStringList>

#include "frmMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quillmoor"));
    QApplication::setApplicationName(QStringLiteral("Quillmoor Text Edit"));
    qm::frmMain window;
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        window.openRom(arguments.at(1));
    }
    return app.exec();
}
