#pragma once
// What the editor remembers between runs, typed: the window's geometry, the
// recent ROM images, the original each ROM image is compared with, the last
// folders chosen, the emulator to test in and whether saves fix the checksum.
// The settings file is read and written only while it is a regular file (or
// absent): anything else there (a FIFO, a link to a ROM image) is left alone and
// the editor runs on defaults it keeps in memory.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <memory>

#include "emulator_command.h"

class QSettings;

namespace qm {

class AppSettings {
  public:
    /// The user's settings, or those in file (an INI file) when it is not empty.
    explicit AppSettings(const QString& file = {});
    ~AppSettings();
    AppSettings(const AppSettings&) = delete;
    AppSettings& operator=(const AppSettings&) = delete;

    /// Why the settings file is not used, in a sentence; empty while it is.
    const QString& problem() const { return problem_; }

    QByteArray windowGeometry() const;
    QByteArray splitterState() const;
    void setWindowState(const QByteArray& geometry, const QByteArray& splitter);

    /// The recent ROM images, the latest first, at most kRecentCount.
    QStringList recentRoms() const;
    void rememberRecentRom(const QString& path);
    void forgetRecentRom(const QString& path);
    static constexpr qsizetype kRecentCount = 5;

    /// The original remembered for a ROM image (absolute paths); empty: none.
    QString originalFor(const QString& rom) const;
    /// Remembers original for rom; an empty original forgets it.
    void setOriginalFor(const QString& rom, const QString& original);

    QString lastRomFolder() const;
    void setLastRomFolder(const QString& folder);
    /// The original last chosen for a patch.
    QString patchOriginal() const;
    void setPatchOriginal(const QString& path);

    /// The command Test in Emulator starts; not isSet() until the user sets one.
    EmulatorCommand emulatorCommand() const;
    void setEmulatorCommand(const EmulatorCommand& command);
    /// Whether a save also fixes the internal header's checksum; off by default.
    bool fixChecksumOnSave() const;
    void setFixChecksumOnSave(bool fix);

  private:
    QVariant value(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);

    std::unique_ptr<QSettings> file_;  // null: the file is not used
    QVariantMap memory_;               // the values while it is not
    QString problem_;
};

}  // namespace qm
