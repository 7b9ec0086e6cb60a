#pragma once

// What the window benchmarks share: a desktop that shows nothing, a generated
// history, a main window built on them, and a main() that runs Google
// Benchmark inside a QApplication on the offscreen platform.
#include "app/desktop/Environment.h"
#include "app/mainwindow/Unit1.h"
#include "history/SpinSource.h"
#include "settings/AuxilaryUnit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <functional>
#include <string>
#include <optional>

namespace trevolo {

// Shows nothing and counts every box and question instead; none may come up
// during a measurement. The open dialog answers openAnswer (as if confirmed), the save
// dialog is cancelled.
class BenchEnvironment final : public Environment
{
public:
    int boxes = 0;
    QString openAnswer;

    void showError(QWidget *, const QString &, const QString &) override { ++boxes; }
    void showMessage(QWidget *, const QString &, const QString &) override { ++boxes; }
    Answer askYesNoCancel(QWidget *, const QString &, const QString &) override
    {
        ++boxes;
        return Answer::Cancel;
    }
    // The recovery question is answered Да.
    Answer askYesNo(QWidget *, const QString &, const QString &, const QString &) override
    {
        return Answer::Yes;
    }
    std::optional<QString> askText(QWidget *, const QString &, const QString &, const QString &,
                                   const std::function<QString(const QString &)> &) override
    {
        ++boxes;
        return std::nullopt;
    }
    std::optional<FileChoice> chooseOpenFile(QWidget *, const FileDialogOptions &) override
    {
        return FileChoice{openAnswer, QString()};
    }
    std::optional<FileChoice> chooseSaveFile(QWidget *, const FileDialogOptions &) override
    {
        return std::nullopt;
    }
    void openUrl(const QUrl &) override {}
    QString settingsFolder() const override { return QString(); }
    bool settingsFolderWritable() const override { return true; }
    QString userSettingsFolder() const override { return QString(); }
    QTemporaryDir stateRoot;
    QString stateFolder() const override { return stateRoot.filePath(QStringLiteral("trevolo")); }
    quint32 clockSeed() const override { return 1; }

    // Never cancelled; counts the percents given.
    struct Progress final : ProgressView
    {
        int *steps;
        void setPercent(int) override { ++*steps; }
        bool cancelled() override { return false; }
    };
    int progressSteps = 0;
    std::unique_ptr<ProgressView> showProgress(QWidget *, const QString &) override
    {
        auto view = std::make_unique<Progress>();
        view->steps = &progressSteps;
        return view;
    }
};

// `lines` spins drawn from a SpinSource seeded with `seed`, one per line,
// each line ending with a break.
inline QString GeneratedHistory(int lines, quint32 seed = 1)
{
    SpinSource spins(seed);
    QString text;
    text.reserve(lines * 3);
    for (int i = 0; i < lines; ++i) {
        text += QString::number(spins.Draw());
        text += QLatin1Char('\n');
    }
    return text;
}

// The main window with its desktop, settings document and spin source, not
// yet shown.
struct BenchWindow
{
    BenchEnvironment environment;
    TINIView settings;
    SpinSource spins{1};
    TForm1 form{environment, settings, spins};

    // Shows the window and lets its first layout and paint happen.
    void Show()
    {
        form.show();
        QApplication::processEvents();
    }

    // Marks the run as failed when a box came up during it.
    void CheckNoBoxes(benchmark::State &state) const
    {
        if (environment.boxes != 0)
            state.SkipWithError("a message box came up");
    }
};

// How long the event loop goes unserved: the longest gap between two ticks
// of a 5 ms timer, from Start to LongestMs.
class EventLoopGaps
{
public:
    EventLoopGaps()
    {
        m_ticker.setInterval(5);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] { Tick(); });
    }
    void Start()
    {
        m_longest = 0;
        m_ticker.start();
        m_since.start();
    }
    double LongestMs()
    {
        Tick();
        m_ticker.stop();
        return double(m_longest) / 1e6;
    }

private:
    void Tick()
    {
        m_longest = std::max(m_longest, m_since.nsecsElapsed());
        m_since.restart();
    }
    QTimer m_ticker;
    QElapsedTimer m_since;
    qint64 m_longest = 0;
};

// A keystroke at the end of a history of `lines` generated lines and its
// Backspace, each with its pass. With range(0) != 0 the child window that
// `opener` opens is shown first (and `afterOpening` run on the window), so
// the difference is that window's share.
inline void KeystrokeWithChildWindow(benchmark::State &state, QAction *TForm1::*opener, int lines,
                                     const std::function<void(TForm1 &)> &afterOpening = {},
                                     const std::string &openLabel = "window open")
{
    BenchWindow window;
    TForm1 &form = window.form;
    window.Show();
    form.listBox1->ReplaceText(GeneratedHistory(lines));
    if (state.range(0) != 0) {
        (form.*opener)->trigger();
        QApplication::processEvents();
        if (afterOpening)
            afterOpening(form);
    }
    QTextCursor cursor(form.listBox1->document());
    cursor.movePosition(QTextCursor::End);
    for (auto _ : state) {
        cursor.insertText(QStringLiteral("7"));
        cursor.deletePreviousChar();
    }
    window.CheckNoBoxes(state);
    state.SetLabel(state.range(0) != 0 ? openLabel + ", 2 passes" : "window closed, 2 passes");
}

inline int RunWindowBenchmarks(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace trevolo
