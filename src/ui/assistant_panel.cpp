#include "assistant_panel.h"

#include <QKeySequence>

namespace qm {

namespace {

// What an item stands for, in its data.
enum class ItemKind { Other, Term, Suggestion };
constexpr int kKindRole = Qt::UserRole;
constexpr int kIndexRole = Qt::UserRole + 1;

QString keyText(QKeyCombination key) {
    return QKeySequence(key).toString(QKeySequence::NativeText);
}

}  // namespace

AssistantPanel::AssistantPanel(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("lstAssistant"));
    // The keys reach the items from the edit box: the panel takes no focus of
    // its own, and the edit box's tab order stays as it was.
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int n = item->data(kIndexRole).toInt();
        switch (ItemKind(item->data(kKindRole).toInt())) {
            case ItemKind::Term: emit termChosen(n); break;
            case ItemKind::Suggestion: emit suggestionChosen(n); break;
            case ItemKind::Other: break;
        }
    });
}

QSize AssistantPanel::sizeHint() const {
    return {fontMetrics().averageCharWidth() * 34, fontMetrics().height() * 4};
}

QSize AssistantPanel::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * 18, fontMetrics().height() * 2};
}

void AssistantPanel::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    fitItems();
}

void AssistantPanel::fitItems() {
    const QSize size(viewport()->width(), fontMetrics().height() + 4);
    for (int i = 0; i < count(); ++i) {
        item(i)->setSizeHint(size);
    }
}

void AssistantPanel::showHelp(bool glossary, std::span<const FoundTerm> terms,
                              std::span<const Suggestion> suggestions,
                              const TranslationAssistant& assistant) {
    clear();
    if (glossary) {
        addHeading(QStringLiteral("Glossary"));
        for (std::size_t n = 0; n < terms.size(); ++n) {
            addTerm(int(n), terms[n]);
        }
        if (terms.empty()) {
            addNothing(QStringLiteral("No term of the glossary in the original"));
        }
    }
    addHeading(QStringLiteral("Suggestions"));
    for (std::size_t n = 0; n < suggestions.size(); ++n) {
        addSuggestion(int(n), suggestions[n], assistant);
    }
    if (suggestions.empty()) {
        addNothing(QStringLiteral("No translated row reads like this one"));
    }
    fitItems();
}

void AssistantPanel::addHeading(const QString& text) {
    auto* item = new QListWidgetItem(text, this);
    QFont bold = font();
    bold.setBold(true);
    item->setFont(bold);
    item->setFlags(Qt::ItemIsEnabled);
}

void AssistantPanel::addNothing(const QString& text) {
    auto* item = new QListWidgetItem(text, this);
    item->setFlags(Qt::NoItemFlags);
}

void AssistantPanel::addTerm(int n, const FoundTerm& term) {
    const QString key = n < kTermKeys ? keyText(Qt::CTRL | Qt::Key(Qt::Key_1 + n)) : QString();
    auto* item = new QListWidgetItem(
        QStringLiteral("%1  %2 \u2192 %3")
            .arg(key, QString::fromStdString(term.term), QString::fromStdString(term.translation)),
        this);
    item->setToolTip(QString::fromStdString(term.note));
    item->setData(kKindRole, int(ItemKind::Term));
    item->setData(kIndexRole, n);
}

void AssistantPanel::addSuggestion(int n, const Suggestion& suggestion,
                                   const TranslationAssistant& assistant) {
    const QString key =
        n < kSuggestionKeys ? keyText(Qt::CTRL | Qt::ALT | Qt::Key(Qt::Key_1 + n)) : QString();
    const QString text = QString::fromStdString(suggestion.text);
    auto* item =
        new QListWidgetItem(QStringLiteral("%1  %2%3  %4")
                                .arg(key)
                                .arg(suggestion.score)
                                .arg(suggestion.fits ? QString() : QStringLiteral(" \u26a0"), text),
                            this);
    const QString source =
        suggestion.source == 0
            ? QString()
            : QString::fromStdString(assistant.sourceName(suggestion.source)) + QLatin1Char(' ');
    item->setToolTip(QStringLiteral("%1row %2, score %3, %4\n%5")
                         .arg(source)
                         .arg(suggestion.row + 1)
                         .arg(suggestion.score)
                         .arg(suggestion.fits ? QStringLiteral("fits the text box")
                                              : QStringLiteral("does not fit the text box"),
                              text));
    item->setData(kKindRole, int(ItemKind::Suggestion));
    item->setData(kIndexRole, n);
}

}  // namespace qm
