#pragma once
// How the list shows a row's state: a small mark before its number and the
// state in words as a tooltip. Shapes and colours both tell the states apart, so
// the marks read in a dark palette too.

#include <QIcon>
#include <QString>

namespace qm {

struct RowState;

/// Two slots: a red cross (cannot be saved) or an orange triangle (overflows
/// the text box); a blue diamond in a white edge (changed since the file was
/// loaded or saved) or a grey ring (untranslated). A blank icon of the same size for a row with
/// nothing to show.
QIcon RowMark(const RowState& state);

/// The state in words, one line per fact; empty when there is nothing to say.
QString RowStateText(const RowState& state);

}  // namespace qm
