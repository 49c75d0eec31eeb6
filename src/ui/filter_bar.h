#pragma once
// The filter line above the list: a text, matched in each row's text and its
// original as the player sees them, and a state to show only (untranslated,
// overflowing, ...). RowFilterModel shows the rows that pass; row numbers stay
// the rows' own.

#include <QSortFilterProxyModel>
#include <QWidget>
#include <optional>

#include "translation/filter.hpp"

class QComboBox;
class QLineEdit;

namespace qm {

class StringTableModel;

class FilterBar : public QWidget {
    Q_OBJECT
  public:
    explicit FilterBar(QWidget* parent = nullptr);

    /// The filter as the controls set it: its text is display text (UTF-8), for
    /// a filter whose map is set.
    RowFilter filter() const;
    /// Back to every row, as when the window opened.
    void clear();
    QLineEdit* textBox() const { return text_; }

  signals:
    void filterChanged();

  private:
    QLineEdit* text_;
    QComboBox* state_;
};

class RowFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit RowFilterModel(StringTableModel& rows, QObject* parent = nullptr);

    /// Shows the rows that pass filter, and the anchor row whatever the filter
    /// says; the rows shown change only here.
    void setFilter(const RowFilter& filter, std::optional<int> anchor);
    /// The rows shown, as rows of the table (0-based), ascending.
    std::vector<std::size_t> shownRows() const;

    /// The same for every row: no lookup in the table as the list lays out its rows.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

  private:
    StringTableModel& rows_;
    RowFilter filter_;
    std::optional<int> anchor_;
};

}  // namespace qm
