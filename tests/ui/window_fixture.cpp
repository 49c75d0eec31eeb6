#include "window_fixture.h"

#include <QApplication>
#include <QTest>
#include <QTextCursor>

#include "markup/encoder.hpp"
#include "portrait_card.h"
#include "status_panels.h"

namespace qm::testing {

RomBuilder romWithRows(const std::vector<RomRow>& rows) {
    RomBuilder rom;
    for (const RomRow& row : rows) {
        std::string encoded =
            StringtoQM(row.portrait, ColourFromName(row.coloured).value(), row.text);
        encoded.pop_back();  // the builder adds the terminator
        rom.addString(bytesOf(encoded));
    }
    return rom;
}

QColor portraitTestColour(int number) {
    return QColor(20 * (number + 2), 200 - 10 * (number + 2), 77);
}

QString previewColours(const PreviewBox* preview) {
    const QStringList lines = preview->toPlainText().split(u'\n');
    QString out;
    for (int line = 0; line < lines.size(); ++line) {
        out += line == 0 ? QString() : QStringLiteral("\n");
        for (int column = 0; column < lines[line].size(); ++column) {
            const QColor colour = preview->colourAt(line, column);
            out += colour == QColor(255, 255, 255)   ? u'W'
                   : colour == QColor(160, 168, 232) ? u'C'
                   : colour == QColor(255, 0, 0)     ? u'R'
                                                     : u'?';
        }
    }
    return out;
}

QString clockText() {
    return QLocale().toString(QTime(9, 41), QLocale::ShortFormat);
}

WindowTest::WindowTest() : portraitDir(dir.path() / "portraits") {
    std::filesystem::create_directories(portraitDir);
    for (int n = -1; n <= 7; ++n) {
        QImage image(12, 12, QImage::Format_RGB32);
        image.fill(portraitTestColour(n));
        const auto file = portraitDir / PortraitFileName(n).toStdString();
        EXPECT_TRUE(image.save(QString::fromStdString(file.string()), "BMP"));
    }
    startWindow();
}

void WindowTest::startWindow() {
    window.reset();  // as a killed process leaves it: no question, no clean-up
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    WindowServices services;
    services.dialogs = std::move(scripted);
    services.portraitFolder = QString::fromStdString(portraitDir.string());
    services.clock = [] { return QTime(9, 41); };
    services.settingsFile = QString::fromStdString((dir.path() / "settings.ini").string());
    services.recoveryFolder = QString::fromStdString((dir.path() / "recovery").string());
    window = std::make_unique<frmMain>(std::move(services));
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

std::filesystem::path WindowTest::openRom(const RomBuilder& rom, const std::string& name) {
    const auto path = rom.writeTo(dir.path(), name);
    openWithAnswer(QString::fromStdString(path.string()));
    return path;
}

void WindowTest::openWithAnswer(const std::optional<QString>& answer) {
    dialogs->answerOpen(answer);
    action("mnuOpenRom")->trigger();
}

void WindowTest::recordStatus(QStringList& shown) const {
    auto* panels = window->findChild<StatusPanels*>();
    ASSERT_NE(panels, nullptr);
    QObject::connect(panels, &StatusPanels::textShown, [&shown](const QString& t) { shown << t; });
}

QString WindowTest::cell(int r, int c) const {
    return list()->model()->index(r, c).data().toString();
}

int WindowTest::selectedRow() const {
    const QModelIndexList rows = list()->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QColor WindowTest::shownPortraitColour() const {
    const QImage image = picture()->pixmap().toImage();
    return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
}

void WindowTest::clickRow(int r) {
    const QModelIndex index = list()->model()->index(r, 0);
    list()->scrollTo(index);
    const QPoint centre = list()->visualRect(index).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, centre);
    QCoreApplication::processEvents();  // a question about unapplied edits comes now
}

void WindowTest::caretAt(int pos) {
    editBox()->setFocus();
    QTextCursor cursor = editBox()->textCursor();
    cursor.setPosition(pos);
    editBox()->setTextCursor(cursor);
}

}  // namespace qm::testing
