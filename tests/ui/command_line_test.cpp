// The editor's command line, on the program itself. It is read before any
// window exists: under a platform that does not exist, a window would abort.
#include <gtest/gtest.h>

#include <QByteArray>

#include "cli/script_runner.hpp"

namespace qm {
namespace {

TEST(EditorCommandLine, HelpAndVersionPrintWithoutAWindowAndMistakesExitWith2) {
    testing::TempDir dir;
    qputenv("QT_QPA_PLATFORM", "none");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;  // how standard output starts
        std::string err;
    } cases[] = {
        {{"--help"}, 0, "Usage: quillmoor-text-edit [options] [ROM]\n", ""},
        {{"--version"}, 0, "quillmoor-text-edit " QM_VERSION "\n", ""},
        {{"--frobnicate"},
         2,
         "",
         "quillmoor-text-edit: Unknown option 'frobnicate'; run with --help\n"},
        {{"a.smc", "b.smc"},
         2,
         "",
         "quillmoor-text-edit: give one ROM image at most; run with --help\n"},
    };
    for (const auto& c : cases) {
        const auto r = testing::runProgram(QM_EDITOR_PATH, c.args, dir.path());
        EXPECT_EQ(r.status, c.status) << c.args[0] << ": " << r.err;
        EXPECT_EQ(c.out.empty() ? r.out : r.out.substr(0, c.out.size()), c.out);
        EXPECT_EQ(r.err, c.err);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace
}  // namespace qm
