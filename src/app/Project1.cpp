#include "app/Project1.h"

#include "app/Environment.h"
#include "app/Unit1.h"
#include "history/SpinSource.h"
#include "settings/AuxilaryUnit.h"

#include <QApplication>
#include <QScreen>

namespace trevolo {

namespace {

void CentreOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    const QRect desktop = screen->availableGeometry();
    window.move(desktop.center() - QPoint(window.width() / 2, window.height() / 2));
}

} // namespace

int RunProgram(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The title is the application name; no display name is set, since Qt
    // would append it to the window caption.
    QApplication::setApplicationName(ApplicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(TREVOLO_VERSION));

    QtEnvironment environment;
    // Before the window: the random spin source, seeded from the clock, and
    // the settings document, empty; both outlive the window.
    SpinSource spinSource(environment.clockSeed());
    TINIView settingsDocument;

    TForm1 form(environment, settingsDocument, spinSource);
    // Creation handler, before the window is shown; an error in it is shown
    // and start-up goes on.
    form.Guard([&form] { form.FormCreate(); });

    CentreOnScreen(form);
    form.show();
    const int exitCode = app.exec();

    // Destruction handler, while the window and the settings document still
    // exist; an error in it (an unwritable "default.ini") is shown and the
    // program still ends normally.
    form.Guard([&form] { form.FormDestroy(); });
    return exitCode;
}

} // namespace trevolo
