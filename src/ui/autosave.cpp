#include "autosave.h"

#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QStandardPaths>
#include <QWidget>

#include "dialogs.h"
#include "entry_editor.h"
#include "files.hpp"
#include "markup/display.hpp"
#include "paths.h"
#include "rom_session.h"
#include "string_table_model.h"
#include "text.hpp"

namespace qm {

namespace {

QString defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/recovery");
}

QString clockTime(std::int64_t secondsSinceEpoch) {
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(secondsSinceEpoch).time(),
                              QLocale::ShortFormat);
}

// «Row 17: "old" -> "new"», one a line, for Show.
QString recoveredRowsText(const Recovery& recovery, const CharacterMap& map) {
    std::vector<std::string> lines;
    for (const RecoveredRow& row : recovery.rows) {
        lines.push_back("Row " + std::to_string(row.row + 1) + ": " +
                        Quoted(MarkupToDisplay(row.before.text, map)) + " -> " +
                        Quoted(MarkupToDisplay(row.after.text, map)));
    }
    if (recovery.editBox) {
        lines.push_back("The edit box, row " + std::to_string(recovery.editBox->row + 1) + ": " +
                        Quoted(recovery.editBox->text));
    }
    return QString::fromStdString(ListedLines("The unsaved work:", lines));
}

}  // namespace

Autosave::Autosave(QWidget& window, RomSession& session, EntryEditor& editor, Dialogs& dialogs,
                   const QString& folder, int pauseMs, int longestMs)
    : QObject(&window),
      window_(window),
      session_(session),
      editor_(editor),
      dialogs_(dialogs),
      folder_(folder.isEmpty() ? defaultFolder() : folder) {
    writer_.setMaxThreadCount(1);
    for (QTimer* timer : {&pause_, &longest_}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, &Autosave::writeNow);
    }
    pause_.setInterval(pauseMs);
    longest_.setInterval(longestMs);
}

Autosave::~Autosave() {
    writer_.waitForDone();
}

std::string Autosave::filePath() const {
    return NativePath(QDir(folder_).filePath(
        QString::fromStdString(RecoveryFileName(session_.path(), session_.fileSize()))));
}

void Autosave::changed() {
    if (session_.path().empty()) {
        return;
    }
    pause_.start();  // again: the file comes once the typing pauses
    if (!longest_.isActive()) {
        longest_.start();  // but never later than this after the first change
    }
}

Recovery Autosave::current() const {
    Recovery recovery;
    recovery.romPath = session_.path();
    recovery.romSize = session_.fileSize();
    recovery.savedAt = QDateTime::currentSecsSinceEpoch();
    recovery.rows = ChangedRows(session_.rows());
    if (editor_.isModified()) {
        const StringEntry entry = *editor_.edited();
        recovery.editBox =
            EditBoxState{std::size_t(*editor_.row()), editor_.text().toStdString(), entry.Portrait,
                         entry.Coloured, std::size_t(editor_.selectionEnd())};
    }
    if (session_.model().reviews() != session_.savedReviews() || session_.projectChanged()) {
        Project project = session_.project();
        project.reviews = session_.model().reviews();
        recovery.project = std::move(project);
    }
    return recovery;
}

void Autosave::writeNow() {
    pause_.stop();
    longest_.stop();
    if (session_.path().empty()) {
        return;
    }
    const Recovery recovery = current();
    const bool nothing = recovery.rows.empty() && !recovery.editBox && !recovery.project;
    const std::string path = filePath();
    const std::string folder = NativePath(folder_);
    // Off the window's thread: a slow disk must not hold up typing. A failure
    // costs only this copy; the next change writes again.
    writer_.start([recovery, nothing, path, folder] {
        try {
            if (nothing) {
                RemoveRecoveryFile(path);
            } else {
                QDir().mkpath(QString::fromStdString(folder));
                WriteRecoveryFile(folder, recovery);
            }
        } catch (const std::exception&) {
        }
    });
}

void Autosave::forget() {
    pause_.stop();
    longest_.stop();
    if (!session_.path().empty()) {
        writer_.start([path = filePath()] {
            try {
                RemoveRecoveryFile(path);
            } catch (const std::exception&) {
            }
        });
    }
}

void Autosave::offerRecovery() {
    writer_.waitForDone();
    std::optional<Recovery> recovery;
    try {
        recovery = ReadRecoveryFile(filePath());
    } catch (const std::runtime_error& e) {  // FileError, ProjectFileError: left as it is
        dialogs_.warning(&window_, kCaption, QString::fromUtf8(e.what()));
        return;
    }
    if (!recovery || !holdsWork(*recovery)) {
        return;
    }
    QString question = QString::fromStdString(
        RecoveryQuestion(*recovery, clockTime(recovery->savedAt).toStdString()));
    if (!ChangedSince(*recovery, session_.rows()).empty()) {
        question += QStringLiteral(
                        "\n\n%1 was changed by another program since; the recovered rows go on "
                        "top of it as it is now.")
                        .arg(ShownFileName(session_.path()));
    }
    for (;;) {
        switch (dialogs_.choose(
            &window_, kCaption, question,
            {QStringLiteral("&Recover"), QStringLiteral("&Discard"), QStringLiteral("&Show")}, 0,
            0)) {
            case 1: forget(); return;
            case 2:
                dialogs_.information(&window_, kCaption,
                                     recoveredRowsText(*recovery, session_.characterMap()));
                continue;
            default: recover(*recovery); return;
        }
    }
}

bool Autosave::holdsWork(const Recovery& recovery) const {
    // Right after opening the session's project is the file's: notes, states
    // and choices alike, so any difference is unsaved work.
    return RecoveredRowCount(recovery) > 0 ||
           (recovery.project && *recovery.project != session_.project());
}

void Autosave::recover(const Recovery& recovery) {
    const std::vector<std::size_t> both = ChangedSince(recovery, session_.rows());
    session_.history().changeTo(QStringLiteral("Recover"), ApplyRecovery(session_.rows(), recovery),
                                recovery.project ? &recovery.project->reviews : nullptr);
    if (recovery.editBox && recovery.editBox->row < session_.rows().size()) {
        editor_.restore(*recovery.editBox);
    }
    if (recovery.project) {
        for (const std::string& notice : session_.restoreProjectChoices(*recovery.project)) {
            dialogs_.warning(&window_, kCaption, QString::fromStdString(notice));
        }
    }
    if (!both.empty()) {
        std::vector<std::string> rows;
        for (const std::size_t row : both) {
            rows.push_back("Row " + std::to_string(row + 1));
        }
        dialogs_.information(&window_, kCaption,
                             QString::fromStdString(ListedLines(
                                 "Another program changed these rows too; the recovered "
                                 "version was kept (Edit > Undo takes the recovery back):",
                                 rows)));
    }
}

}  // namespace qm
