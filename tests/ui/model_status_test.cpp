// The list's model on its own.
#include <QAbstractItemModelTester>

#include "string_table_model.h"
#include "window_fixture.h"

namespace qm::testing {
namespace {

TEST(StringTableModel, PassesTheModelTesterAndShowsEachByteAsOneCharacter) {
    StringTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    StringEntry row;
    row.Text = "caf\xe9";
    row.Portrait = 4;
    row.Coloured = Colour::Yes;
    row.Pointer = 0x0403;
    model.setRows({StringEntry{}, row});
    EXPECT_EQ(model.rowCount(), 2);
    const QStringList shown = {
        model.index(1, 0).data().toString(), model.index(1, 1).data().toString(),
        model.index(1, 2).data().toString(), model.index(1, 3).data().toString(),
        model.index(1, 4).data().toString()};
    EXPECT_EQ(shown, QStringList({"2", "Ivy", QString::fromUtf8("caf\u00e9"), "Yes", "0304"}));
    row.Text = "Hey";
    model.setEntry(0, row);
    EXPECT_EQ(model.index(0, 2).data().toString(), "Hey");
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
}  // namespace qm::testing
