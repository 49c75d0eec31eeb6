#include "status_panels.h"

#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>

namespace qm {

namespace {

// A panel whose text gives way in a narrow window: cut short with "...", and
// whole in its tooltip, so that the status bar never makes the window wider.
class ShrinkingLabel : public QLabel {
  public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override {
        return {fontMetrics().horizontalAdvance(QStringLiteral("0000...")),
                QLabel::minimumSizeHint().height()};
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        drawFrame(&painter);
        const QRect room = contentsRect().adjusted(margin(), 0, -margin(), 0);
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
    }
};

QLabel* makePanel(QStatusBar* bar, const QString& name) {
    auto* panel = new ShrinkingLabel(bar);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setContentsMargins(2, 0, 2, 0);
    return panel;
}

// The first two panels are 318 pixels wide where there is room, and give way to
// the budget panel in a small window.
QLabel* addPanel(QStatusBar* bar, const QString& name) {
    QLabel* panel = makePanel(bar, name);
    panel->setMinimumWidth(80);
    panel->setMaximumWidth(StatusPanels::kPanelWidth);
    panel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(panel, 1);
    return panel;
}

}  // namespace

StatusPanels::StatusPanels(QStatusBar* bar, Clock clock)
    : QObject(bar),
      bar_(bar),
      title_(addPanel(bar, QStringLiteral("sbPanel1"))),
      message_(addPanel(bar, QStringLiteral("sbPanel2"))),
      budget_(makePanel(bar, QStringLiteral("sbBudget"))),
      states_(makePanel(bar, QStringLiteral("sbStates"))),
      ticker_(new QTimer(this)),
      clock_(clock ? std::move(clock) : Clock([] { return QTime::currentTime(); })) {
    title_->setText(QStringLiteral("Quillmoor Edit"));
    bar->addPermanentWidget(states_);
    bar->addPermanentWidget(budget_);
    states_->hide();  // until a ROM image is open
    // A tick a second keeps the minute shown current without drifting.
    ticker_->setInterval(1000);
    connect(ticker_, &QTimer::timeout, this, &StatusPanels::refreshTime);
    showTime();
}

void StatusPanels::showText(const QString& text) {
    if (!bar_->currentMessage().isEmpty()) {
        bar_->clearMessage();  // a progress text is news; an older notice would hide it
    }
    if (showingTime_) {
        ticker_->stop();
        showingTime_ = false;
    }
    if (message_->text() != text) {
        message_->setText(text);
        emit textShown(text);
    }
}

void StatusPanels::showTime() {
    showingTime_ = true;
    refreshTime();
    ticker_->start();
}

void StatusPanels::showNotice(const QString& text) {
    bar_->showMessage(text, 5000);
}

void StatusPanels::showBudget(const QString& text, bool alarm) {
    budget_->setText(text);
    budget_->setToolTip(text);
    budget_->setStyleSheet(alarm ? QStringLiteral("color: rgb(255, 0, 0);") : QString());
}

void StatusPanels::showStates(const QString& text) {
    states_->setText(text);
    states_->setToolTip(text);
    states_->setVisible(!text.isEmpty());
}

void StatusPanels::refreshTime() {
    message_->setText(QLocale().toString(clock_(), QLocale::ShortFormat));
}

}  // namespace qm
