#include "filter_bar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>

#include "string_table_model.h"

namespace qm {

FilterBar::FilterBar(QWidget* parent)
    : QWidget(parent), text_(new QLineEdit(this)), state_(new QComboBox(this)) {
    text_->setObjectName(QStringLiteral("txtFilter"));
    text_->setPlaceholderText(QStringLiteral("Filter the rows by their text or the original's"));
    text_->setClearButtonEnabled(true);
    state_->setObjectName(QStringLiteral("cboFilterState"));
    for (const char* name : kStateChoiceNames) {
        state_->addItem(QString::fromLatin1(name));
    }
    for (const char* name : kReviewChoiceNames) {
        state_->addItem(QString::fromLatin1(name));
    }
    state_->addItem(QString::fromLatin1(kWarningsChoiceName));
    auto* label = new QLabel(QStringLiteral("Fi&lter:"), this);
    label->setBuddy(text_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->addWidget(label);
    layout->addWidget(text_, 1);
    layout->addWidget(state_);
    connect(text_, &QLineEdit::textChanged, this, &FilterBar::filterChanged);
    new QShortcut(QKeySequence(Qt::Key_Escape), text_, text_, &QLineEdit::clear,
                  Qt::WidgetShortcut);
    connect(state_, &QComboBox::currentIndexChanged, this, &FilterBar::filterChanged);
}

RowFilter FilterBar::filter() const {
    RowFilter filter;
    filter.state = StateChoice(state_->currentIndex());
    filter.text = text_->text().toStdString();  // display text, read with the rows' map
    return filter;
}

void FilterBar::clear() {
    text_->clear();
    state_->setCurrentIndex(0);
}

RowFilterModel::RowFilterModel(StringTableModel& rows, QObject* parent)
    : QSortFilterProxyModel(parent), rows_(rows) {
    setSourceModel(&rows);
    setDynamicSortFilter(false);
}

void RowFilterModel::setFilter(const RowFilter& filter, std::optional<int> anchor) {
    filter_ = filter;
    anchor_ = anchor;
    invalidateRowsFilter();
}

std::vector<std::size_t> RowFilterModel::shownRows() const {
    std::vector<std::size_t> shown;
    for (int row = 0; row < rowCount(); ++row) {
        shown.push_back(std::size_t(mapToSource(index(row, 0)).row()));
    }
    return shown;
}

Qt::ItemFlags RowFilterModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

bool RowFilterModel::filterAcceptsRow(int row, const QModelIndex&) const {
    return row == anchor_ ||
           PassesFilter(rows_.entry(row), rows_.originalOf(row), rows_.state(row), filter_);
}

}  // namespace qm
