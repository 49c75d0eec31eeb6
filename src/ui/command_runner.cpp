#include "command_runner.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <new>

#include "dialogs.h"
#include "guarded_application.h"
#include "status_panels.h"

namespace qm {

namespace {

// An item's shortcut reaches it even while its menu is disabled; it acts only
// once every menu it stands in is enabled.
bool reachable(const QAction* action) {
    for (const QObject* owner : action->associatedObjects()) {
        if (const auto* menu = qobject_cast<const QMenu*>(owner); menu && !menu->isEnabled()) {
            return false;
        }
    }
    return true;
}

/// A load or save in progress: the message panel shows its progress texts and
/// the window repaints now and then, but takes no input until the work ends.
class LongWork {
  public:
    LongWork(StatusPanels& status, bool& busy) : status_(status), busy_(busy) {
        busy_ = true;
        sinceRepaint_.start();
    }
    ~LongWork() {
        show(latestText_);  // the last report, as it stood when the work ended
        status_.showTime();
        busy_ = false;
    }
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    ProgressFn progress() {
        return [this](std::string_view text) {
            // A new stage shows at once; within a stage (a percentage, the dots of
            // the parsing text) only the text current when the window repaints.
            latestText_.assign(text);
            const bool newStage = stageOf(text) != stageOf(shownText_);
            // Reading the clock costs more than the rest: every 16th report will do.
            const bool repaint = ++reports_ % 16 == 0 && sinceRepaint_.elapsed() >= kRepaintMs;
            if (!newStage && !repaint) {
                return;
            }
            show(text);
            // Letting events run once per report would cost more than the work.
            if (repaint) {
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                sinceRepaint_.restart();
            }
        };
    }

  private:
    static constexpr qint64 kRepaintMs = 40;
    // «Isolating ROM Strings: 10.%» and «Parsing ROM Strings ...» without what
    // changes as the stage goes on.
    static std::string_view stageOf(std::string_view text) {
        text = text.substr(0, text.find(':'));
        return text.substr(0, text.find_last_not_of('.') + 1);
    }

    void show(std::string_view text) {
        if (!text.empty() && text != shownText_) {
            shownText_.assign(text);
            status_.showText(QString::fromLatin1(text.data(), qsizetype(text.size())));
        }
    }

    StatusPanels& status_;
    bool& busy_;
    QElapsedTimer sinceRepaint_;
    std::string shownText_;
    std::string latestText_;
    unsigned reports_ = 0;
};

}  // namespace

CommandRunner::CommandRunner(QWidget& window, Dialogs& dialogs, StatusPanels& status,
                             std::function<bool(Settle)> settle)
    : QObject(&window),
      window_(window),
      dialogs_(dialogs),
      status_(status),
      settle_(std::move(settle)) {}

void CommandRunner::connect(QAction* action, Settle settle, std::function<void()> command) {
    QObject::connect(action, &QAction::triggered, this,
                     [this, action, settle, command = std::move(command)] {
                         if (reachable(action)) {
                             QString title = action->text().remove(u'&');
                             if (title.endsWith(QStringLiteral("..."))) {
                                 title.chop(3);
                             }
                             run(title, settle, command);
                         }
                     });
}

bool CommandRunner::run(const QString& title, Settle settle, const std::function<void()>& command) {
    if (busy_) {
        return false;
    }
    QString failure;
    try {
        if (settle != Settle::Nothing && !settle_(settle)) {
            return false;
        }
        command();
        return true;
    } catch (const std::bad_alloc&) {
        failure = QStringLiteral("There was not enough memory to finish.") + kChangesKept;
    } catch (const std::exception& error) {
        failure = QString::fromUtf8(error.what());
    }
    dialogs_.warning(&window_, title, failure);
    return false;
}

void CommandRunner::runLong(const std::function<void(const ProgressFn&)>& work) {
    LongWork running(status_, busy_);
    work(running.progress());
}

}  // namespace qm
