#pragma once
// Dialogs answered in advance, in order, with a record of every dialog asked
// for, so window tests never block on a modal box. No answer left: Cancel.

#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "dialogs.h"

namespace qm::testing {

class ScriptedDialogs : public Dialogs {
  public:
    enum class Kind { Open, Text, Information, Warning };
    struct Call {
        Kind kind;
        QString title;
        QString text;  // the filter, the prompt or the message
        QString defaultText;
    };

    /// Queues what the next open-file dialog or input box returns; nothing: Cancel.
    void answerOpen(const std::optional<QString>& path) { opens_.push_back(Answer(path)); }
    void answerText(const std::optional<QString>& text) { texts_.push_back(Answer(text)); }
    const std::vector<Call>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }

    std::optional<QString> getOpenFileName(QWidget*, const QString& title,
                                           const QString& filter) override {
        calls_.push_back({Kind::Open, title, filter, {}});
        return take(opens_);
    }
    std::optional<QString> getText(QWidget*, const QString& title, const QString& prompt,
                                   const QString& defaultText) override {
        calls_.push_back({Kind::Text, title, prompt, defaultText});
        return take(texts_);
    }
    void information(QWidget*, const QString& title, const QString& text) override {
        calls_.push_back({Kind::Information, title, text, {}});
    }
    void warning(QWidget*, const QString& title, const QString& text) override {
        calls_.push_back({Kind::Warning, title, text, {}});
    }

  private:
    // A flag and a text rather than an optional, which GCC 12 wrongly warns about.
    struct Answer {
        explicit Answer(const std::optional<QString>& a)
            : given(a.has_value()), text(a.value_or(QString())) {}
        bool given;
        QString text;
    };
    static std::optional<QString> take(std::deque<Answer>& answers) {
        if (answers.empty()) {
            return std::nullopt;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer.given ? std::optional<QString>(answer.text) : std::nullopt;
    }

    std::deque<Answer> opens_;
    std::deque<Answer> texts_;
    std::vector<Call> calls_;
};

}  // namespace qm::testing
