#pragma once
// The string table as the list lvText shows it: one row per StringEntry, the
// five text columns and, while an original ROM image is open, the original's
// text. Each row's state (untranslated, overflowing, cannot be saved, changed)
// is kept with it: a mark before its number, its words as the tooltip, and a row
// that cannot be saved in red. The one table the list and the commands read and
// write.

#include <QAbstractTableModel>
#include <span>
#include <vector>

#include "project/assistant.hpp"
#include "rom/string_table.hpp"
#include "translation/row_state.hpp"

namespace qm {

/// The column after the five of the string table: the original's text.
inline constexpr int kColOriginal = kColumnCount;

class StringTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    /// Replaces all rows, and their notes and states; an empty vector empties
    /// the table.
    void setRows(std::vector<StringEntry> rows, Reviews reviews = {});

    /// Row r (0-based); r must be below rowCount().
    const StringEntry& entry(int r) const { return rows_.at(static_cast<std::size_t>(r)); }
    void setEntry(int r, StringEntry entry);
    /// Sets row r's portrait, colour and text to content's; what the row was
    /// loaded as stays.
    void setContent(int r, const StringEntry& content);
    /// Every row now stands against another file: its loaded form and pointer
    /// become those of file's row (of the same number); its content stays.
    void setLoadedForms(std::span<const StringEntry> file);

    std::span<const StringEntry> rows() const { return rows_; }

    /// The rows of the original ROM image to compare with; empty: none.
    void setOriginal(std::vector<StringEntry> original);
    std::span<const StringEntry> original() const { return original_; }
    /// The original's row r, or nullptr when there is none.
    const StringEntry* originalOf(int r) const;

    /// The character map texts show with (nothing: markup as it stands). The
    /// map must outlive the model's use of it.
    void setCharacterMap(const CharacterMap* map);
    const CharacterMap& characterMap() const;
    /// A text as the list and the editor show it: display text (UTF-8) with the map.
    QString displayText(const std::string& markup) const;

    /// The rows' notes and review states.
    const Reviews& reviews() const { return reviews_; }
    void setReviews(Reviews reviews);
    /// Sets row r's note and state.
    void setReview(int r, RowReview review);

    /// The checks (the assistant's), and the project whose ignored warnings they
    /// leave out; nothing: no checks. Both must outlive the model's use of them.
    void setChecks(const TranslationAssistant* assistant, const Project* project);
    /// Row r's warnings as the table stands (ignored ones left out).
    const std::vector<Warning>& warningsOf(int r) const;
    /// Every row's warnings, by row.
    std::vector<Warning> warnings() const;
    /// Every row's warnings anew, after the ignored ones changed.
    void recheck();

    /// Row r's state as it would be if it held candidate (and row r's review).
    RowState stateWith(int r, const StringEntry& candidate) const;
    /// Row r's state as it stands in the table.
    const RowState& state(int r) const { return states_.at(static_cast<std::size_t>(r)); }
    std::span<const RowState> states() const { return states_; }
    /// The counts of the states, as if row r held candidate.
    StateCounts countsWith(int r, const RowState& candidate) const;
    /// After a save: every row counts as loaded the way it was written.
    void markSaved();
    /// How many rows differ from what the file holds.
    int changedRows() const { return changedRows_; }

  private:
    void countChangedRows();
    /// Rows' warnings anew after row r changed (r and the rows that share its
    /// original, whose inconsistent warning may follow).
    void recheckAround(int r);
    /// Every row's state anew, after the rows, the original or the file changed.
    void updateStates();

    std::vector<StringEntry> rows_;
    std::vector<StringEntry> original_;
    const CharacterMap* map_ = nullptr;
    Reviews reviews_;
    const TranslationAssistant* checks_ = nullptr;
    const Project* project_ = nullptr;
    std::vector<std::vector<Warning>> warnings_;  // by row
    std::vector<RowState> states_;
    StateCounts counts_;
    int changedRows_ = 0;
};

}  // namespace qm
