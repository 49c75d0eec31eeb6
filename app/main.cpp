// quillmoor-text-edit: the editor window.
#include <QApplication>
#include <QFile>

#include "dialogs.h"
#include "frmMain.h"

namespace {

// A developer aid for screenshots and manual checks: QM_OPEN_ON_START names a
// ROM image that File > Open ROM... opens once, as if chosen in the dialog.
qm::WindowServices servicesFromEnvironment() {
    qm::WindowServices services;
    const QString path = qEnvironmentVariable("QM_OPEN_ON_START");
    if (!path.isEmpty()) {
        auto scripted = std::make_unique<qm::ScriptedDialogs>(std::make_unique<qm::QtDialogs>());
        scripted->answerOpen(path);
        services.dialogs = std::move(scripted);
    }
    return services;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmoor Text Edit"));
    const bool openOnStart = !qEnvironmentVariableIsEmpty("QM_OPEN_ON_START");
    qm::frmMain window(servicesFromEnvironment());
    window.show();
    if (openOnStart) {
        window.findChild<QAction*>(QStringLiteral("mnuOpenRom"))->trigger();
    }
    return app.exec();
}
