#include "save/budget.hpp"

#include "markup/encoder.hpp"
#include "rom/layout.hpp"
#include "text.hpp"

namespace qm {

namespace {

std::optional<std::size_t> sizeOf(const StringEntry& row) {
    if (row.IsUnchanged()) {
        return row.Loaded.bytes.size();
    }
    if (SaveProblem(row)) {
        return std::nullopt;
    }
    return EncodedBytes(row).size();
}

}  // namespace

std::optional<MarkupProblem> SaveProblem(const StringEntry& row) {
    if (row.IsUnchanged()) {
        return std::nullopt;
    }
    std::vector<MarkupProblem> problems = CheckMarkup(row.Text);
    if (problems.empty()) {
        return std::nullopt;
    }
    return std::move(problems.front());
}

std::optional<MarkupProblem> StoredProblem(const StringEntry& row) {
    if (!row.IsUnchanged()) {
        return std::nullopt;
    }
    std::vector<MarkupProblem> problems = CheckMarkup(row.Text);
    if (problems.empty()) {
        return std::nullopt;
    }
    return std::move(problems.front());
}

bool RegionUsage::over() const {
    return bytes > kTextRegionLength;
}

void RegionBudget::reset(std::span<const StringEntry> rows) {
    sizes_.clear();
    total_ = 0;
    unencodable_.clear();
    for (std::size_t k = 0; k < rows.size() && k < kStringCount; ++k) {
        sizes_.push_back(std::nullopt);
        update(k, rows[k]);
    }
}

void RegionBudget::update(std::size_t index, const StringEntry& row) {
    if (index >= sizes_.size()) {
        return;
    }
    total_ -= sizes_[index].value_or(0);
    unencodable_.erase(index);
    sizes_[index] = sizeOf(row);
    total_ += sizes_[index].value_or(0);
    if (!sizes_[index]) {
        unencodable_.insert(index);
    }
}

RegionUsage RegionBudget::usage() const {
    RegionUsage usage{total_, std::nullopt};
    if (!unencodable_.empty()) {
        usage.unencodableRow = *unencodable_.begin();
    }
    return usage;
}

RegionUsage RegionBudget::usageWith(std::size_t index, const StringEntry& candidate) const {
    if (index >= sizes_.size()) {
        return usage();
    }
    const std::optional<std::size_t> size = sizeOf(candidate);
    RegionUsage usage{total_ - sizes_[index].value_or(0) + size.value_or(0), std::nullopt};
    for (std::size_t row : unencodable_) {
        if (row != index) {
            usage.unencodableRow = row;
            break;
        }
    }
    if (!size && (!usage.unencodableRow || index < *usage.unencodableRow)) {
        usage.unencodableRow = index;
    }
    return usage;
}

std::string BudgetText(const RegionUsage& usage) {
    if (usage.unencodableRow) {
        return "Row " + std::to_string(*usage.unencodableRow + 1) + " cannot be saved";
    }
    std::string text =
        WithThousands(usage.bytes) + " / " + WithThousands(kTextRegionLength) + " bytes";
    if (usage.over()) {
        text += ": " + BytesText(usage.bytes - kTextRegionLength) + " over";
    }
    return text;
}

}  // namespace qm
