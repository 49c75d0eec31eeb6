#pragma once
// The emulator a scratch copy of the ROM image is tested in: a program and its
// arguments as the user writes them, with %f for the file. The program is
// started directly, never through a shell, so a file name is always one argument.

#include <QList>
#include <QString>
#include <QStringList>

namespace qm {

struct EmulatorCommand {
    QString program;    ///< a name found on the PATH, or a path
    QString arguments;  ///< split as QProcess::splitCommand does: quotes keep blanks

    bool isSet() const { return !program.trimmed().isEmpty(); }
    bool operator==(const EmulatorCommand&) const = default;
};

/// arguments split into words, each "%f" in them replaced by file; file comes
/// last when no word holds "%f", so "--fullscreen" alone still gets the ROM image.
QStringList EmulatorArguments(const QString& arguments, const QString& file);

/// An emulator found on this system, with the command that starts it.
struct FoundEmulator {
    QString name;  ///< the program's name, as the list offers it
    EmulatorCommand command;
};

/// The common SNES emulators found in folders (empty: the PATH), in the order of
/// a fixed list; retroarch with an SNES core when one is installed. Never fails.
QList<FoundEmulator> FindEmulators(const QStringList& folders = {});

}  // namespace qm
