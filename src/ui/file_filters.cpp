#include "file_filters.h"

#include <QFileInfo>
#include <QStringList>

#include "paths.h"

namespace qm {

TableFormat TableFormatOf(const Dialogs::SaveTarget& target) {
    const QString suffix = QFileInfo(target.path).suffix().toLower();
    if (QStringList{"json", "csv", "po", "pot"}.contains(suffix) || target.filter.isEmpty()) {
        return TableFormatForFileName(NativePath(target.path));
    }
    return target.filter.startsWith(QStringLiteral("CSV"))       ? TableFormat::Csv
           : target.filter.startsWith(QStringLiteral("gettext")) ? TableFormat::Po
                                                                 : TableFormat::Json;
}

PatchFormat PatchFormatOf(const Dialogs::SaveTarget& target) {
    if (const auto named = PatchFormatForFileName(NativePath(target.path))) {
        return *named;
    }
    return target.filter.startsWith(QStringLiteral("IPS")) ? PatchFormat::Ips : PatchFormat::Bps;
}

}  // namespace qm
