// The window offscreen: opening the demo image (against the bare load of the same
// file, which shows nothing), and the preview rebuild that follows each keystroke
// in the edit box.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>

#include "demo/demo.hpp"
#include "fixtures/rom_builder.hpp"
#include "frmMain.h"
#include "rom/load.hpp"

namespace {

using qm::testing::TempDir;

struct WindowUnderTest {
    std::unique_ptr<qm::frmMain> window;

    WindowUnderTest() : window(std::make_unique<qm::frmMain>()) { window->show(); }
    void open(const QString& path) { window->openRom(path); }
    QPlainTextEdit* editBox() const {
        return window->findChild<QPlainTextEdit*>(QStringLiteral("txtText"));
    }
};

double maxRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// From the chosen path until the first row is in the editor.
void BM_OpenDemoImage(benchmark::State& state) {
    TempDir dir;
    const auto path = dir.path() / "demo.smc";
    qm::testing::writeFile(path, qm::BuildDemoImage());
    WindowUnderTest t;
    const QString chosen = QString::fromStdString(path.string());
    for (auto _ : state) {
        t.open(chosen);
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
// is one keystroke (a letter, then a Backspace) and the rebuild it causes.
void BM_PreviewAfterKeystroke(benchmark::State& state) {
    TempDir dir;
    const auto path = dir.path() / "demo.smc";
    qm::testing::writeFile(path, qm::BuildDemoImage());
    WindowUnderTest t;
    t.open(QString::fromStdString(path.string()));
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
BENCHMARK(BM_PreviewAfterKeystroke)->Unit(benchmark::kMicrosecond);

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
