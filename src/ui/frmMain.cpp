// The window's construction: form, fonts, list, preview, status bar, and the
// wiring of every control and menu item to its handler.
#include "frmMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLayout>

#include "dialogs.h"
#include "status_panels.h"
#include "string_table_model.h"
#include "ui_frmMain.h"

namespace qm {

namespace {

// The list's columns: Number, Portrait, Text, Coloured, Pointer Value.
constexpr int kColumnWidths[kColumnCount] = {77, 96, 467, 96, 96};

// Asks for the designed family first, then for look-alikes of its width; Qt
// falls back to the style hint when none is installed.
QFont designFont(const QStringList& families, qreal pointSize, QFont::StyleHint fallback) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setStyleHint(fallback);
    return font;
}

}  // namespace

frmMain::frmMain(WindowServices services, QWidget* parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::frmMain>()),
      dialogs_(services.dialogs ? std::move(services.dialogs) : std::make_unique<QtDialogs>()),
      portraitFolder_(services.portraitFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                        : services.portraitFolder) {
    ui->setupUi(this);
    setUpWindow();
    setUpFonts();
    setUpList();
    setUpStatusBar(std::move(services.clock));
    nameSeparators();
    connectFileMenu();
    connectCommandMenus();
    connectEditor();
    installKeyHandling();
}

frmMain::~frmMain() = default;

void frmMain::setUpWindow() {
    // Every control sits at a fixed place in a 640 x 480 client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void frmMain::setUpFonts() {
    // The form's own font, which the list, buttons and captions inherit.
    setFont(designFont({"MS Sans Serif", "Arial", "Liberation Sans", "Nimbus Sans"}, 8.25,
                       QFont::SansSerif));
    ui->txtText2->setFont(designFont({"Courier New"}, 8.25, QFont::TypeWriter));
    ui->txtText->setFont(designFont({"MS Sans Serif"}, 9.75, QFont::SansSerif));
}

void frmMain::setUpList() {
    model_ = new StringTableModel(this);
    ui->lvText->setModel(model_);
    ui->lvText->header()->setStretchLastSection(false);
    for (int column = 0; column < kColumnCount; ++column) {
        ui->lvText->setColumnWidth(column, kColumnWidths[column]);
    }
}

void frmMain::setUpStatusBar(std::function<QTime()> clock) {
    status_ = new StatusPanels(ui->sbStatusBar, std::move(clock));
}

void frmMain::nameSeparators() {
    int index = 0;
    for (QAction* action : ui->mnuFile->actions()) {
        if (action->isSeparator()) {
            action->setObjectName(index++ == 0 ? QStringLiteral("sepFile1")
                                               : QStringLiteral("sepFileB"));
        }
    }
}

void frmMain::connectFileMenu() {
    connect(ui->mnuOpenRom, &QAction::triggered, this, &frmMain::mnuOpenRom_Click);
    connect(ui->mnuSaveRom, &QAction::triggered, this, &frmMain::mnuSaveRom_Click);
    connect(ui->mnuSaveAs, &QAction::triggered, this, &frmMain::mnuSaveAs_Click);
    connect(ui->mnuQuit, &QAction::triggered, this, &frmMain::mnuQuit_Click);
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
}

void frmMain::connectEditor() {
    connect(ui->cmdApply, &QPushButton::clicked, this, &frmMain::cmdApply_Click);
    connect(ui->cmdAdd, &QPushButton::clicked, this, &frmMain::cmdAdd_Click);
    connect(ui->chkColoured, &QCheckBox::clicked, this, &frmMain::chkColoured_Click);
    connect(ui->hsPortrait, &QScrollBar::valueChanged, this, &frmMain::hsPortrait_Change);
    connect(ui->txtText, &QPlainTextEdit::textChanged, this, &frmMain::txtText_Change);
}

void frmMain::installKeyHandling() {
    ui->txtText2->setFocusBuddy(ui->txtText);
    ui->txtText->installEventFilter(this);
    ui->lvText->installEventFilter(this);
    ui->lvText->viewport()->installEventFilter(this);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        isWindowShortcut(static_cast<QKeyEvent*>(event))) {
        // The edit box and the list claim keys such as Ctrl+A for themselves;
        // here the menus' shortcuts win wherever the focus is.
        event->ignore();
        return true;
    }
    return filterListEvent(watched, event);
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

bool frmMain::filterListEvent(QObject* watched, QEvent* event) {
    if (watched == ui->lvText) {
        if (event->type() == QEvent::KeyPress) {
            lvText_KeyDown();
            if (!static_cast<QKeyEvent*>(event)->text().isEmpty()) {
                lvText_KeyPress();
            }
        } else if (event->type() == QEvent::KeyRelease) {
            lvText_KeyUp();
        }
    } else if (watched == ui->lvText->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // The press has already selected the clicked row.
        lvText_Click();
    }
    return false;
}

}  // namespace qm
