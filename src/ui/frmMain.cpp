// The window's construction: form, fonts, list, status bar, and the wiring of
// every control and menu item to its handler; closing and dropping files.
#include "frmMain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>
#include <QUndoStack>

#include "dialogs.h"
#include "filter_bar.h"
#include "markup/portraits.hpp"
#include "original_panel.h"
#include "portrait_card.h"
#include "status_panels.h"
#include "string_list_view.h"
#include "string_table_model.h"
#include "table_history.h"
#include "ui_frmMain.h"

namespace qm {

namespace {

// The width of the Text and Original columns below which the list scrolls sideways.
constexpr int kNarrowestText = 160;
// The editor frame and the list at the window's default size.
constexpr int kFrameHeight = 205;
constexpr int kListHeight = 257;

// Asks for the designed family first, then for look-alikes of its width; Qt
// falls back to the style hint when none is installed.
QFont designFont(const QStringList& families, qreal pointSize, QFont::StyleHint fallback) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setStyleHint(fallback);
    return font;
}

// The one local file a drag carries, if it carries exactly one.
std::optional<QString> droppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 ||
        !data->urls().constFirst().isLocalFile()) {
        return std::nullopt;
    }
    return data->urls().constFirst().toLocalFile();
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

frmMain::frmMain(WindowServices services, QWidget* parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::frmMain>()),
      dialogs_(services.dialogs ? std::move(services.dialogs) : std::make_unique<QtDialogs>()),
      settings_(services.settingsFile.isEmpty()
                    ? std::make_unique<QSettings>()
                    : std::make_unique<QSettings>(services.settingsFile, QSettings::IniFormat)),
      portraitFolder_(services.portraitFolder.isEmpty() ? defaultPortraitFolder()
                                                        : services.portraitFolder) {
    ui->setupUi(this);
    setUpWindow();
    setUpFonts();
    setUpList();
    setUpStatusBar(std::move(services.clock));
    nameSeparators();
    connectFileMenu();
    connectCommandMenus();
    setUpEditMenu();
    connectEditor();
    installKeyHandling();
    showRecentRoms();
}

frmMain::~frmMain() = default;

void frmMain::setUpWindow() {
    // A taller window gives its height to the list; the editor keeps what its
    // text needs.
    ui->fraTextLayout->setSizeConstraint(QLayout::SetMinAndMaxSize);
    ui->splitter->setStretchFactor(0, 0);
    ui->splitter->setStretchFactor(1, 1);
    ui->splitter->setSizes({kFrameHeight, kListHeight});
    if (!restoreGeometry(settings_->value(QStringLiteral("window/geometry")).toByteArray())) {
        resize(640, 480 + menuBar()->sizeHint().height());
    }
    ui->splitter->restoreState(settings_->value(QStringLiteral("window/splitter")).toByteArray());
}

void frmMain::setUpFonts() {
    // The form's own font, which the list, buttons and captions inherit.
    setFont(designFont({"MS Sans Serif", "Arial", "Liberation Sans", "Nimbus Sans"}, 8.25,
                       QFont::SansSerif));
    ui->txtText2->setFont(designFont({"Courier New"}, 8.25, QFont::TypeWriter));
    ui->pnlOriginal->setPreviewFont(ui->txtText2->font());
    ui->txtText->setFont(designFont({"MS Sans Serif"}, 9.75, QFont::SansSerif));
}

void frmMain::setUpList() {
    model_ = new StringTableModel(this);
    shown_ = new RowFilterModel(*model_, this);
    ui->lvText->setModel(shown_);
    connect(ui->barFilter, &FilterBar::filterChanged, this, &frmMain::txtFilter_Change);
    QWidget::setTabOrder(ui->cmdAdd, ui->barFilter->textBox());
    QHeaderView* header = ui->lvText->header();
    header->setStretchLastSection(false);
    // The Text column takes whatever width the others leave; they fit the
    // widest thing they can show.
    const QFontMetrics metrics(ui->lvText->font());
    const char* widest[] = {"Number", "Mad Ms. Edna", "", "Coloured", "Pointer Value", ""};
    for (int column = 0; column <= kColOriginal; ++column) {
        ui->lvText->setColumnWidth(
            column, metrics.horizontalAdvance(QString::fromLatin1(widest[column])) + 24);
    }
    // Source before translation, as translators read them.
    header->moveSection(header->visualIndex(kColOriginal), header->visualIndex(kColText));
    ui->lvText->setStretchColumns({kColText, kColOriginal}, kNarrowestText);
    ui->lvText->setColumnShown(kColOriginal, false);
}

void frmMain::setUpEditMenu() {
    history_ = new TableHistory(
        *model_, [this](int row) { showChangedRow(row); }, this);
    QAction* undo = history_->undoAction();
    QAction* redo = history_->redoAction();
    // Ctrl+Z and Ctrl+Y belong to the edit box while it has the focus; Alt+Backspace
    // reaches the table from anywhere.
    undo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                        QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Backspace)});
    QAction* first = ui->mnuEdit->actions().value(0);
    for (QAction* action : {undo, redo}) {
        action->disconnect(history_->stack());
        ui->mnuEdit->insertAction(first, action);
    }
    ui->mnuEdit->insertSeparator(first);
    connect(undo, &QAction::triggered, this, [this] { undoTable(false); });
    connect(redo, &QAction::triggered, this, [this] { undoTable(true); });
    connect(model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) {
                tableRowsChanged(from.row(), to.row());
            });
}

void frmMain::setUpStatusBar(std::function<QTime()> clock) {
    status_ = new StatusPanels(ui->sbStatusBar, std::move(clock));
}

void frmMain::nameSeparators() {
    const char* names[] = {"sepFile1", "sepFile2", "sepFile3", "sepFileB"};
    std::size_t index = 0;
    for (QAction* action : ui->mnuFile->actions()) {
        if (action->isSeparator() && index < std::size(names)) {
            action->setObjectName(QString::fromLatin1(names[index++]));
        }
    }
}

void frmMain::connectFileMenu() {
    connect(ui->mnuOpenRom, &QAction::triggered, this, &frmMain::mnuOpenRom_Click);
    connect(ui->mnuSaveRom, &QAction::triggered, this, &frmMain::mnuSaveRom_Click);
    connect(ui->mnuSaveAs, &QAction::triggered, this, &frmMain::mnuSaveAs_Click);
    connect(ui->mnuQuit, &QAction::triggered, this, &frmMain::mnuQuit_Click);
    connect(ui->mnuExportTable, &QAction::triggered, this, &frmMain::mnuExportTable_Click);
    connect(ui->mnuImportTable, &QAction::triggered, this, &frmMain::mnuImportTable_Click);
    connect(ui->mnuCreatePatch, &QAction::triggered, this, &frmMain::mnuCreatePatch_Click);
    connect(ui->mnuCompareOriginal, &QAction::triggered, this, &frmMain::mnuCompareOriginal_Click);
    connect(ui->mnuCloseOriginal, &QAction::triggered, this, &frmMain::mnuCloseOriginal_Click);
}

void frmMain::connectCommandMenus() {
    // An item's shortcut reaches it even while its menu is disabled; the items
    // act only once their menu is enabled, that is once a ROM image is open.
    const auto connectItem = [this](QAction* item, QMenu* menu, void (frmMain::*handler)()) {
        connect(item, &QAction::triggered, this, [this, menu, handler] {
            if (menu->isEnabled() && !busy_) {
                (this->*handler)();
            }
        });
    };
    connectItem(ui->mnuInsertPause, ui->mnuInsert, &frmMain::mnuInsertPause_Click);
    connectItem(ui->mnuInsertTextSpeed, ui->mnuInsert, &frmMain::mnuInsertTextSpeed_Click);
    connectItem(ui->mnuInsertAnimation, ui->mnuInsert, &frmMain::mnuInsertAnimation_Click);
    connectItem(ui->mnuInsertReturn, ui->mnuInsert, &frmMain::mnuInsertReturn_Click);
    connectItem(ui->mnuFindFind, ui->mnuFind, &frmMain::mnuFindFind_Click);
    connectItem(ui->mnuFindFindNext, ui->mnuFind, &frmMain::mnuFindFindNext_Click);
    connectItem(ui->mnuFindReplace, ui->mnuFind, &frmMain::mnuFindReplace_Click);
    connectItem(ui->mnuFindNextUntranslated, ui->mnuFind, &frmMain::mnuFindNextUntranslated_Click);
    connectItem(ui->mnuFindNextProblem, ui->mnuFind, &frmMain::mnuFindNextProblem_Click);
    connectItem(ui->mnuRevertOriginal, ui->mnuEdit, &frmMain::mnuRevertOriginal_Click);
    connectItem(ui->mnuRevertFile, ui->mnuEdit, &frmMain::mnuRevertFile_Click);
    connectItem(ui->mnuApplyIdentical, ui->mnuEdit, &frmMain::mnuApplyIdentical_Click);
}

void frmMain::connectEditor() {
    // The row is loaded when the selection moves, by key or click, and not on
    // keys that leave it where it is.
    connect(ui->lvText->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmMain::lvText_SelectionChanged);
    connect(ui->cmdApply, &QPushButton::clicked, this, &frmMain::cmdApply_Click);
    connect(ui->cmdAdd, &QPushButton::clicked, this, &frmMain::cmdAdd_Click);
    connect(ui->chkColoured, &QCheckBox::clicked, this, &frmMain::chkColoured_Click);
    connect(ui->hsPortrait, &QScrollBar::valueChanged, this, &frmMain::hsPortrait_Change);
    connect(ui->txtText, &QPlainTextEdit::textChanged, this, &frmMain::txtText_Change);
    connect(ui->txtText, &QPlainTextEdit::cursorPositionChanged, this,
            &frmMain::txtText_CursorMoved);
}

void frmMain::installKeyHandling() {
    ui->txtText2->setFocusBuddy(ui->txtText);
    ui->txtText->installEventFilter(this);
    ui->lvText->installEventFilter(this);
    // A line edit claims Ctrl+U, Ctrl+E and more for itself.
    ui->barFilter->textBox()->installEventFilter(this);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && !isTypingUndo(watched, event) &&
        isWindowShortcut(static_cast<QKeyEvent*>(event))) {
        // The edit box and the list claim keys such as Ctrl+A for themselves;
        // here the menus' shortcuts win wherever the focus is.
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::isTypingUndo(const QObject* watched, const QEvent* event) const {
    const QKeySequence pressed(static_cast<const QKeyEvent*>(event)->keyCombination());
    return watched == ui->txtText && (pressed == QKeySequence(Qt::CTRL | Qt::Key_Z) ||
                                      pressed == QKeySequence(Qt::CTRL | Qt::Key_Y) ||
                                      pressed == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
}

bool frmMain::isWindowShortcut(const QKeyEvent* event) const {
    const QKeySequence pressed(event->keyCombination());
    for (const QAction* action : findChildren<QAction*>()) {
        if (!action->shortcut().isEmpty() && action->shortcut() == pressed) {
            return true;
        }
    }
    return false;
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (busy_ || !maybeSaveChanges()) {
        event->ignore();
        return;
    }
    settings_->setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings_->setValue(QStringLiteral("window/splitter"), ui->splitter->saveState());
    event->accept();
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!busy_ && droppedFile(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event) {
    const std::optional<QString> path = droppedFile(event->mimeData());
    if (!path || busy_) {
        return;
    }
    event->acceptProposedAction();
    if (maybeSaveChanges()) {
        openRom(*path);
    }
}

}  // namespace qm
