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
    // Creation handler: FormCreate runs here, through form.Guard, before the
    // window is shown.

    CentreOnScreen(form);
    form.show();
    const int exitCode = app.exec();

    // Destruction handler: FormDestroy runs here, through form.Guard, while
    // the window and the settings document still exist.
    return exitCode;
}

} // namespace trevolo
