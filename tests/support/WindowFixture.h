#pragma once

#include "support/FakeEnvironment.h"

#include "app/mainwindow/Unit1.h"
#include "history/SpinSource.h"
#include "settings/AuxilaryUnit.h"

#include <QLineEdit>
#include <memory>

namespace trevolo {

// The main window on a recording desktop, with a settings document and a
// spin source seeded with 1 of its own, made afresh for each test. A test
// class derives from it (after QObject) and calls these from init and
// cleanup.
class WindowFixture
{
protected:
    std::unique_ptr<FakeEnvironment> env;
    std::unique_ptr<TINIView> settings;
    std::unique_ptr<SpinSource> spins;
    std::unique_ptr<TForm1> form;

    // The desktop, the settings document and the spin source; no window yet.
    void createSurroundings()
    {
        env = std::make_unique<FakeEnvironment>();
        settings = std::make_unique<TINIView>();
        spins = std::make_unique<SpinSource>(1);
    }
    // The window, built on them.
    void createWindow() { form = std::make_unique<TForm1>(*env, *settings, *spins); }
    // Both.
    void createAll()
    {
        createSurroundings();
        createWindow();
    }
    // From here on every statistics pass fails on the threshold and shows one
    // error box, so the boxes count the passes.
    void countPassesByErrorBoxes()
    {
        form->edit1->setText(QStringLiteral("x"));
        env->boxes.clear();
    }
    // The passes counted so far.
    int passesCounted() const
    {
        int passes = 0;
        for (const auto &box : env->boxes)
            passes += box.error && box.text == QStringLiteral("'x' is not a valid integer value.");
        return passes;
    }
    // The passes counted so far; counting starts afresh.
    int takePasses()
    {
        const int passes = passesCounted();
        env->boxes.clear();
        return passes;
    }
    // The window first, then what it was built on.
    void destroyAll()
    {
        form.reset();
        spins.reset();
        settings.reset();
        env.reset();
    }
};

} // namespace trevolo
