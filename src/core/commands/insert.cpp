#include "commands/insert.hpp"

namespace qm {

InsertQuestion InsertQuestionFor(InsertKind kind) {
    // All three boxes carry the Pause box's title, as users know them.
    const std::string title = "Insert Pause";
    switch (kind) {
        case InsertKind::Pause:
            return {title, "Please enter the length of the pause.\n(1 = Short, 10+ = Long)", "5"};
        case InsertKind::TextSpeed:
            return {title, "Please enter the new text speed.\n(1 = Fast, 10+ = Slow)", "5"};
        case InsertKind::Animation:
            return {title,
                    "Please enter the new animation.\n(0 = Blinking, 1 = Talking, 2 = No movement, "
                    "3 = \"Sleeping\", 4 = Nervous, 5 = Hurt)",
                    "5"};
        case InsertKind::Return: break;
    }
    return {};
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
