// Another program writes the open ROM image: the window notices before it writes
// and asks; the settings file is used only while it is a regular file.
#include <sys/stat.h>

#include <QTest>
#include <thread>

#include "rom/load.hpp"
#include "save/writer.hpp"
#include "status_panels.h"
#include "window_fixture.h"

namespace qm::testing {
namespace {

using Kind = ScriptedDialogs::Kind;
enum Answer { kMerge, kOverwrite, kCancel };

class AnotherWriter : public WindowTest {
  protected:
    void SetUp() override {
        rom = openRom(romWithRows({{0, "No", "One"}, {1, "No", "Two"}, {2, "No", "Three"}}));
    }
    // What another program does: loads the file, changes rows, saves it.
    Bytes writeElsewhere(const std::vector<std::pair<int, std::string>>& texts) {
        std::vector<StringEntry> rows = LoadRom(rom.string());
        for (const auto& [row, text] : texts) {
            rows[std::size_t(row)].Text = text;
        }
        // A new modification time even on a coarse clock.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        SaveRom(rom.string(), rows);
        return readFile(rom);
    }
    std::vector<std::string> fileTexts() const {
        std::vector<std::string> texts;
        for (const StringEntry& row : LoadRom(rom.string())) {
            texts.push_back(row.Text);
        }
        return texts;
    }

    std::filesystem::path rom;
};

TEST_F(AnotherWriter, ASaveAsksFirstAndWritesOnlyWhatTheAnswerSays) {
    const struct {
        Answer answer;
        std::vector<std::string> file;  // the texts the file holds afterwards
        std::size_t conflicts;          // rows listed as changed on both sides
    } cases[] = {
        {kCancel, {"One", "Theirs", "Three"}, 0},
        {kOverwrite, {"Mine", "Two", "Mine too"}, 0},
        {kMerge, {"Mine", "Theirs", "Mine too"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.answer));
        dialogs->answerSaveChanges(Dialogs::SaveChangesAnswer::Discard);  // the case before
        SetUp();
        ASSERT_EQ(cell(0, 2), "One");
        clickRow(0);
        editBox()->setPlainText("Mine");
        apply();
        clickRow(2);
        editBox()->setPlainText("Mine too");  // not applied: Ctrl+S takes it along
        const Bytes theirs = writeElsewhere({{1, "Theirs"}, {2, "Their three"}});
        dialogs->clearCalls();
        dialogs->answerChoice(c.answer);
        QTest::keyClick(editBox(), Qt::Key_S, Qt::ControlModifier);
        const auto asked = dialogs->callsOf(Kind::Choice);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].text, "game.smc was changed by another program since it was opened.");
        EXPECT_EQ(asked[0].defaultText, "&Merge|&Overwrite|&Cancel");
        if (c.answer == kCancel) {
            EXPECT_TRUE(readFile(rom) == theirs);  // as the other program left it
            EXPECT_TRUE(window->isWindowModified());
            continue;
        }
        EXPECT_EQ(fileTexts(), c.file);
        EXPECT_EQ(dialogs->callsOf(Kind::Information).size(), c.conflicts);
        EXPECT_FALSE(window->isWindowModified());
        if (c.answer == kMerge) {  // one step takes the merge back
            EXPECT_TRUE(dialogs->calls().back().text.contains("Row 3"));
            action("mnuUndo")->trigger();
            EXPECT_EQ(cell(1, 2), "Two");
        }
    }
}

TEST_F(AnotherWriter, TheWindowSaysSoWhenItComesBackToTheFront) {
    writeElsewhere({{1, "Theirs"}});
    for (int times = 0; times < 2; ++times) {  // once for each change
        QEvent activated(QEvent::ActivationChange);
        QApplication::sendEvent(window.get(), &activated);
        EXPECT_EQ(statusText(), times == 0
                                    ? "game.smc was changed by another program since it was opened."
                                    : clockText());
        widget<QStatusBar>("sbStatusBar")->clearMessage();
    }
}

TEST(SettingsFile, OnlyARegularFileIsUsedAndNothingIsWrittenThroughAnythingElse) {
    TempDir dir;
    const auto target = dir.path() / "rom.smc";
    writeFile(target, Bytes(100, 0x42));
    const auto link = dir.path() / "link.ini";
    std::filesystem::create_symlink(target, link);
    const auto fifo = dir.path() / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& settings : {link, fifo}) {
        WindowServices services;
        services.dialogs = std::make_unique<ScriptedDialogs>();
        services.settingsFile = QString::fromStdString(settings.string());
        frmMain window(std::move(services));  // a FIFO would block here if it were opened
        window.show();
        EXPECT_TRUE(window.findChild<QStatusBar*>()->currentMessage().contains("not a regular"));
        window.resize(700, 500);
        EXPECT_TRUE(window.close());
    }
    EXPECT_TRUE(readFile(target) == Bytes(100, 0x42));
}

}  // namespace
}  // namespace qm::testing
