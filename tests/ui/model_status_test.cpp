// The string-table model and the status bar's message panel.
#include <QAbstractItemModelTester>
#include <QStatusBar>

#include "status_panels.h"
#include "string_table_model.h"
#include "window_fixture.h"

namespace qm::testing {
namespace {

TEST(StringTableModel, PassesTheModelTesterThroughResetsAndEdits) {
    StringTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setRows({{"1", "None", "Hi", "No", "0004"}, {"2", "Ivy", "Yo", "Yes", "0304"}});
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(1, 1).data().toString(), "Ivy");
    EXPECT_EQ(model.index(0, 4).data().toString(), "0004");
    model.setEntry(0, {"1", "Greta", "Hey", "Yes", "0004"});
    EXPECT_EQ(model.index(0, 2).data().toString(), "Hey");
    EXPECT_FALSE(model.index(0, 2).data(Qt::EditRole).isValid());
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(StringTableModel, ShowsEveryByteAsOneCharacter) {
    StringTableModel model;
    model.setRows({{"1", "None", std::string("caf\xe9"), "No", "0004"}});
    EXPECT_EQ(model.index(0, 2).data().toString(), QString::fromUtf8("caf\u00e9"));
}

TEST(StatusPanels, SwitchesBetweenTextAndTheTimeOfDay) {
    QStatusBar bar;
    QTime now(23, 5);
    StatusPanels panels(&bar, [&now] { return now; });
    auto* message = bar.findChild<QLabel*>("sbPanel2");
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(panels.showingTime());
    EXPECT_EQ(message->text(), QLocale().toString(QTime(23, 5), QLocale::ShortFormat));
    panels.showText("Saving ROM: 10.%");
    EXPECT_FALSE(panels.showingTime());
    EXPECT_EQ(message->text(), "Saving ROM: 10.%");
    now = QTime(23, 6);
    panels.showTime();
    EXPECT_EQ(message->text(), QLocale().toString(QTime(23, 6), QLocale::ShortFormat));
}

}  // namespace
}  // namespace qm::testing
