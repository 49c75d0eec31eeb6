#pragma once
// The file dialogs' filters, written once, and the format a chosen file is
// written in: its name's extension where it names one, else the filter it was
// chosen under.

#include <QString>

#include "dialogs.h"
#include "exchange/formats.hpp"
#include "patch/patch.hpp"

namespace qm {

/// Every dialog that picks a ROM image: the open file, an original, a patch's original.
inline const QString kRomFilter = QStringLiteral("SNES ROM (*.smc *.sfc);;All Files (*)");
inline const QString kTableFilters = QStringLiteral(
    "JSON table (*.json);;CSV table for spreadsheets (*.csv);;gettext PO file (*.po *.pot)");
inline const QString kPatchFilters = QStringLiteral("BPS patch (*.bps);;IPS patch (*.ips)");

TableFormat TableFormatOf(const Dialogs::SaveTarget& target);
PatchFormat PatchFormatOf(const Dialogs::SaveTarget& target);

}  // namespace qm
