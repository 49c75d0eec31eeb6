// The window offscreen: opening the demo image (against the bare load of the same
// file, which shows nothing), the rebuild that follows each keystroke in the edit
// box (with and without an original to compare with, and with the whole
// assistant: a glossary and en_US spelling), a change of row with the
// assistant's panel of terms and suggestions, and filtering the list as each
// character of a filter is typed.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThreadPool>
#include <QTreeView>

#include "autosave.h"
#include "demo/demo.hpp"
#include "entry_editor.h"
#include "fixtures/rom_builder.hpp"
#include "frmMain.h"
#include "rom/load.hpp"
#include "rom_session.h"
#include "ui/scripted_dialogs.h"

namespace {

using qm::testing::TempDir;

// A window with settings of its own and dialogs answered in advance, on the demo.
struct WindowUnderTest {
    TempDir dir;
    QString demo;
    qm::testing::ScriptedDialogs* dialogs;
    std::unique_ptr<qm::frmMain> window;

    WindowUnderTest() : demo(QString::fromStdString((dir.path() / "demo.smc").string())) {
        qm::testing::writeFile(dir.path() / "demo.smc", qm::BuildDemoImage());
        auto scripted = std::make_unique<qm::testing::ScriptedDialogs>();
        dialogs = scripted.get();
        qm::WindowServices services;
        services.dialogs = std::move(scripted);
        services.settingsFile = QString::fromStdString((dir.path() / "settings.ini").string());
        services.recoveryFolder = QString::fromStdString((dir.path() / "recovery").string());
        window = std::make_unique<qm::frmMain>(std::move(services));
        window->show();
    }
    void open(const QString& path) { window->openRom(path); }
    /// Compares with a copy of the demo: every row untranslated.
    void openOriginal() {
        qm::testing::writeFile(dir.path() / "original.smc", qm::BuildDemoImage());
        dialogs->answerOpen(QString::fromStdString((dir.path() / "original.smc").string()));
        window->findChild<QAction*>(QStringLiteral("mnuCompareOriginal"))->trigger();
    }
    QPlainTextEdit* editBox() const {
        return window->findChild<QPlainTextEdit*>(QStringLiteral("txtText"));
    }
    qm::RomSession& session() const { return *window->findChild<qm::RomSession*>(); }
    /// A glossary of the demo's names and en_US spelling; false without the dictionary.
    bool useAssistant() {
        qm::testing::writeFile(dir.path() / "glossary.csv",
                               qm::testing::bytesOf("term,translation\nQuillmoor,Federmoor\n"
                                                    "Rosalind,Rosalind\nmill,Muehle\n"));
        session().useGlossary((dir.path() / "glossary.csv").string());
        try {
            session().setSpellingLanguage("en_US");
            return true;
        } catch (const std::runtime_error&) {
            return false;
        }
    }
    /// Every row translated: a word more than its original, so that every row
    /// has suggestions to weigh.
    void translateAll() {
        std::vector<qm::RowContent> contents;
        for (std::size_t k = 0; k < session().rows().size(); ++k) {
            qm::StringEntry row = session().rows()[k];
            row.Text += " ja";
            contents.push_back({int(k), std::move(row)});
        }
        session().history().changeRows(QStringLiteral("Translate"), std::move(contents));
        window->findChild<qm::EntryEditor*>()->load(0);  // the editor holds no edit
    }
};

double maxRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// From the chosen path until the first row is in the editor.
void BM_OpenDemoImage(benchmark::State& state) {
    WindowUnderTest t;
    for (auto _ : state) {
        t.open(t.demo);
        benchmark::DoNotOptimize(t.editBox()->toPlainText());
    }
    if (t.editBox()->toPlainText().isEmpty()) {
        state.SkipWithError("the first row did not reach the editor");
    }
    state.counters["max_rss_MiB"] = maxRssMiB();
}
BENCHMARK(BM_OpenDemoImage)->Unit(benchmark::kMillisecond);

// What opening costs at the least: the core's load of the same file, without
// progress texts or window. Opening should stay within twice this.
void BM_LoadDemoImageBare(benchmark::State& state) {
    TempDir dir;
    const auto path = dir.path() / "demo.smc";
    qm::testing::writeFile(path, qm::BuildDemoImage());
    for (auto _ : state) {
        auto rows = qm::LoadRom(path.string());
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_LoadDemoImageBare)->Unit(benchmark::kMillisecond);

void sendKey(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// A 200-character entry with tokens, line breaks and overflow; every iteration
// is one keystroke (a letter, then a Backspace) and the rebuild it causes:
// preview, underline, budget, row state and counts. Argument 1: with an original.
void BM_PreviewAfterKeystroke(benchmark::State& state) {
    WindowUnderTest t;
    t.open(t.demo);
    if (state.range(0) >= 1) {
        t.openOriginal();
    }
    if (state.range(0) == 2 && !t.useAssistant()) {
        state.SkipWithError("no en_US dictionary (hunspell-en-us)");
        return;
    }
    QString entry;
    while (entry.size() < 200) {
        entry += QStringLiteral("Hello there(Pause:5) friend(return)");
    }
    entry.truncate(200);
    t.editBox()->setPlainText(entry);
    t.editBox()->setFocus();
    t.editBox()->moveCursor(QTextCursor::End);
    bool typeLetter = true;
    for (auto _ : state) {
        if (typeLetter) {
            sendKey(t.editBox(), Qt::Key_X, QStringLiteral("x"));
        } else {
            sendKey(t.editBox(), Qt::Key_Backspace, QString());
        }
        typeLetter = !typeLetter;
    }
    if (t.editBox()->toPlainText().size() < 200) {
        state.SkipWithError("the keystrokes did not reach the edit box");
    }
}
BENCHMARK(BM_PreviewAfterKeystroke)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// A change of row in the list (Down, and Home after the last row) with an
// original, a glossary and every row translated: the editor loads the row and
// the panel finds its terms and up to 5 suggestions among the 511 others.
void BM_RowChangeWithSuggestions(benchmark::State& state) {
    WindowUnderTest t;
    t.open(t.demo);
    t.openOriginal();
    t.useAssistant();
    t.translateAll();
    auto* list = t.window->findChild<QTreeView*>(QStringLiteral("lvText"));
    auto* panel = t.window->findChild<QListWidget*>(QStringLiteral("lstAssistant"));
    list->setFocus();
    int row = 0;
    for (auto _ : state) {
        const bool last = ++row == int(t.session().rows().size());
        sendKey(list, last ? Qt::Key_Home : Qt::Key_Down, QString());
        row = last ? 0 : row;
    }
    if (list->currentIndex().row() != row || panel->count() < 3) {
        state.SkipWithError("the row did not change, or the panel shows no suggestions");
    }
}
BENCHMARK(BM_RowChangeWithSuggestions)->Unit(benchmark::kMicrosecond);

// The demo with every row changed (Replace All), so a recovery file holds all 512.
void changeEveryRow(WindowUnderTest& t) {
    t.window->findChild<QAction*>(QStringLiteral("mnuFindReplace"))->trigger();
    t.window->findChild<QLineEdit*>(QStringLiteral("txtReplaceFind"))->setText(QStringLiteral("e"));
    t.window->findChild<QLineEdit*>(QStringLiteral("txtReplaceWith"))->setText(QStringLiteral("E"));
    t.window->findChild<QPushButton*>(QStringLiteral("cmdReplaceAll"))->click();
}

// One autosave on the window's thread (the recovery file written by its own
// thread, waited for here): the demo with every row unsaved.
void BM_AutosaveOfTheDemo(benchmark::State& state) {
    WindowUnderTest t;
    t.open(t.demo);
    changeEveryRow(t);
    auto* autosave = t.window->findChild<qm::Autosave*>();
    for (auto _ : state) {
        autosave->writeNow();
    }
    autosave->writeNow();
    QThreadPool::globalInstance()->waitForDone();
}
BENCHMARK(BM_AutosaveOfTheDemo)->Unit(benchmark::kMillisecond);

// A keystroke while the autosave writes: each iteration types (or takes back) a
// letter and starts a recovery file of the whole unsaved table, as the timer
// does at its worst, without waiting for the file.
void BM_KeystrokeWhileAutosaving(benchmark::State& state) {
    WindowUnderTest t;
    t.open(t.demo);
    t.openOriginal();
    changeEveryRow(t);
    auto* autosave = t.window->findChild<qm::Autosave*>();
    t.editBox()->setFocus();
    t.editBox()->moveCursor(QTextCursor::End);
    bool typeLetter = true;
    for (auto _ : state) {
        state.PauseTiming();
        autosave->writeNow();  // its file is being written while the key comes
        state.ResumeTiming();
        sendKey(t.editBox(), typeLetter ? Qt::Key_X : Qt::Key_Backspace,
                typeLetter ? QStringLiteral("x") : QString());
        typeLetter = !typeLetter;
    }
}
BENCHMARK(BM_KeystrokeWhileAutosaving)->Unit(benchmark::kMicrosecond);

// Typing into the filter line with an original open: each iteration one
// character more or one fewer ("moo", then back), and the list filtered anew.
void BM_FilterAfterKeystroke(benchmark::State& state) {
    WindowUnderTest t;
    t.open(t.demo);
    t.openOriginal();
    auto* filter = t.window->findChild<QLineEdit*>(QStringLiteral("txtFilter"));
    filter->setFocus();
    const std::pair<int, QString> word[] = {{Qt::Key_M, QStringLiteral("m")},
                                            {Qt::Key_O, QStringLiteral("o")},
                                            {Qt::Key_O, QStringLiteral("o")}};
    const int length = int(std::size(word));
    int typed = 0;
    bool growing = true;
    for (auto _ : state) {
        if (growing) {
            sendKey(filter, word[typed].first, word[typed].second);
            growing = ++typed < length;
        } else {
            sendKey(filter, Qt::Key_Backspace, QString());
            growing = --typed == 0;
        }
    }
    if (filter->text().size() > length) {
        state.SkipWithError("the keystrokes did not reach the filter");
    }
}
BENCHMARK(BM_FilterAfterKeystroke)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
