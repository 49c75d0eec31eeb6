#include "entry_editor.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QPixmapCache>
#include <QTextCursor>

#include "assistant_panel.h"
#include "errors.hpp"
#include "game_text.h"
#include "markup/display.hpp"
#include "markup/portraits.hpp"
#include "markup_edit.h"
#include "original_panel.h"
#include "portrait_card.h"
#include "preview/preview.hpp"
#include "preview_box.h"
#include "string_table_model.h"
#include "ui_entry_editor.h"

namespace qm {

namespace {

// Asks for the designed family first, then for look-alikes of its width; Qt
// falls back to the style hint when none is installed.
QFont designFont(const QStringList& families, qreal pointSize, QFont::StyleHint fallback) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setStyleHint(fallback);
    return font;
}

// The pictures beside the program (a build tree, or pictures of the user's own),
// else an installed copy's, found from the program's folder so that an unpacked
// package works wherever it lies.
QString defaultPortraitFolder() {
    const QDir beside(QCoreApplication::applicationDirPath());
    for (int number = kPortraitMin; number <= kPortraitMax; ++number) {
        if (beside.exists(PortraitFileName(number))) {
            return beside.path();
        }
    }
    return QDir::cleanPath(beside.filePath(QStringLiteral(QM_INSTALLED_PORTRAITS)));
}

}  // namespace

EntryEditor::EntryEditor(QWidget* parent)
    : QGroupBox(parent), ui_(std::make_unique<Ui::EntryEditor>()) {
    ui_->setupUi(this);
    setUpFonts();
    // The box reads the same in a dark palette as in a light one: a light box
    // with a dark tick, whatever the theme's field colours.
    QPalette box = ui_->chkColoured->palette();
    box.setColor(QPalette::Base, QColor(250, 250, 250));
    box.setColor(QPalette::Text, QColor(20, 20, 20));
    ui_->chkColoured->setPalette(box);
    ui_->txtText2->setFocusBuddy(ui_->txtText);
    connect(ui_->cmdApply, &QPushButton::clicked, this, &EntryEditor::applyClicked);
    connect(ui_->cmdAdd, &QPushButton::clicked, this, [this] {
        // Below the button, where a drop-down list opens, wherever the pointer is.
        emit addClicked(ui_->cmdAdd->mapToGlobal(QPoint(0, ui_->cmdAdd->height())));
    });
    connect(ui_->chkColoured, &QCheckBox::clicked, this, &EntryEditor::chkColoured_Click);
    connect(ui_->hsPortrait, &QScrollBar::valueChanged, this, &EntryEditor::hsPortrait_Change);
    connect(ui_->txtText, &QPlainTextEdit::textChanged, this, &EntryEditor::txtText_Change);
    for (const ReviewState state :
         {ReviewState::None, ReviewState::Draft, ReviewState::NeedsReview, ReviewState::Approved}) {
        ui_->cboState->addItem(state == ReviewState::None
                                   ? QStringLiteral("No state")
                                   : QString::fromUtf8(ReviewStateName(state).data(),
                                                       qsizetype(ReviewStateName(state).size())),
                               int(state));
    }
    // Two lines of note, and the rest of the height for the text.
    ui_->txtNote->setFixedHeight(ui_->txtNote->fontMetrics().lineSpacing() * 2 + 12);
    connect(ui_->txtNote, &QPlainTextEdit::textChanged, this, [this] {
        if (!loading_) {
            emit contentChanged();
        }
    });
    connect(ui_->cboState, &QComboBox::activated, this, [this] {
        stateChosen_ = true;
        emit contentChanged();
    });
}

EntryEditor::~EntryEditor() = default;

void EntryEditor::setUpFonts() {
    ui_->txtText->setFont(designFont({"MS Sans Serif"}, 9.75, QFont::SansSerif));
}

void EntryEditor::setUp(const StringTableModel& model, const QString& portraitFolder) {
    model_ = &model;
    ui_->txtText->setCharacterMap(&model.characterMap());
    portraitFolder_ = portraitFolder.isEmpty() ? defaultPortraitFolder() : portraitFolder;
}

void EntryEditor::forgetRow() {
    row_.reset();
    showTitle();
}

void EntryEditor::load(int row) {
    const StringEntry& entry = model_->entry(row);
    row_ = row;
    loading_ = true;
    revertedColour_.reset();
    pendingStep_.clear();
    // A missing picture must not leave the previous row in the editor.
    showPortrait(entry.Portrait);
    ui_->hsPortrait->setValue(entry.Portrait);
    // The colour first, so that the preview is drawn once, for the new text.
    const bool coloured = entry.Coloured == Colour::Yes;
    ui_->chkColoured->setChecked(coloured);
    ui_->txtText2->setEntryColour(EntryColour(coloured));
    ui_->txtText->setPlainText(model_->displayText(entry.Text));
    const RowReview& review = ReviewOf(model_->reviews(), std::size_t(row));
    ui_->txtNote->setPlainText(QString::fromStdString(review.note));
    ui_->cboState->setCurrentIndex(ui_->cboState->findData(int(review.state)));
    stateChosen_ = false;
    showOriginalRow();
    loading_ = false;
    showTitle();
    emit rowLoaded(row);
}

void EntryEditor::showTitle() {
    setTitle(row_ ? QStringLiteral("Row %1 \u00b7 %2")
                        .arg(*row_ + 1)
                        .arg(QString::fromStdString(
                            GetPortraitName(static_cast<std::int16_t>(ui_->hsPortrait->value()))))
                  : QStringLiteral("Selected Text"));
}

std::string EntryEditor::markupOf(const QString& display) const {
    try {
        return DisplayToMarkup(display.toStdString(), model_->characterMap());
    } catch (const TextError&) {
        // A character no code stands for: a byte the encoder refuses keeps its
        // place, so the budget and the counts know the row cannot be saved.
        QString stand = display;
        for (QChar& c : stand) {
            c = c.unicode() > 0xFF ? QChar(0x7F) : c;
        }
        return DisplayToMarkup(stand.toStdString(), model_->characterMap());
    }
}

std::optional<StringEntry> EntryEditor::edited() const {
    if (!row_ || model_ == nullptr || *row_ >= model_->rowCount()) {
        return std::nullopt;
    }
    StringEntry entry = model_->entry(*row_);
    entry.Portrait = static_cast<std::int16_t>(ui_->hsPortrait->value());
    entry.Text = markupOf(ui_->txtText->toPlainText());
    // A colour the box cannot show ("?", "") stays until the box is changed; so
    // does one a revert put there.
    const Colour shown = revertedColour_.value_or(entry.Coloured);
    const bool checked = ui_->chkColoured->isChecked();
    entry.Coloured = checked == (shown == Colour::Yes) ? shown : checked ? Colour::Yes : Colour::No;
    return entry;
}

void EntryEditor::applied() {
    stateChosen_ = false;
    if (row_) {
        const ReviewState state = ReviewOf(model_->reviews(), std::size_t(*row_)).state;
        ui_->cboState->setCurrentIndex(ui_->cboState->findData(int(state)));
    }
}

RowReview EntryEditor::editedReview() const {
    if (!row_ || model_ == nullptr) {
        return {};
    }
    RowReview review{ui_->txtNote->toPlainText().toStdString(),
                     ReviewState(ui_->cboState->currentData().toInt())};
    const std::optional<StringEntry> entry = edited();
    if (!stateChosen_ && entry && entry->Text != model_->entry(*row_).Text) {
        review.state = StateAfterTextChange(review.state);
    }
    return review;
}

bool EntryEditor::isModified() const {
    const std::optional<StringEntry> entry = edited();
    return entry && (!SameContent(*entry, model_->entry(*row_)) ||
                     editedReview() != ReviewOf(model_->reviews(), std::size_t(*row_)));
}

QString EntryEditor::stepName() const {
    return pendingStep_.isEmpty() ? QStringLiteral("Apply") : pendingStep_;
}

void EntryEditor::revertTo(std::int16_t portrait, Colour coloured, const std::string& text,
                           const QString& step) {
    ui_->hsPortrait->setValue(portrait);
    ui_->chkColoured->setChecked(coloured == Colour::Yes);
    chkColoured_Click();
    revertedColour_ = coloured;
    // One step of the edit box's own undo, so Ctrl+Z there takes the revert back.
    ui_->txtText->selectAll();
    ui_->txtText->insertAsOneStep(model_->displayText(text));
    pendingStep_ = step;
    emit contentChanged();
    ui_->txtText->setFocus(Qt::OtherFocusReason);
}

void EntryEditor::restore(const EditBoxState& box) {
    load(int(box.row));
    ui_->hsPortrait->setValue(box.portrait);
    ui_->chkColoured->setChecked(box.coloured == Colour::Yes);
    ui_->txtText2->setEntryColour(EntryColour(box.coloured == Colour::Yes));
    revertedColour_ = box.coloured;
    ui_->txtText->setPlainText(QString::fromStdString(box.text));
    placeCaret(int(box.caret));
    emit contentChanged();
}

void EntryEditor::showOriginalSide(bool shown) {
    ui_->pnlOriginal->setVisible(shown);
    if (row_ && model_ != nullptr) {
        showOriginalRow();
    }
}

void EntryEditor::showOriginalRow() {
    const StringEntry* original = row_ ? model_->originalOf(*row_) : nullptr;
    ui_->pnlOriginal->showRow(original, original ? model_->displayText(original->Text) : QString());
}

void EntryEditor::insertText(const QString& text) {
    ui_->txtText->insertAsOneStep(text);
    // Typing and Ctrl+Z go on where the text went, whichever control asked for it.
    ui_->txtText->setFocus(Qt::OtherFocusReason);
}

void EntryEditor::select(int position, int length) {
    QTextCursor cursor = ui_->txtText->textCursor();
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    ui_->txtText->setTextCursor(cursor);
}

void EntryEditor::placeCaret(int position) {
    QTextCursor caret = ui_->txtText->textCursor();
    caret.setPosition(std::min(position, ui_->txtText->document()->characterCount() - 1));
    ui_->txtText->setTextCursor(caret);
    ui_->txtText->setFocus(Qt::OtherFocusReason);
}

QString EntryEditor::text() const {
    return ui_->txtText->toPlainText();
}

QString EntryEditor::selectedText() const {
    return ui_->txtText->textCursor().selectedText();
}

int EntryEditor::selectionStart() const {
    return ui_->txtText->textCursor().selectionStart();
}

int EntryEditor::selectionEnd() const {
    return ui_->txtText->textCursor().selectionEnd();
}

MarkupEdit* EntryEditor::textBox() const {
    return ui_->txtText;
}

PreviewBox* EntryEditor::originalPreview() const {
    return ui_->pnlOriginal->preview();
}

AssistantPanel* EntryEditor::assistantPanel() const {
    return ui_->lstAssistant;
}

bool EntryEditor::queueRowQuestion() {
    return !std::exchange(rowQuestionQueued_, true);
}

void EntryEditor::chkColoured_Click() {
    revertedColour_.reset();  // the user's own choice now
    ui_->txtText2->setEntryColour(EntryColour(ui_->chkColoured->isChecked()));
    emit contentChanged();
}

void EntryEditor::hsPortrait_Change() {
    showPortrait(ui_->hsPortrait->value());
    showTitle();
    if (!loading_) {
        emit contentChanged();
    }
}

void EntryEditor::txtText_Change() {
    ui_->txtText2->showText(ui_->txtText->toPlainText());
    if (!loading_) {
        emit contentChanged();
    }
}

void EntryEditor::showPortrait(int number) {
    // Read once per file version: a row change should not decode a bitmap, but
    // a picture the user replaces shows at the next change of row.
    const QFileInfo file(QDir(portraitFolder_).filePath(PortraitFileName(number)));
    const QString key = file.filePath() + QString::number(file.lastModified().toMSecsSinceEpoch());
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture) && picture.load(file.filePath())) {
        QPixmapCache::insert(key, picture);
    }
    if (picture.isNull()) {
        ui_->imgPortrait->clear();
    } else {
        ui_->imgPortrait->setPixmap(picture);
    }
}

}  // namespace qm
