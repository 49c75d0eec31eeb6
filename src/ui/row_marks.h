#pragma once
// How the list shows a row's state: a small mark before its number and the
// state in words as a tooltip. Shapes and colours both tell the states apart, so
// the marks read in a dark palette too.

#include <QIcon>
#include <QSize>
#include <QString>
#include <string>

namespace qm {

struct RowState;

/// Three slots: a red cross (cannot be saved), an orange triangle (overflows
/// the text box) or a yellow "!" (a check warns: warned); a blue diamond in a
/// white edge (changed since the file was loaded or saved) or a grey ring
/// (untranslated); a grey square (Draft), an amber "?" (Needs review) or a
/// green tick (Approved). A blank icon of the same size for a row with nothing
/// to show.
QIcon RowMark(const RowState& state, bool warned = false);

/// The size RowMark draws at: a view shows its marks at this icon size, since
/// a smaller one would shrink the three slots to specks.
QSize RowMarkSize();

/// The state in words, one line per fact, the note last; empty when there is
/// nothing to say.
QString RowStateText(const RowState& state, const std::string& note = {});

}  // namespace qm
