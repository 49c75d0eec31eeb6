#include "app_settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "text.hpp"

namespace qm {

namespace {

const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kSplitterKey = QStringLiteral("window/splitter");
const QString kRecentKey = QStringLiteral("recentRoms");
const QString kOriginalsKey = QStringLiteral("originals");
const QString kLastFolderKey = QStringLiteral("lastRomFolder");
const QString kPatchOriginalKey = QStringLiteral("patch/original");
const QString kEmulatorProgramKey = QStringLiteral("emulator/program");
const QString kEmulatorArgumentsKey = QStringLiteral("emulator/arguments");
const QString kFixChecksumKey = QStringLiteral("save/fixHeaderChecksum");

// Why the file at path must not be opened, or nothing. A link is not followed:
// it may lead anywhere, a ROM image included.
QString unusable(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink() && !info.exists()) {
        return {};
    }
    if (info.isSymLink() || !info.isFile()) {
        return QStringLiteral(
                   "The settings file %1 is not a regular file; it was left alone, and "
                   "settings are kept only until the editor closes.")
            .arg(QString::fromStdString(Quoted(path.toStdString())));
    }
    return {};
}

// Where QSettings keeps the user's settings on this system: QSettings reads its
// file as it is made, so the file is looked at first.
QString userSettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/%1/%2.conf")
               .arg(QCoreApplication::organizationName(), QCoreApplication::applicationName());
}

}  // namespace

AppSettings::AppSettings(const QString& file) {
    const QString path = file.isEmpty() ? userSettingsFile() : file;
    problem_ = unusable(path);
    if (problem_.isEmpty()) {
        file_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
    }
}

AppSettings::~AppSettings() = default;

QVariant AppSettings::value(const QString& key) const {
    return file_ ? file_->value(key) : memory_.value(key);
}

void AppSettings::setValue(const QString& key, const QVariant& value) {
    if (file_) {
        file_->setValue(key, value);
    } else {
        memory_.insert(key, value);
    }
}

QByteArray AppSettings::windowGeometry() const {
    return value(kGeometryKey).toByteArray();
}

QByteArray AppSettings::splitterState() const {
    return value(kSplitterKey).toByteArray();
}

void AppSettings::setWindowState(const QByteArray& geometry, const QByteArray& splitter) {
    setValue(kGeometryKey, geometry);
    setValue(kSplitterKey, splitter);
}

QStringList AppSettings::recentRoms() const {
    return value(kRecentKey).toStringList().mid(0, kRecentCount);
}

void AppSettings::rememberRecentRom(const QString& path) {
    QStringList recent = value(kRecentKey).toStringList();
    recent.removeAll(path);
    recent.prepend(path);
    setValue(kRecentKey, recent.mid(0, kRecentCount));
}

void AppSettings::forgetRecentRom(const QString& path) {
    QStringList recent = value(kRecentKey).toStringList();
    recent.removeAll(path);
    setValue(kRecentKey, recent);
}

QString AppSettings::originalFor(const QString& rom) const {
    return value(kOriginalsKey).toMap().value(rom).toString();
}

void AppSettings::setOriginalFor(const QString& rom, const QString& original) {
    QVariantMap originals = value(kOriginalsKey).toMap();
    if (original.isEmpty()) {
        originals.remove(rom);
    } else {
        originals.insert(rom, original);
    }
    setValue(kOriginalsKey, originals);
}

QString AppSettings::lastRomFolder() const {
    return value(kLastFolderKey).toString();
}

void AppSettings::setLastRomFolder(const QString& folder) {
    setValue(kLastFolderKey, folder);
}

QString AppSettings::patchOriginal() const {
    return value(kPatchOriginalKey).toString();
}

void AppSettings::setPatchOriginal(const QString& path) {
    setValue(kPatchOriginalKey, path);
}

EmulatorCommand AppSettings::emulatorCommand() const {
    return {value(kEmulatorProgramKey).toString(), value(kEmulatorArgumentsKey).toString()};
}

void AppSettings::setEmulatorCommand(const EmulatorCommand& command) {
    setValue(kEmulatorProgramKey, command.program);
    setValue(kEmulatorArgumentsKey, command.arguments);
}

bool AppSettings::fixChecksumOnSave() const {
    return value(kFixChecksumKey).toBool();
}

void AppSettings::setFixChecksumOnSave(bool fix) {
    setValue(kFixChecksumKey, fix);
}

}  // namespace qm
