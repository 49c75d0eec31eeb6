#include "commands/insert.hpp"

#include "markup/encoder.hpp"

namespace qm {

InsertQuestion InsertQuestionFor(InsertKind kind) {
    switch (kind) {
        case InsertKind::Pause:
            return {"Insert Pause",
                    "Please enter the length of the pause.\n(1 = Short, 10+ = Long)", "5"};
        case InsertKind::TextSpeed:
            return {"Insert Text Speed Change",
                    "Please enter the new text speed.\n(1 = Fast, 10+ = Slow)", "5"};
        case InsertKind::Animation:
            return {"Insert Animation Change",
                    "Please enter the new animation.\n(0 = Blinking, 1 = Talking, 2 = No movement, "
                    "3 = \"Sleeping\", 4 = Nervous, 5 = Hurt)",
                    "5"};
        case InsertKind::Return: break;
    }
    return {};
}

std::optional<std::string> InsertValueProblem(std::string_view value) {
    // The encoder reads the token's value; a value it refuses is refused here,
    // where it is typed, in the encoder's own words.
    const std::string token = "(Pause:" + std::string(value) + ")";
    const std::vector<MarkupProblem> problems = CheckMarkup(token);
    if (value.empty() || value.find_first_of("()") != std::string_view::npos || !problems.empty()) {
        return "Type a number from 0 to 254, or a placeholder such as {A}.";
    }
    return std::nullopt;
}

std::string InsertToken(InsertKind kind, const std::string& value) {
    switch (kind) {
        case InsertKind::Pause: return "(Pause:" + value + ")";
        case InsertKind::TextSpeed: return "(TextSpeed:" + value + ")";
        case InsertKind::Animation: return "(Animation:" + value + ")";
        case InsertKind::Return: break;
    }
    return "(return)";
}

}  // namespace qm
