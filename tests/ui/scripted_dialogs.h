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
    enum class Kind { Open, Save, Text, Question, Information, Warning };
    struct Call {
        Kind kind;
        QString title;
        QString text;  // the filter, the prompt or the message
        QString defaultText;
    };

    /// Queues what the next dialog of a kind returns; nothing: Cancel.
    void answerOpen(const std::optional<QString>& path) { opens_.push_back(Answer(path)); }
    void answerSave(const std::optional<QString>& path, const QString& filter = {}) {
        saves_.push_back(Answer(path, filter));
    }
    void answerText(const std::optional<QString>& text) { texts_.push_back(Answer(text)); }
    void answerSaveChanges(SaveChangesAnswer answer) { questions_.push_back(answer); }
    const std::vector<Call>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    /// The calls of one kind, in order.
    std::vector<Call> callsOf(Kind kind) const {
        std::vector<Call> of;
        for (const Call& call : calls_) {
            if (call.kind == kind) {
                of.push_back(call);
            }
        }
        return of;
    }

    std::optional<QString> getOpenFileName(QWidget*, const QString& title, const QString& filter,
                                           const QString& start) override {
        calls_.push_back({Kind::Open, title, filter, start});
        const Answer a = take(opens_);
        return a.given ? std::optional<QString>(a.text) : std::nullopt;
    }
    std::optional<SaveTarget> getSaveFileName(QWidget*, const QString& title, const QString& filter,
                                              const QString& suggested) override {
        calls_.push_back({Kind::Save, title, filter, suggested});
        const Answer a = take(saves_);
        return a.given ? std::optional<SaveTarget>(SaveTarget{a.text, a.filter}) : std::nullopt;
    }
    std::optional<QString> getText(QWidget*, const QString& title, const QString& prompt,
                                   const QString& defaultText) override {
        calls_.push_back({Kind::Text, title, prompt, defaultText});
        const Answer a = take(texts_);
        return a.given ? std::optional<QString>(a.text) : std::nullopt;
    }
    SaveChangesAnswer askSaveChanges(QWidget*, const QString& title, const QString& text) override {
        calls_.push_back({Kind::Question, title, text, {}});
        if (questions_.empty()) {
            return SaveChangesAnswer::Cancel;
        }
        const SaveChangesAnswer answer = questions_.front();
        questions_.pop_front();
        return answer;
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
        explicit Answer(const std::optional<QString>& a, const QString& f = {})
            : given(a.has_value()), text(a.value_or(QString())), filter(f) {}
        bool given = false;
        QString text;
        QString filter;
    };
    static Answer take(std::deque<Answer>& answers) {
        if (answers.empty()) {
            return Answer(std::nullopt);
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<Answer> opens_;
    std::deque<Answer> saves_;
    std::deque<Answer> texts_;
    std::deque<SaveChangesAnswer> questions_;
    std::vector<Call> calls_;
};

}  // namespace qm::testing
