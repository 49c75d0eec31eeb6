#pragma once
// The portrait scroll bar hsPortrait: Left and Right step the way its arrows do
// (Left to the lower number), and it shows when it has the keyboard focus.

#include <QScrollBar>

namespace qm {

class PortraitBar : public QScrollBar {
    Q_OBJECT
  public:
    explicit PortraitBar(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace qm
