#pragma once
// A status bar panel that appears only while the open file's internal header
// holds a wrong checksum ("Checksum wrong", the sums as its tooltip): some
// emulators and flash carts refuse such an image. Looked at after every open
// and save, on the file as it stands on disk.

#include <QLabel>

namespace qm {

class RomSession;

class ChecksumPanel : public QLabel {
    Q_OBJECT
  public:
    explicit ChecksumPanel(const RomSession& session, QWidget* parent = nullptr);

    /// Shows what the open file's checksum is now; hidden when it is right, when
    /// the file has no internal header or cannot be read.
    void refresh();

  private:
    const RomSession& session_;
};

}  // namespace qm
