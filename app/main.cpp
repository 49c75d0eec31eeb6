// quillmoor-text-edit [ROM]: the editor window, opening ROM at start when given.
// The command line is read before any window exists, so --help and --version
// work where there is no display (help2man runs them at build time).
#include <QApplication>
#include <QCommandLineParser>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "files.hpp"
#include "frmMain.h"
#include "guarded_application.h"

namespace {

constexpr int kUsage = 2;  // as quillmoor-script: the command line was wrong

void print(std::FILE* to, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), to);
}

// Reads the command line into parser; an exit status when the program ends here
// (--help, --version, or a command line it cannot take).
std::optional<int> readCommandLine(QCommandLineParser& parser, int argc, char** argv) {
    parser.setApplicationDescription(
        QStringLiteral("Edit the dialogue text of a Quillmoor ROM image (.smc or .sfc)."));
    // Qt's own --help-all would list options of QApplication's that are not taken here.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Display this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Display the version and exit."));
    parser.addOptions({help, version});
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addPositionalArgument(QStringLiteral("ROM"),
                                 QStringLiteral("the ROM image to open at start (optional)"),
                                 QStringLiteral("[ROM]"));
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const bool parsed = parser.parse(arguments);
    if (parsed && parser.isSet(help)) {
        // Without an application object the usage line lacks the program's name.
        const QString text = parser.helpText();
        print(stdout, QStringLiteral("Usage: quillmoor-text-edit [options] [ROM]") +
                          text.mid(text.indexOf('\n')));
        return 0;
    }
    if (parsed && parser.isSet(version)) {
        print(stdout, QStringLiteral("quillmoor-text-edit " QM_VERSION "\n"));
        return 0;
    }
    if (!parsed || parser.positionalArguments().size() > 1) {
        print(stderr, QStringLiteral("quillmoor-text-edit: %1; run with --help\n")
                          .arg(parsed ? QStringLiteral("give one ROM image at most")
                                      : parser.errorText().chopped(1)));  // its "."
        return kUsage;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    qm::PrepareProcess();
    QApplication::setOrganizationName(QStringLiteral("Quillmoor"));
    QApplication::setApplicationName(QStringLiteral("Quillmoor Text Edit"));
    QApplication::setApplicationVersion(QStringLiteral(QM_VERSION));
    // Desktops match the window to its desktop entry (and icon) by this name.
    QApplication::setDesktopFileName(QStringLiteral(QM_APP_ID));
    QCommandLineParser parser;
    if (const std::optional<int> status = readCommandLine(parser, argc, argv)) {
        return *status;
    }
    qm::GuardedApplication app(argc, argv);
    qm::frmMain window;
    window.show();
    if (!parser.positionalArguments().isEmpty()) {
        // From the event loop, where whatever the load throws becomes a message.
        QTimer::singleShot(0, &window, [&window, path = parser.positionalArguments().constFirst()] {
            window.openRom(path);
        });
    }
    return app.exec();
}
