#include "checksum_panel.h"

#include "errors.hpp"
#include "rom/internal_header.hpp"
#include "rom_session.h"

namespace qm {

ChecksumPanel::ChecksumPanel(const RomSession& session, QWidget* parent)
    : QLabel(QStringLiteral("Checksum wrong"), parent), session_(session) {
    setObjectName(QStringLiteral("sbChecksum"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setContentsMargins(2, 0, 2, 0);
    hide();
    connect(&session, &RomSession::opened, this, &ChecksumPanel::refresh);
    connect(&session, &RomSession::saved, this, &ChecksumPanel::refresh);
}

void ChecksumPanel::refresh() {
    std::optional<HeaderChecksum> state;
    try {
        state = ReadHeaderChecksum(session_.path());
    } catch (const FileError&) {
        // A file that cannot be read now says so at the next save; no guess here.
    }
    setToolTip(state ? QString::fromStdString(ChecksumText(*state)) : QString());
    setVisible(state && !state->right());
}

}  // namespace qm
