// The translator's assistant in the window: the glossary panel and Ctrl+1, a
// suggestion put in with Ctrl+Alt+1 and applied as one step, the glossary's file
// chosen, extended and exported, and the spelling underline with its context
// menu, against a tiny dictionary the test writes.
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "assistant_commands.h"
#include "glossary_dialog.h"
#include "project/project_file.hpp"
#include "translation/glossary.hpp"
#include "translation/spelling.hpp"
#include "window_fixture.h"

namespace qm::testing {
namespace {

using Kind = ScriptedDialogs::Kind;
using Action = Dialogs::GlossaryAction;

class Assisting : public WindowTest {
  protected:
    // The ROM image game.smc, its project naming glossary, and an original.
    void open(const std::string& glossary) {
        writeFile(dir.path() / "glossary.csv",
                  bytesOf("term,translation,note\nQuillmoor,Federmoor,the town\nEdna,Edna,\n"));
        const auto original = romWithRows({{0, "No", "Welcome to Quillmoor, Edna."},
                                           {1, "No", "The mill of Quillmoor is old."},
                                           {1, "No", "The mill of Quillmoor is new."},
                                           {0, "No", "hello world"}})
                                  .writeTo(dir.path(), "original.smc");
        rom = romWithRows({{0, "No", "Willkommen, Edna."},
                           {1, "No", "Die Muehle von Federmoor ist alt."},
                           {1, "No", "The mill of Quillmoor is new."},
                           {0, "No", "hello wrold helo"}})
                  .writeTo(dir.path(), "game.smc");
        Project project;
        project.glossary = glossary;
        WriteProjectBeside(rom.string(), project);
        openWithAnswer(QString::fromStdString(rom.string()));
        dialogs->answerOpen(QString::fromStdString(original.string()));
        action("mnuCompareOriginal")->trigger();
    }
    QStringList panel() const {
        QStringList items;
        for (int i = 0; i < widget<QListWidget>("lstAssistant")->count(); ++i) {
            items << widget<QListWidget>("lstAssistant")->item(i)->text();
        }
        return items;
    }
    // The edit box's text under a wavy underline of colour, "|" between pieces.
    QString underlined(const QColor& colour) const {
        QStringList pieces;
        const QTextBlock block = editBox()->document()->firstBlock();
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            if (range.format.underlineColor() == colour) {
                pieces << block.text().mid(range.start, range.length);
            }
        }
        return pieces.join(u'|');
    }
    Glossary glossary() const { return ReadGlossary(utf8(dir.path() / "glossary.csv")); }
    std::filesystem::path rom;
};

TEST_F(Assisting, ThePanelShowsTheRowsTermsAndCtrl1InsertsATranslation) {
    open("glossary.csv");
    EXPECT_EQ(panel().mid(0, 3), (QStringList{"Glossary", "Ctrl+1  Quillmoor \u2192 Federmoor",
                                              "Ctrl+2  Edna \u2192 Edna"}));
    EXPECT_EQ(widget<QListWidget>("lstAssistant")->item(1)->toolTip(), "note: the town");
    caretAt(0);
    QTest::keyClick(editBox(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(editBox()->toPlainText(), "FedermoorWillkommen, Edna.");
    QTest::keyClick(editBox(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editBox()->toPlainText(), "Willkommen, Edna.");
}

TEST_F(Assisting, ASuggestionPutInWithCtrlAlt1AndAppliedIsOneStep) {
    open("");
    clickRow(2);
    ASSERT_EQ(panel().value(1), "Ctrl+Alt+1  83 \u26a0  Die Muehle von Federmoor ist alt.");
    QTest::keyClick(editBox(), Qt::Key_1, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(editBox()->toPlainText(), "Die Muehle von Federmoor ist alt.");
    EXPECT_EQ(cell(2, 2), "The mill of Quillmoor is new.");  // not applied yet
    apply();
    EXPECT_EQ(action("mnuUndo")->text(), "Undo Suggestion (row 3)");
    action("mnuUndo")->trigger();
    EXPECT_EQ(cell(2, 2), "The mill of Quillmoor is new.");
}

TEST_F(Assisting, TheGlossaryIsChosenExtendedFromThePreviewExportedAndLeft) {
    open("gone.csv");
    ASSERT_EQ(dialogs->callsOf(Kind::Warning).size(), 1u);
    EXPECT_TRUE(dialogs->callsOf(Kind::Warning)[0].text.contains("gone.csv"));
    EXPECT_EQ(panel().value(0), "Suggestions");  // no glossary read
    dialogs->answerGlossary(Action::Choose);
    dialogs->answerOpen(QString::fromStdString((dir.path() / "glossary.csv").string()));
    action("mnuGlossary")->trigger();
    EXPECT_EQ(panel().value(1), "Ctrl+1  Quillmoor \u2192 Federmoor");
    writeFile(dir.path() / "more.csv",
              bytesOf("Term,Translation,Note\nquillmoor,X,\nMill,Mühle,\n"));
    dialogs->answerGlossary(Action::Import);
    dialogs->answerOpen(QString::fromStdString((dir.path() / "more.csv").string()));
    action("mnuGlossary")->trigger();
    EXPECT_EQ(glossary().terms.back(), (GlossaryTerm{"Mill", "Mühle", {""}}));
    // A double click on the original's preview selects a word, the term to add.
    PreviewBox* original = widget<PreviewBox>("txtOriginal");
    original->repaint();
    QTest::mouseDClick(original, Qt::LeftButton, {}, original->paintedGlyphs().at(2).cell.center());
    dialogs->answerText(QStringLiteral("Willkommen"));
    action("mnuAddGlossaryTerm")->trigger();
    EXPECT_EQ(glossary().terms.back(), (GlossaryTerm{"Welcome", "Willkommen", {""}}));
    EXPECT_EQ(panel().value(1), "Ctrl+1  Welcome \u2192 Willkommen");
    dialogs->answerGlossary(Action::Export);
    dialogs->answerSave(QString::fromStdString((dir.path() / "glossary.csv").string()));
    action("mnuGlossary")->trigger();
    EXPECT_TRUE(dialogs->callsOf(Kind::Warning).back().text.contains("itself"));
    dialogs->answerGlossary(Action::Export);
    dialogs->answerSave(QString::fromStdString((dir.path() / "out.csv").string()));
    action("mnuGlossary")->trigger();
    EXPECT_EQ(readText(dir.path() / "out.csv"), readText(dir.path() / "glossary.csv"));
    action("mnuSaveRom")->trigger();
    EXPECT_EQ(ReadProjectBeside(rom.string()).glossary, "glossary.csv");
    dialogs->answerGlossary(Action::StopUsing);
    action("mnuGlossary")->trigger();
    EXPECT_EQ(panel().value(0), "Suggestions");
}

TEST(GlossaryDialog, OffersWhatTheGlossaryInUseAllowsAndSaysWhichButtonClosedIt) {
    const auto button = [](const GlossaryDialog& dialog, const char* text) {
        for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
            if (b->text() == text) {
                return b;
            }
        }
        return static_cast<QPushButton*>(nullptr);
    };
    GlossaryDialog none(nullptr, QString(), -1);
    EXPECT_EQ(none.findChild<QLabel*>("lblGlossaryState")->text(), "No glossary is in use.");
    EXPECT_FALSE(button(none, "&Export...")->isEnabled());
    EXPECT_FALSE(button(none, "&Stop Using")->isEnabled());
    GlossaryDialog used(nullptr, QStringLiteral("/work/story.csv"), 3);
    EXPECT_EQ(used.findChild<QLabel*>("lblGlossaryState")->text(),
              "The glossary is story.csv, with 3 terms.");
    button(used, "&Stop Using")->click();
    EXPECT_EQ(used.action(), Action::StopUsing);
}

TEST_F(Assisting, TheSpellingUnderlineMarksMisspeltWordsAndItsMenuMendsThem) {
    if (!SpellingAvailable()) {
        GTEST_SKIP() << "built without Hunspell";
    }
    std::filesystem::create_directory(dir.path() / "dicts");
    writeFile(dir.path() / "dicts" / "tiny.aff", bytesOf("SET UTF-8\nTRY elohrwd\n"));
    writeFile(dir.path() / "dicts" / "tiny.dic", bytesOf("2\nhello\nworld\n"));
    qputenv("DICPATH", QByteArray::fromStdString(utf8(dir.path() / "dicts")));
    open("");
    auto* languages = widget<QMenu>("mnuSpellingLanguage");
    emit languages->aboutToShow();
    const QList<QAction*> items = languages->actions();
    const auto tiny = std::find_if(items.begin(), items.end(),
                                   [](const QAction* item) { return item->text() == "tiny"; });
    ASSERT_NE(tiny, items.end());
    (*tiny)->trigger();
    qunsetenv("DICPATH");
    clickRow(3);
    const QColor blue(40, 110, 235);
    EXPECT_EQ(underlined(blue), "wrold|helo");
    EXPECT_TRUE(list()->model()->index(3, 0).data(Qt::ToolTipRole).toString().contains("spelling"));
    auto* commands = window->findChild<AssistantCommands*>();
    QMenu menu;
    commands->addSpellingItems(menu, 8);                                 // in "wrold"
    ASSERT_EQ(menu.actions().value(2)->text(), "Add to Project Words");  // after "world"
    menu.actions().at(2)->trigger();
    EXPECT_EQ(underlined(blue), "helo");
    QMenu helo;
    commands->addSpellingItems(helo, 13);
    ASSERT_EQ(helo.actions().value(0)->text(), "hello");
    helo.actions().at(0)->trigger();
    EXPECT_EQ(editBox()->toPlainText(), "hello wrold hello");
    EXPECT_EQ(underlined(blue), "");
    action("mnuSaveRom")->trigger();
    const Project project = ReadProjectBeside(rom.string());
    EXPECT_EQ(project.spellingLanguage, "tiny");
    EXPECT_EQ(project.projectWords, (std::set<std::string>{"wrold"}));
}

}  // namespace
}  // namespace qm::testing
