// The window's construction: the form, the parts, and the wiring of every
// control and menu item to its handler; closing and dropping files; what the
// caption and the status bar say.
#include "frmMain.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <functional>

#include "app_settings.h"
#include "assistant_commands.h"
#include "autosave.h"
#include "checksum_panel.h"
#include "command_runner.h"
#include "emulator_commands.h"
#include "entry_editor.h"
#include "exchange_commands.h"
#include "filter_bar.h"
#include "find_replace.h"
#include "markup_edit.h"
#include "paths.h"
#include "recent_roms_menu.h"
#include "rom_session.h"
#include "row_list.h"
#include "row_navigator.h"
#include "status_panels.h"
#include "string_table_model.h"
#include "text.hpp"
#include "translation_commands.h"
#include "ui_frmMain.h"

namespace qm {

namespace {

// The editor frame and the list at the window's default size.
constexpr int kFrameHeight = 205;
constexpr int kListHeight = 257;

// The one local file a drag carries, if it carries exactly one.
std::optional<QString> droppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 ||
        !data->urls().constFirst().isLocalFile()) {
        return std::nullopt;
    }
    return data->urls().constFirst().toLocalFile();
}

}  // namespace

frmMain::frmMain(WindowServices services, QWidget* parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::frmMain>()),
      dialogs_(services.dialogs ? std::move(services.dialogs) : std::make_unique<QtDialogs>()),
      settings_(std::make_unique<AppSettings>(services.settingsFile)),
      session_(new RomSession(this)) {
    ui->setupUi(this);
    status_ = new StatusPanels(ui->sbStatusBar, std::move(services.clock));
    commands_ =
        new CommandRunner(*this, *dialogs_, *status_, [this](Settle how) { return settle(how); });
    list_ = new RowList(*ui->lvText, *ui->barFilter, session_->model(), *status_);
    editor().setUp(session_->model(), services.portraitFolder);
    navigator_ = new RowNavigator(*this, *session_, editor(), *list_, *dialogs_);
    translation_ =
        new TranslationCommands(*this, *session_, editor(), *navigator_, *dialogs_, *status_);
    find_ = new FindReplace(*this, *session_, editor(), *list_, *dialogs_, *commands_,
                            [this](int row) { return navigator_->goTo(row); });
    recent_ = new RecentRomsMenu(*ui->mnuRecentRoms, *settings_);
    auto* autosave = new Autosave(*this, *session_, editor(), *dialogs_, services.recoveryFolder);
    connect(&session_->history(), &TableHistory::tableChanged, autosave, &Autosave::changed);
    connect(&editor(), &EntryEditor::contentChanged, autosave, &Autosave::changed);
    connect(session_, &RomSession::projectChoiceChanged, autosave, &Autosave::changed);
    connect(session_, &RomSession::saved, autosave, &Autosave::forget);
    connect(this, &frmMain::changesDiscarded, autosave, &Autosave::forget);
    connect(this, &frmMain::romShown, autosave, &Autosave::offerRecovery);
    exchange_ = new ExchangeCommands(*this, *session_, editor(), *dialogs_, *status_, *settings_);
    setUpWindow();
    nameSeparators();
    connectMenus();
    connectEditMenu();
    connectParts();
    connectTesting();
    connectAssistant();
    installKeyHandling();
    if (!settings_->problem().isEmpty()) {
        status_->showNotice(settings_->problem());
    }
}

frmMain::~frmMain() = default;

const std::string& frmMain::romPath() const {
    return session_->path();
}

EntryEditor& frmMain::editor() const {
    return *ui->fraText;
}

void frmMain::setUpWindow() {
    // A taller window gives its height to the list; the editor keeps what its
    // text needs.
    ui->splitter->setStretchFactor(0, 0);
    ui->splitter->setStretchFactor(1, 1);
    ui->splitter->setSizes({kFrameHeight, kListHeight});
    if (!restoreGeometry(settings_->windowGeometry())) {
        resize(640, 480 + menuBar()->sizeHint().height());
    }
    ui->splitter->restoreState(settings_->splitterState());
    // A remembered or default size larger than the screen would put the status
    // bar out of reach: the window takes what the screen has, title bar included.
    const QRect room = screen()->availableGeometry();
    const QSize most = room.size() - QSize(8, 32);
    if (width() > most.width() || height() > most.height()) {
        resize(size().boundedTo(most));
        move(room.topLeft());
    }
    QWidget::setTabOrder(editor().findChild<QWidget*>(QStringLiteral("cmdAdd")),
                         ui->barFilter->textBox());
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

void frmMain::connectMenus() {
    using Handler = void (frmMain::*)();
    const std::tuple<QAction*, Settle, Handler> items[] = {
        {ui->mnuOpenRom, Settle::Nothing, &frmMain::mnuOpenRom_Click},
        {ui->mnuSaveRom, Settle::Apply, &frmMain::mnuSaveRom_Click},
        {ui->mnuSaveAs, Settle::Apply, &frmMain::mnuSaveAs_Click},
        {ui->mnuSaveAsTo, Settle::Apply, &frmMain::mnuSaveAsTo_Click},
        {ui->mnuApply, Settle::Nothing, &frmMain::cmdApply_Click},
        {ui->mnuCreatePatch, Settle::Nothing, &frmMain::mnuCreatePatch_Click},
    };
    for (const auto& [action, how, handler] : items) {
        commands_->connect(action, how, [this, handler = handler] { (this->*handler)(); });
    }
    using TranslationHandler = void (TranslationCommands::*)();
    const std::tuple<QAction*, Settle, TranslationHandler> translations[] = {
        {ui->mnuRevertOriginal, Settle::Nothing, &TranslationCommands::mnuRevertOriginal_Click},
        {ui->mnuRevertFile, Settle::Nothing, &TranslationCommands::mnuRevertFile_Click},
        {ui->mnuApplyIdentical, Settle::Apply, &TranslationCommands::mnuApplyIdentical_Click},
        {ui->mnuFindNextUntranslated, Settle::Nothing,
         &TranslationCommands::mnuFindNextUntranslated_Click},
        {ui->mnuFindNextProblem, Settle::Nothing, &TranslationCommands::mnuFindNextProblem_Click},
        {ui->mnuFindNextNeedingReview, Settle::Nothing,
         &TranslationCommands::mnuFindNextNeedingReview_Click},
        {ui->mnuFindNextWarning, Settle::Nothing, &TranslationCommands::mnuFindNextWarning_Click},
        {ui->mnuReflowRow, Settle::Nothing, &TranslationCommands::mnuReflowRow_Click},
        {ui->mnuReflowAll, Settle::Apply, &TranslationCommands::mnuReflowAll_Click}};
    for (const auto& [action, how, handler] : translations) {
        // std::invoke, not (translation_->*h)(): under -fsanitize=undefined GCC 12
        // reads the captured this wrongly in that form, and the build crashes there.
        commands_->connect(action, how, [this, h = handler] { std::invoke(h, translation_); });
    }
    using ExchangeHandler = void (ExchangeCommands::*)();
    const std::tuple<QAction*, Settle, ExchangeHandler> exchanges[] = {
        {ui->mnuExportTable, Settle::Apply, &ExchangeCommands::mnuExportTable_Click},
        {ui->mnuImportTable, Settle::Nothing, &ExchangeCommands::mnuImportTable_Click},
        {ui->mnuCharacterMap, Settle::Apply, &ExchangeCommands::mnuCharacterMap_Click},
        {ui->mnuCompareOriginal, Settle::Nothing, &ExchangeCommands::mnuCompareOriginal_Click},
        {ui->mnuCloseOriginal, Settle::Nothing, &ExchangeCommands::mnuCloseOriginal_Click}};
    for (const auto& [action, how, handler] : exchanges) {
        commands_->connect(action, how, [this, h = handler] { std::invoke(h, exchange_); });
    }
    using FindHandler = void (FindReplace::*)();
    const std::pair<QAction*, FindHandler> finds[] = {
        {ui->mnuFindFind, &FindReplace::mnuFindFind_Click},
        {ui->mnuFindFindNext, &FindReplace::mnuFindFindNext_Click},
        {ui->mnuFindReplace, &FindReplace::mnuFindReplace_Click}};
    for (const auto& [action, handler] : finds) {
        commands_->connect(action, Settle::Nothing, [this, h = handler] { std::invoke(h, find_); });
    }
    const std::pair<QAction*, InsertKind> inserts[] = {
        {ui->mnuInsertPause, InsertKind::Pause},
        {ui->mnuInsertTextSpeed, InsertKind::TextSpeed},
        {ui->mnuInsertAnimation, InsertKind::Animation},
        {ui->mnuInsertReturn, InsertKind::Return}};
    for (const auto& [action, kind] : inserts) {
        commands_->connect(action, Settle::Nothing, [this, k = kind] { insertToken(k); });
    }
    connect(ui->mnuQuit, &QAction::triggered, this, &QWidget::close);  // closeEvent asks
    connect(recent_, &RecentRomsMenu::openRequested, this, &frmMain::openRecentRom);
}

void frmMain::connectEditMenu() {
    TableHistory& history = session_->history();
    QAction* first = ui->mnuEdit->actions().value(0);
    ui->mnuEdit->insertActions(first, {history.undoAction(), history.redoAction()});
    ui->mnuEdit->insertSeparator(first);
    // Undo settles the editor itself: Apply there is the step to undo.
    commands_->connect(history.undoAction(), Settle::Nothing, [this] { navigator_->undo(false); });
    commands_->connect(history.redoAction(), Settle::Nothing, [this] { navigator_->undo(true); });
}

void frmMain::connectParts() {
    connect(&editor(), &EntryEditor::contentChanged, this, &frmMain::showEditState);
    connect(&editor(), &EntryEditor::rowLoaded, this, [this](int row) {
        list_->setAnchorRow(row);
        if (list_->selectedRow() != row) {
            list_->selectRow(row);  // whoever loaded it, the list shows the row edited
        }
        showEditState();
    });
    connect(&editor(), &EntryEditor::applyClicked, ui->mnuApply, &QAction::trigger);
    connect(&editor(), &EntryEditor::addClicked, ui->mnuInsert,
            [this](const QPoint& at) { ui->mnuInsert->popup(at); });
    connect(&session_->history(), &TableHistory::stepShown, navigator_,
            &RowNavigator::showChangedRow);
    connect(&session_->history(), &TableHistory::stepShown, find_, &FindReplace::forgetOutcome);
    connect(&session_->model(), &QAbstractItemModel::dataChanged, this, &frmMain::showEditState);
    connect(session_, &RomSession::originalChanged, this, &frmMain::showOriginal);
    // A filter follows every change of the rows' content or state.
    connect(&session_->history(), &TableHistory::tableChanged, list_, &RowList::refilter);
    connect(session_, &RomSession::originalChanged, list_, &RowList::refilter);
    connect(session_, &RomSession::characterMapChanged, this, [this] {
        list_->refilter();
        if (editor().row()) {
            editor().load(*editor().row());  // the edit box and previews in the new map
        }
    });
    connect(session_, &RomSession::saved, list_, &RowList::refilter);
    connect(find_, &FindReplace::notice, status_, &StatusPanels::showNotice);
    connect(list_, &RowList::rowMenuRequested, translation_, &TranslationCommands::showRowMenu);
}

void frmMain::connectTesting() {
    auto* testing = new EmulatorCommands(*this, *session_, *dialogs_, *commands_, *status_,
                                         *settings_, *navigator_);
    testing->bindFixOnSave(*ui->mnuFixChecksum);
    commands_->connect(ui->mnuTestInEmulator, Settle::Apply,
                       [testing] { testing->mnuTestInEmulator_Click(); });
    commands_->connect(ui->mnuEmulatorSettings, Settle::Nothing,
                       [testing] { testing->mnuEmulatorSettings_Click(); });
    connect(session_, &RomSession::opened, ui->mnuTestInEmulator,
            [this] { ui->mnuTestInEmulator->setEnabled(true); });
    ui->sbStatusBar->addPermanentWidget(new ChecksumPanel(*session_, ui->sbStatusBar));
}

void frmMain::connectAssistant() {
    auto* assistant =
        new AssistantCommands(*this, *session_, editor(), *dialogs_, *commands_, *status_);
    assistant->bindMenus(*ui->mnuGlossary, *ui->mnuAddSuggestionSource, *ui->mnuSpellingLanguage);
}

void frmMain::installKeyHandling() {
    editor().textBox()->installEventFilter(this);
    ui->lvText->installEventFilter(this);
    // A line edit claims Ctrl+U, Ctrl+E and more for itself.
    ui->barFilter->textBox()->installEventFilter(this);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && !isFieldsOwnKey(watched, event) &&
        isWindowShortcut(static_cast<QKeyEvent*>(event))) {
        // The edit box and the list claim keys such as Ctrl+A for themselves;
        // here the menus' shortcuts win wherever the focus is.
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::isFieldsOwnKey(const QObject* watched, const QEvent* event) const {
    const auto* key = static_cast<const QKeyEvent*>(event);
    const bool undo = key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
                      key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::Key_Y);
    if (watched == editor().textBox()) {
        return undo;  // the edit box's own undo, not the table's
    }
    return watched == ui->barFilter->textBox() &&
           (undo || key->matches(QKeySequence::SelectAll) || key->matches(QKeySequence::Cut) ||
            key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste));
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
    if (commands_->busy() || !maybeSaveChanges()) {
        event->ignore();
        return;
    }
    settings_->setWindowState(saveGeometry(), ui->splitter->saveState());
    event->accept();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Back from another program, which may have written the open file.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !commands_->busy() &&
        session_->fileChangedUnnoticed()) {
        status_->showNotice(changedOnDisk());
    }
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!commands_->busy() && droppedFile(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event) {
    const std::optional<QString> path = droppedFile(event->mimeData());
    if (!path || commands_->busy()) {
        return;
    }
    event->acceptProposedAction();
    if (maybeSaveChanges()) {
        openRom(*path);
    }
}

void frmMain::enableEditing() {
    ui->lblStart->hide();
    ui->splitter->show();
    for (QWidget* part : {static_cast<QWidget*>(ui->lvText), static_cast<QWidget*>(ui->fraText)}) {
        part->setEnabled(true);
    }
    for (QMenu* menu : {ui->mnuEdit, ui->mnuInsert, ui->mnuFind}) {
        menu->setEnabled(true);
    }
    for (QAction* action :
         {ui->mnuSaveRom, ui->mnuSaveAs, ui->mnuSaveAsTo, ui->mnuCharacterMap, ui->mnuImportTable,
          ui->mnuExportTable, ui->mnuCreatePatch, ui->mnuCompareOriginal}) {
        action->setEnabled(true);
    }
}

void frmMain::showRomPathInCaption() {
    // "[*]" is where the platform marks unsaved changes.
    setWindowTitle(kCaption + QStringLiteral(" - ") + ShownFileName(romPath()) +
                   QStringLiteral("[*]"));
}

void frmMain::showEditState() {
    const std::optional<StringEntry> entry = editor().edited();
    setWindowModified(session_->hasUnsavedChanges() || editor().isModified());
    if (!ui->lvText->isEnabled()) {
        return;  // no ROM image yet: nothing to measure
    }
    // The budget and the counts take the edit box as if it were applied.
    const int row = editor().row().value_or(0);
    const RegionUsage usage = entry ? session_->usageWith(row, *entry) : session_->usage();
    status_->showBudget(QString::fromStdString(BudgetText(usage)),
                        usage.over() || usage.unencodableRow.has_value());
    const StateCounts counts = entry ? session_->countsWith(row, *entry) : session_->counts();
    status_->showStates(QString::fromStdString(StatusText(counts)));
}

}  // namespace qm
