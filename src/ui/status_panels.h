#pragma once
// The panels of the status bar: a fixed title, a message panel that shows plain
// text while a load or save runs and the time of day otherwise, and on the right
// how much of the text region the table needs.

#include <QObject>
#include <QTime>
#include <functional>

class QLabel;
class QStatusBar;
class QTimer;

namespace qm {

class StatusPanels : public QObject {
    Q_OBJECT
  public:
    using Clock = std::function<QTime()>;

    /// Adds both panels to bar and starts showing the time. clock defaults to the
    /// system clock.
    StatusPanels(QStatusBar* bar, Clock clock = {});

    /// Switches the message panel to plain text and shows text.
    void showText(const QString& text);
    /// Switches the message panel back to the time of day, kept current.
    void showTime();
    /// Shows text for a few seconds over the title and message panels, as the
    /// bar's own message, so that a sentence fits even in a small window.
    void showNotice(const QString& text);
    /// Shows the room the table needs, in red when alarm is set.
    void showBudget(const QString& text, bool alarm);
    /// Shows how many rows are translated, overflow or cannot be saved.
    void showStates(const QString& text);

    static constexpr int kPanelWidth = 318;

  signals:
    /// A plain text went into the message panel.
    void textShown(const QString& text);

  private:
    void refreshTime();

    QStatusBar* bar_;
    QLabel* title_;
    QLabel* message_;
    QLabel* budget_;
    QLabel* states_;
    QTimer* ticker_;
    Clock clock_;
    bool showingTime_ = false;
};

}  // namespace qm
