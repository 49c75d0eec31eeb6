// The window before any ROM image is open: layout, design settings, menus.
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include "window_fixture.h"

namespace qm::testing {
namespace {

using WindowStart = WindowTest;

TEST_F(WindowStart, ShowsItsCaptionAndA640By480ClientArea) {
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit");
    EXPECT_EQ(window->centralWidget()->size(), QSize(640, 480));
    EXPECT_TRUE(window->romPath().empty());
}

TEST_F(WindowStart, PlacesEveryControlWhereDesigned) {
    const auto clientRect = [this](const char* name) {
        QWidget* w = widget<QWidget>(name);
        return QRect(w->mapTo(window->centralWidget(), QPoint(0, 0)), w->size());
    };
    EXPECT_EQ(clientRect("fraText"), QRect(8, 0, 625, 205));
    EXPECT_EQ(clientRect("txtText2"), QRect(16, 16, 489, 97));
    EXPECT_EQ(clientRect("txtText"), QRect(16, 120, 489, 81));
    EXPECT_EQ(clientRect("chkColoured"), QRect(512, 16, 65, 17));
    EXPECT_EQ(clientRect("imgPortrait"), QRect(512, 40, 108, 108));
    EXPECT_EQ(clientRect("hsPortrait"), QRect(512, 152, 111, 17));
    EXPECT_EQ(clientRect("cmdAdd"), QRect(512, 176, 33, 25));
    EXPECT_EQ(clientRect("cmdApply"), QRect(568, 176, 57, 25));
    EXPECT_EQ(clientRect("lvText"), QRect(8, 208, 625, 257));
    EXPECT_EQ(clientRect("sbStatusBar"), QRect(0, 465, 640, 15));
}

TEST_F(WindowStart, HasTheDesignSettingsOfItsControls) {
    EXPECT_EQ(widget<QGroupBox>("fraText")->title(), "Selected Text");
    EXPECT_EQ(editBox()->toPlainText(), "Text\n");
    EXPECT_EQ(preview()->toPlainText(), "");
    EXPECT_TRUE(preview()->isReadOnly());
    EXPECT_EQ(preview()->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_DOUBLE_EQ(preview()->font().pointSizeF(), 8.25);
    EXPECT_DOUBLE_EQ(editBox()->font().pointSizeF(), 9.75);
    EXPECT_EQ(coloured()->text(), "Coloured");
    EXPECT_FALSE(coloured()->isChecked());
    EXPECT_EQ(portrait()->minimum(), -1);
    EXPECT_EQ(portrait()->maximum(), 7);
    EXPECT_EQ(portrait()->value(), 0);
    EXPECT_EQ(portrait()->singleStep(), 1);
    EXPECT_EQ(portrait()->pageStep(), 1);
    EXPECT_TRUE(picture()->pixmap().isNull());
    EXPECT_EQ(widget<QPushButton>("cmdAdd")->text(), "Add");
    EXPECT_EQ(widget<QPushButton>("cmdApply")->text(), "Apply");
}

TEST_F(WindowStart, ListHasFiveCaptionedColumns) {
    const std::vector<std::pair<QString, int>> columns = {
        {"Number", 77}, {"Portrait", 96}, {"Text", 467}, {"Coloured", 96}, {"Pointer Value", 96}};
    ASSERT_EQ(list()->model()->columnCount(), 5);
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(list()->model()->headerData(c, Qt::Horizontal).toString(), columns[c].first);
        EXPECT_EQ(list()->columnWidth(c), columns[c].second) << c;
    }
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_EQ(list()->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list()->selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(WindowStart, EditorListAndCommandsAreDisabled) {
    for (const char* name : {"lvText", "fraText", "txtText2", "txtText", "chkColoured",
                             "imgPortrait", "hsPortrait", "cmdAdd", "cmdApply"}) {
        EXPECT_FALSE(widget<QWidget>(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(widget<QMenu>("mnuFile")->menuAction()->isEnabled());
    EXPECT_FALSE(widget<QMenu>("mnuFind")->menuAction()->isEnabled());
    EXPECT_FALSE(widget<QMenu>("mnuInsert")->menuAction()->isEnabled());
    EXPECT_TRUE(action("mnuOpenRom")->isEnabled());
    EXPECT_TRUE(action("mnuQuit")->isEnabled());
    EXPECT_FALSE(action("mnuSaveRom")->isEnabled());
    EXPECT_FALSE(action("mnuSaveAs")->isEnabled());
}

TEST_F(WindowStart, MenusCarryTheirCaptionsAndShortcuts) {
    const std::vector<std::pair<const char*, QStringList>> menus = {
        {"mnuFile", {"&Open ROM...", "", "&Save ROM", "Save &As Copy", "", "&Quit"}},
        {"mnuFind", {"&Find", "Find &Next"}},
        {"mnuInsert", {"&Pause", "&Text Speed Change", "&Animation Change", "&Return"}}};
    QStringList bar;
    for (QAction* a : window->menuBar()->actions()) {
        bar << a->text();
    }
    EXPECT_EQ(bar, QStringList({"&File", "&Find", "&Insert"}));
    for (const auto& [menu, captions] : menus) {
        QStringList shown;
        for (QAction* a : widget<QMenu>(menu)->actions()) {
            shown << a->text();
        }
        EXPECT_EQ(shown, captions) << menu;
    }
    const std::vector<std::pair<const char*, const char*>> shortcuts = {
        {"mnuSaveRom", "Ctrl+S"},
        {"mnuSaveAs", "Ctrl+R"},
        {"mnuFindFind", "F2"},
        {"mnuFindFindNext", "F3"},
        {"mnuInsertPause", "Ctrl+P"},
        {"mnuInsertTextSpeed", "Ctrl+T"},
        {"mnuInsertAnimation", "Ctrl+A"},
        {"mnuInsertReturn", ""},
        {"mnuOpenRom", ""}};
    for (const auto& [name, keys] : shortcuts) {
        EXPECT_EQ(action(name)->shortcut(), QKeySequence(QString::fromLatin1(keys))) << name;
    }
    EXPECT_EQ(action("sepFile1")->isSeparator(), true);
    EXPECT_EQ(action("sepFileB")->isSeparator(), true);
}

TEST_F(WindowStart, ShortcutsDoNothingBeforeARomImageIsOpen) {
    QSignalSpy saves(action("mnuSaveRom"), &QAction::triggered);
    for (const char* keys : {"Ctrl+S", "Ctrl+R", "Ctrl+P", "Ctrl+T", "Ctrl+A", "F2", "F3"}) {
        QTest::keySequence(window.get(), QKeySequence(QString::fromLatin1(keys)));
    }
    EXPECT_EQ(saves.count(), 0);
    EXPECT_TRUE(dialogs->calls().empty());
    EXPECT_EQ(editBox()->toPlainText(), "Text\n");
}

TEST_F(WindowStart, StatusBarShowsItsTitleAndTheTimeOfDay) {
    EXPECT_EQ(widget<QLabel>("sbPanel1")->text(), "Quillmoor Edit");
    EXPECT_EQ(statusText(), QLocale().toString(QTime(9, 41), QLocale::ShortFormat));
    EXPECT_EQ(widget<QLabel>("sbPanel1")->width(), 318);
    EXPECT_EQ(widget<QLabel>("sbPanel2")->width(), 318);
}

TEST_F(WindowStart, QuitClosesTheWindow) {
    action("mnuQuit")->trigger();
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace qm::testing
