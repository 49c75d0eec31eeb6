#pragma once
// Dialogs answered in advance, in order, with a record of every dialog asked
// for, so window tests never block on a modal box. No answer left: Cancel.

#include <QString>
#include <deque>
#include <map>
#include <optional>
#include <vector>

#include "dialogs.h"

namespace qm::testing {

class ScriptedDialogs : public Dialogs {
  public:
    enum class Kind {
        Open,
        Save,
        Text,
        Question,
        ApplyQuestion,
        YesNo,
        Information,
        Warning,
        Choice,
        Refused,  // an input box's check refused the answer: text is the reason
        CharacterMap,
        Emulator,  // text is the program, defaultText the arguments shown
        Glossary   // text is the glossary in use, defaultText its terms
    };
    struct Call {
        Kind kind;
        QString title;
        QString text;         // the filter, the prompt or the message
        QString defaultText;  // the default, the start or the suggested name
    };

    /// Queues what the next dialog of a kind returns; nothing: Cancel.
    void answerOpen(const std::optional<QString>& path) { queue(Kind::Open, path); }
    void answerSave(const std::optional<QString>& path, const QString& filter = {}) {
        queue(Kind::Save, path, filter);
    }
    void answerText(const std::optional<QString>& text) { queue(Kind::Text, text); }
    void answerSaveChanges(SaveChangesAnswer answer) {
        queue(Kind::Question, QString::number(int(answer)));
    }
    void answerApplyChanges(ApplyChangesAnswer answer) {
        queue(Kind::ApplyQuestion, QString::number(int(answer)));
    }
    /// The map the next Character Map dialog is saved with; nothing: cancelled.
    void answerCharacterMap(const std::optional<qm::CharacterMap>& map) { maps_.push_back(map); }
    /// The index of the button the next question with buttons is answered by.
    void answerChoice(int button) { queue(Kind::Choice, QString::number(button)); }
    void answerYesNo(bool yes) { queue(Kind::YesNo, yes ? QStringLiteral("y") : QString()); }
    void answerEmulator(const std::optional<EmulatorCommand>& command) {
        queue(Kind::Emulator, command ? std::optional(command->program) : std::nullopt,
              command ? command->arguments : QString());
    }
    void answerGlossary(GlossaryAction action) {
        queue(Kind::Glossary, QString::number(int(action)));
    }
    const std::vector<Call>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    std::vector<Call> callsOf(Kind kind) const {
        std::vector<Call> of;
        std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(of),
                     [kind](const Call& call) { return call.kind == kind; });
        return of;
    }

    std::optional<QString> getOpenFileName(QWidget*, const QString& title, const QString& filter,
                                           const QString& start) override {
        const Answer a = ask({Kind::Open, title, filter, start});
        return a.given ? std::optional<QString>(a.text) : std::nullopt;
    }
    std::optional<SaveTarget> getSaveFileName(QWidget*, const QString& title, const QString& filter,
                                              const QString& suggested) override {
        const Answer a = ask({Kind::Save, title, filter, suggested});
        return a.given ? std::optional<SaveTarget>(SaveTarget{a.text, a.filter}) : std::nullopt;
    }
    using Dialogs::getText;
    /// A refused answer is recorded (Kind::Refused) and the next one is typed.
    std::optional<QString> getText(QWidget*, const QString& title, const QString& prompt,
                                   const QString& defaultText, const TextCheck& check) override {
        for (Answer a = ask({Kind::Text, title, prompt, defaultText}); a.given;
             a = next(Kind::Text)) {
            const QString problem = check ? check(a.text) : QString();
            if (problem.isEmpty()) {
                return a.text;
            }
            calls_.push_back({Kind::Refused, title, problem, a.text});
        }
        return std::nullopt;
    }
    int choose(QWidget*, const QString& title, const QString& text, const QStringList& buttons, int,
               int escapeButton) override {
        const Answer a = ask({Kind::Choice, title, text, buttons.join(u'|')});
        return a.given ? a.text.toInt() : escapeButton;
    }
    SaveChangesAnswer askSaveChanges(QWidget*, const QString& title, const QString& text) override {
        const Answer a = ask({Kind::Question, title, text, {}});
        return a.given ? SaveChangesAnswer(a.text.toInt()) : SaveChangesAnswer::Cancel;
    }
    ApplyChangesAnswer askApplyChanges(QWidget*, const QString& title,
                                       const QString& text) override {
        const Answer a = ask({Kind::ApplyQuestion, title, text, {}});
        return a.given ? ApplyChangesAnswer(a.text.toInt()) : ApplyChangesAnswer::Cancel;
    }
    bool askYesNo(QWidget*, const QString& title, const QString& text) override {
        return !ask({Kind::YesNo, title, text, {}}).text.isEmpty();
    }
    void information(QWidget*, const QString& title, const QString& text) override {
        ask({Kind::Information, title, text, {}});
    }
    void warning(QWidget*, const QString& title, const QString& text) override {
        ask({Kind::Warning, title, text, {}});
    }

    std::optional<qm::CharacterMap> editCharacterMap(QWidget*, const qm::CharacterMap&,
                                                     std::span<const FreeCodeUse> uses,
                                                     const QString& file) override {
        calls_.push_back({Kind::CharacterMap, QStringLiteral("Character Map"),
                          QString::number(uses.size()), file});
        if (maps_.empty()) {
            return std::nullopt;
        }
        std::optional<qm::CharacterMap> map = maps_.front();
        maps_.pop_front();
        return map;
    }

    std::optional<EmulatorCommand> askEmulatorCommand(QWidget*,
                                                      const EmulatorCommand& current) override {
        const Answer a =
            ask({Kind::Emulator, QStringLiteral("Emulator"), current.program, current.arguments});
        return a.given ? std::optional(EmulatorCommand{a.text, a.filter}) : std::nullopt;
    }

    std::optional<GlossaryAction> askGlossaryAction(QWidget*, const QString& file,
                                                    int terms) override {
        const Answer a =
            ask({Kind::Glossary, QStringLiteral("Glossary"), file, QString::number(terms)});
        return a.given ? std::optional(GlossaryAction(a.text.toInt())) : std::nullopt;
    }

  private:
    // A flag and a text rather than an optional, which GCC 12 wrongly warns about.
    struct Answer {
        bool given = false;
        QString text;
        QString filter;
    };
    void queue(Kind kind, const std::optional<QString>& answer, const QString& filter = {}) {
        answers_[kind].push_back({answer.has_value(), answer.value_or(QString()), filter});
    }
    Answer ask(const Call& call) {
        calls_.push_back(call);
        return next(call.kind);
    }
    Answer next(Kind kind) {
        std::deque<Answer>& answers = answers_[kind];
        if (answers.empty()) {
            return {};
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::map<Kind, std::deque<Answer>> answers_;
    std::deque<std::optional<qm::CharacterMap>> maps_;
    std::vector<Call> calls_;
};

}  // namespace qm::testing
