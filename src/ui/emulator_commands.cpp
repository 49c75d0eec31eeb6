#include "emulator_commands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

#include "app_settings.h"
#include "command_runner.h"
#include "dialogs.h"
#include "errors.hpp"
#include "paths.h"
#include "rom_session.h"
#include "row_navigator.h"
#include "status_panels.h"

namespace qm {

namespace {

const QString kTestTitle = QStringLiteral("Test in Emulator");

// Why program cannot run, in the user's words, where the system's own reason
// («execv: No such file or directory») would be all they get; empty: it may.
QString whyNotRunnable(const QString& program) {
    if (!program.contains(u'/')) {
        return QStandardPaths::findExecutable(program).isEmpty()
                   ? QStringLiteral("no program of that name is on the PATH")
                   : QString();
    }
    const QFileInfo file(program);
    return file.isFile() && file.isExecutable()
               ? QString()
               : QStringLiteral("there is no program there that can be run");
}

}  // namespace

EmulatorCommands::EmulatorCommands(QWidget& window, RomSession& session, Dialogs& dialogs,
                                   CommandRunner& commands, StatusPanels& status,
                                   AppSettings& settings, RowNavigator& navigator)
    : QObject(&window),
      window_(window),
      session_(session),
      dialogs_(dialogs),
      commands_(commands),
      status_(status),
      settings_(settings),
      navigator_(navigator) {}

void EmulatorCommands::bindFixOnSave(QAction& item) {
    item.setCheckable(true);
    item.setChecked(settings_.fixChecksumOnSave());
    session_.setFixHeaderChecksum(item.isChecked());
    connect(&item, &QAction::toggled, this, [this](bool fix) {
        session_.setFixHeaderChecksum(fix);
        settings_.setFixChecksumOnSave(fix);
    });
}

void EmulatorCommands::mnuEmulatorSettings_Click() {
    chooseEmulator();
}

bool EmulatorCommands::chooseEmulator() {
    if (const auto chosen = dialogs_.askEmulatorCommand(&window_, settings_.emulatorCommand())) {
        settings_.setEmulatorCommand(*chosen);
    }
    return settings_.emulatorCommand().isSet();
}

void EmulatorCommands::mnuTestInEmulator_Click() {
    if (!settings_.emulatorCommand().isSet() && !chooseEmulator()) {
        return;
    }
    const QString scratch = scratchPath();
    try {
        commands_.runLong([&](const ProgressFn& progress) {
            session_.writeTestCopy(NativePath(scratch), progress);
        });
    } catch (const SaveError& error) {
        if (!error.row()) {
            throw;  // the table as a whole: the runner's message says it
        }
        dialogs_.warning(&window_, kTestTitle, QString::fromUtf8(error.what()));
        navigator_.showRefusedRow(int(*error.row()), int(error.position().value_or(0)));
        return;
    }
    start(scratch);
}

QString EmulatorCommands::scratchPath() const {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty()) {
        throw FileError("There is no cache folder to write the test copy into.");
    }
    // One copy for each ROM image's name, replaced by the next test of it.
    const QString folder = cache + QStringLiteral("/emulator");
    if (!QDir().mkpath(folder)) {
        throw FileError("Cannot create the folder " + Quoted(NativePath(folder)) +
                        " for the test copy.");
    }
    return QDir(folder).filePath(QFileInfo(QtPath(session_.path())).fileName());
}

void EmulatorCommands::start(const QString& file) {
    const EmulatorCommand command = settings_.emulatorCommand();
    QProcess emulator;
    emulator.setProgram(command.program);
    emulator.setArguments(EmulatorArguments(command.arguments, file));
    QString problem = whyNotRunnable(command.program);
    if (problem.isEmpty() && !emulator.startDetached()) {
        problem = emulator.errorString();
    }
    if (!problem.isEmpty()) {
        dialogs_.warning(&window_, kTestTitle,
                         QStringLiteral("%1 could not be started: %2.\n\nSettings > Emulator... "
                                        "sets the command to test in.")
                             .arg(QuotedPath(command.program), problem));
        return;
    }
    // The names first: a narrow window cuts the folder short.
    const QFileInfo copy(file);
    status_.showNotice(QStringLiteral("Started %1 with %2 (a test copy in %3)")
                           .arg(QFileInfo(command.program).fileName(), copy.fileName(),
                                QDir::toNativeSeparators(copy.absolutePath())));
}

}  // namespace qm
