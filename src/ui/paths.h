#pragma once
// Paths at the Qt boundary. The core takes paths in the file system's own
// encoding (UTF-8 on every system the editor runs on); the window shows them as
// QStrings. One pair of conversions, used everywhere.

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <string>

#include "save/copy_name.hpp"
#include "text.hpp"

namespace qm {

inline std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

inline QString QtPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

/// The file-name part of a path, as a caption or a message shows it: on one
/// line, whatever the name holds (Escaped).
inline QString ShownFileName(const std::string& path) {
    return QString::fromStdString(Escaped(FileNameOf(path)));
}

/// A path between double quotes, as a message names it (Quoted).
inline QString QuotedPath(const QString& path) {
    return QString::fromStdString(Quoted(NativePath(path)));
}

/// The absolute form of a path, as the settings remember it.
inline QString AbsolutePath(const std::string& path) {
    return QFileInfo(QtPath(path)).absoluteFilePath();
}

}  // namespace qm
