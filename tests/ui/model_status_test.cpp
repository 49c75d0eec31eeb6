// The list's model on its own.
#include <QAbstractItemModelTester>

#include "string_table_model.h"
#include "window_fixture.h"

namespace qm::testing {
namespace {

TEST(StringTableModel, PassesTheModelTesterAndShowsEachByteAsOneCharacter) {
    StringTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setRows({{"1", "None", "Hi", "No", "0004"}, {"2", "Ivy", "caf\xe9", "Yes", "0304"}});
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(1, 2).data().toString(), QString::fromUtf8("caf\u00e9"));
    model.setEntry(0, {"1", "Greta", "Hey", "Yes", "0004"});
    EXPECT_EQ(model.index(0, 2).data().toString(), "Hey");
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
}  // namespace qm::testing
