// The window before any ROM image is open.
#include <QMenu>
#include <QTest>

#include "window_fixture.h"

namespace qm::testing {
namespace {

using WindowStart = WindowTest;

TEST_F(WindowStart, OffersOnlyOpenAndQuitUntilARomImageIsOpen) {
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit");
    EXPECT_EQ(widget<QLabel>("sbPanel1")->text(), "Quillmoor Edit");
    EXPECT_EQ(statusText(), clockText());
    for (const char* keys : {"Ctrl+S", "Ctrl+R", "Ctrl+A", "F2"}) {
        QTest::keySequence(window.get(), QKeySequence(QString::fromLatin1(keys)));
    }
    EXPECT_TRUE(dialogs->calls().empty());  // a save would refuse with a message
    EXPECT_EQ(editBox()->toPlainText(), "Text\n");
    for (bool open : {false, true}) {
        SCOPED_TRACE(open ? "after a load" : "at start");
        if (open) {
            openRom(romWithRows({{0, "No", "Hi"}}));
        }
        for (const char* name : {"lvText", "fraText", "txtText2", "txtText", "cmdApply"}) {
            EXPECT_EQ(widget<QWidget>(name)->isEnabled(), open) << name;
        }
        for (const char* menu : {"mnuFind", "mnuInsert"}) {
            EXPECT_EQ(widget<QMenu>(menu)->menuAction()->isEnabled(), open) << menu;
        }
        EXPECT_EQ(action("mnuSaveRom")->isEnabled(), open);
        EXPECT_EQ(action("mnuSaveAs")->isEnabled(), open);
        EXPECT_TRUE(action("mnuOpenRom")->isEnabled());
    }
}

TEST_F(WindowStart, QuitClosesTheWindow) {
    action("mnuQuit")->trigger();
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace qm::testing
