#include "checksum_panel.h"

#include <QCoreApplication>

#include "errors.hpp"
#include "rom/internal_header.hpp"
#include "rom_session.h"

namespace qm {

ChecksumPanel::ChecksumPanel(const RomSession& session, QWidget* parent)
    : QLabel(QStringLiteral("Checksum wrong"), parent), session_(session) {
    setObjectName(QStringLiteral("sbChecksum"));
    // One thread that stays: starting a thread for every open cost more than a
    // tenth of the opening itself.
    summing_.setMaxThreadCount(1);
    summing_.setExpiryTimeout(-1);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setContentsMargins(2, 0, 2, 0);
    hide();
    connect(&session, &RomSession::opened, this, &ChecksumPanel::refresh);
    connect(&session, &RomSession::saved, this, &ChecksumPanel::refresh);
}

ChecksumPanel::~ChecksumPanel() {
    summing_.waitForDone();
}

void ChecksumPanel::refresh() {
    // Summing the whole image takes a few milliseconds: off the window's thread,
    // so that opening and saving never wait for it. The last answer wins.
    const int asked = ++asked_;
    summing_.start([this, asked, path = session_.path()] {
        std::optional<HeaderChecksum> state;
        try {
            state = ReadHeaderChecksum(path);
        } catch (const FileError&) {
            // A file that cannot be read now says so at the next save; no guess here.
        }
        QMetaObject::invokeMethod(this, [this, asked, state] {
            if (asked == asked_) {
                show(state);
            }
        });
    });
}

void ChecksumPanel::show(const std::optional<HeaderChecksum>& state) {
    setToolTip(state ? QString::fromStdString(ChecksumText(*state)) : QString());
    setVisible(state && !state->right());
}

void ChecksumPanel::waitForAnswer() {
    summing_.waitForDone();
    QCoreApplication::sendPostedEvents(this);
}

}  // namespace qm
