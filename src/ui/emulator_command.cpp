#include "emulator_command.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace qm {

namespace {

const QString kFileMark = QStringLiteral("%f");

// The SNES emulators Linux distributions package, most common first; each takes
// the ROM image as its last argument.
const char* const kKnownEmulators[] = {"mednafen", "snes9x-gtk", "snes9x", "bsnes",
                                       "higan",    "ares",       "Mesen",  "zsnes"};

// An SNES core for retroarch, which starts without one only into its menu.
QString retroarchCore() {
    QStringList folders = {QDir::homePath() + QStringLiteral("/.config/retroarch/cores"),
                           QStringLiteral("/usr/lib/libretro")};
    // Debian's cores sit under the multiarch folder (/usr/lib/x86_64-linux-gnu/libretro).
    for (const QString& arch :
         QDir(QStringLiteral("/usr/lib")).entryList({QStringLiteral("*-linux-*")})) {
        folders << QStringLiteral("/usr/lib/%1/libretro").arg(arch);
    }
    const QStringList cores = {QStringLiteral("snes9x*_libretro.so"),
                               QStringLiteral("bsnes*_libretro.so"),
                               QStringLiteral("mesen-s_libretro.so")};
    for (const QString& folder : folders) {
        const QStringList found = QDir(folder).entryList(cores, QDir::Files, QDir::Name);
        if (!found.isEmpty()) {
            return QDir(folder).filePath(found.constFirst());
        }
    }
    return {};
}

}  // namespace

QStringList EmulatorArguments(const QString& arguments, const QString& file) {
    QStringList words = QProcess::splitCommand(arguments);
    bool placed = false;
    for (QString& word : words) {
        if (word.contains(kFileMark)) {
            word.replace(kFileMark, file);
            placed = true;
        }
    }
    if (!placed) {
        words << file;
    }
    return words;
}

QList<FoundEmulator> FindEmulators(const QStringList& folders) {
    QList<FoundEmulator> found;
    for (const char* name : kKnownEmulators) {
        const QString program = QString::fromLatin1(name);
        if (!QStandardPaths::findExecutable(program, folders).isEmpty()) {
            found.append({program, {program, kFileMark}});
        }
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("retroarch"), folders).isEmpty()) {
        const QString core = retroarchCore();
        const QString arguments =
            core.isEmpty() ? kFileMark : QStringLiteral("-L \"%1\" %f").arg(core);
        found.append({QStringLiteral("retroarch"), {QStringLiteral("retroarch"), arguments}});
    }
    return found;
}

}  // namespace qm
