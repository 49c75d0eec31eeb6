// quillmoor-text-edit: the editor window.
#include <QApplication>
#include <QKeyEvent>
#include <QTreeView>

#include "dialogs.h"
#include "frmMain.h"

namespace {

// Developer aids for screenshots and manual checks. QM_OPEN_ON_START names a ROM
// image that File > Open ROM... opens once, as if chosen in the dialog;
// QM_SELECT_ROW (1-based) then selects that row as a key in the list would.
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

void openForDeveloper(qm::frmMain& window) {
    window.findChild<QAction*>(QStringLiteral("mnuOpenRom"))->trigger();
    const int row = qEnvironmentVariableIntValue("QM_SELECT_ROW") - 1;
    auto* list = window.findChild<QTreeView*>(QStringLiteral("lvText"));
    if (row < 0 || row >= list->model()->rowCount()) {
        return;
    }
    list->setFocus();
    list->setCurrentIndex(list->model()->index(row, 0));
    QKeyEvent keyUp(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(list, &keyUp);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmoor Text Edit"));
    qm::frmMain window(servicesFromEnvironment());
    window.show();
    if (!qEnvironmentVariableIsEmpty("QM_OPEN_ON_START")) {
        openForDeveloper(window);
    }
    return app.exec();
}
