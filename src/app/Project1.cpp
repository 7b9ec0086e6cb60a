#include "app/Project1.h"

#include "app/desktop/Environment.h"
#include "app/mainwindow/Unit1.h"
#include "history/SpinSource.h"
#include "settings/AuxilaryUnit.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

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

QString ParseCommandLine(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Spin tracker for single-zero roulette: statistics of a spin history."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("History file to load at start, one spin a line."),
                                 QStringLiteral("[file]"));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    return files.isEmpty() ? QString() : files.first();
}

bool InstallQtTranslations(QTranslator &translator)
{
    // The window speaks Russian whatever the desktop's language is.
    if (!translator.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

int RunProgram(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The title is the application name; no display name is set, since Qt
    // would append it to the window caption.
    QApplication::setApplicationName(ApplicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(TREVOLO_VERSION));
    // The menu entry and the icon of an installed copy go by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.trevolo.Trevolo"));
    const QString historyFile = ParseCommandLine(app);
    // Without them Qt's dialogs simply stay in English.
    QTranslator qtTexts;
    InstallQtTranslations(qtTexts);

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
    // A file named on the command line ("Open with" in a file manager) is
    // loaded as the load command would; a failure is shown over the window.
    if (!historyFile.isEmpty())
        form.Guard([&form, &historyFile] { form.LoadHistoryFrom(historyFile); });
    const int exitCode = app.exec();

    // Destruction handler, while the window and the settings document still
    // exist; an error in it (an unwritable "default.ini") is shown and the
    // program still ends normally.
    form.Guard([&form] { form.FormDestroy(); });
    return exitCode;
}

} // namespace trevolo
