#pragma once
// The control-code tokens the Insert commands put into the edit box.

#include <optional>
#include <string>
#include <string_view>

namespace qm {

enum class InsertKind { Pause, TextSpeed, Animation, Return };

/// What an Insert command asks: its input box's title, prompt (two lines joined
/// by "\n") and default value. Return asks nothing: its prompt is empty.
struct InsertQuestion {
    std::string title;
    std::string prompt;
    std::string defaultValue;
};

InsertQuestion InsertQuestionFor(InsertKind kind);

/// Why a value typed into an Insert box cannot go into its token, or nothing
/// when it can: a number from 0 to 254 or a placeholder such as «{A}», as the
/// encoder takes them.
std::optional<std::string> InsertValueProblem(std::string_view value);

/// The token for a value as typed, unchecked and untrimmed: "(Pause:" + value +
/// ")" and so on; "(return)" for Return, whatever the value.
std::string InsertToken(InsertKind kind, const std::string& value);

}  // namespace qm
