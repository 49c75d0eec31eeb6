#pragma once
// The window asks and tells the user only through Dialogs, so tests can answer
// in advance instead of blocking on a modal dialog.

#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace qm {

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    /// An open-file dialog; nothing when the user cancelled.
    virtual std::optional<QString> getOpenFileName(QWidget* parent, const QString& title,
                                                   const QString& filter) = 0;
    /// An input box with prompt and default; nothing when the user cancelled.
    virtual std::optional<QString> getText(QWidget* parent, const QString& title,
                                           const QString& prompt, const QString& defaultText) = 0;
    /// A notice with an OK button.
    virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
    /// A refusal or failure, with an OK button.
    virtual void warning(QWidget* parent, const QString& title, const QString& text) = 0;
};

/// The real modal Qt dialogs.
class QtDialogs : public Dialogs {
  public:
    std::optional<QString> getOpenFileName(QWidget* parent, const QString& title,
                                           const QString& filter) override;
    std::optional<QString> getText(QWidget* parent, const QString& title, const QString& prompt,
                                   const QString& defaultText) override;
    void information(QWidget* parent, const QString& title, const QString& text) override;
    void warning(QWidget* parent, const QString& title, const QString& text) override;
};

/// Answers given in advance, in order, and a record of every dialog asked for.
/// With no answer left it asks the fallback, or else cancels.
class ScriptedDialogs : public Dialogs {
  public:
    enum class Kind { Open, Text, Information, Warning };
    struct Call {
        Kind kind;
        QString title;
        QString text;  // the filter, the prompt or the message
        QString defaultText;
    };

    explicit ScriptedDialogs(std::unique_ptr<Dialogs> fallback = nullptr);

    /// Queues the path the next open-file dialog returns; nothing means Cancel.
    void answerOpen(const std::optional<QString>& path) { openAnswers_.push_back(Answer(path)); }
    /// Queues the text the next input box returns; nothing means Cancel.
    void answerText(const std::optional<QString>& text) { textAnswers_.push_back(Answer(text)); }
    const std::vector<Call>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }

    std::optional<QString> getOpenFileName(QWidget* parent, const QString& title,
                                           const QString& filter) override;
    std::optional<QString> getText(QWidget* parent, const QString& title, const QString& prompt,
                                   const QString& defaultText) override;
    void information(QWidget* parent, const QString& title, const QString& text) override;
    void warning(QWidget* parent, const QString& title, const QString& text) override;

  private:
    std::unique_ptr<Dialogs> fallback_;
    struct Answer {
        explicit Answer(const std::optional<QString>& a)
            : given(a.has_value()), text(a.value_or(QString())) {}
        bool given;
        QString text;
    };
    std::vector<Answer> openAnswers_;
    std::vector<Answer> textAnswers_;
    std::vector<Call> calls_;
};

}  // namespace qm
