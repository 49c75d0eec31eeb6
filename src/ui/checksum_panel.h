#pragma once
// A status bar panel that appears only while the open file's internal header
// holds a wrong checksum ("Checksum wrong", the sums as its tooltip): some
// emulators and flash carts refuse such an image. Looked at after every open
// and save, on the file as it stands on disk.

#include <QLabel>
#include <QThreadPool>
#include <optional>

#include "rom/internal_header.hpp"

namespace qm {

class RomSession;

class ChecksumPanel : public QLabel {
    Q_OBJECT
  public:
    explicit ChecksumPanel(const RomSession& session, QWidget* parent = nullptr);
    ~ChecksumPanel() override;

    /// Looks at what the open file's checksum is now, in the background; shown
    /// when wrong, hidden when it is right, when the file has no internal header
    /// or cannot be read.
    void refresh();
    /// Waits until the panel shows the answer to the last refresh.
    void waitForAnswer();

  private:
    void show(const std::optional<HeaderChecksum>& state);

    const RomSession& session_;
    QThreadPool summing_;
    int asked_ = 0;
};

}  // namespace qm
