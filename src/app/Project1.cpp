#include "app/Project1.h"

#include "app/desktop/Environment.h"
#include "app/desktop/TerminationSignals.h"
#include "app/mainwindow/Unit1.h"
#include "history/SpinSource.h"
#include "settings/AuxilaryUnit.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

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

void SetUpParser(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Spin tracker for single-zero roulette: statistics of a spin history."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral("History file to load at start, one spin a line; each further file "
                       "opens as a table of its own."),
        QStringLiteral("[file...]"));
}

// The options QGuiApplication and QApplication read from the command line.
bool IsQtOption(const QString &name)
{
    static const QStringList options{
        QStringLiteral("platform"),    QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"), QStringLiteral("plugin"),
        QStringLiteral("qmljsdebugger"), QStringLiteral("qwindowgeometry"),
        QStringLiteral("geometry"),    QStringLiteral("qwindowicon"),
        QStringLiteral("icon"),        QStringLiteral("qwindowtitle"),
        QStringLiteral("title"),       QStringLiteral("reverse"),
        QStringLiteral("session"),     QStringLiteral("display"),
        QStringLiteral("name"),        QStringLiteral("style"),
        QStringLiteral("stylesheet"),  QStringLiteral("widgetcount"),
        QStringLiteral("nograb"),      QStringLiteral("dograb"),
        QStringLiteral("sync"),        QStringLiteral("visual"),
        QStringLiteral("ncols"),       QStringLiteral("cmap"),
        QStringLiteral("qwindowalpha"), QStringLiteral("fn"),
        QStringLiteral("font"),        QStringLiteral("bg"),
        QStringLiteral("background"),  QStringLiteral("fg"),
        QStringLiteral("foreground"),  QStringLiteral("btn"),
        QStringLiteral("button"),      QStringLiteral("im"),
        QStringLiteral("inputstyle")};
    return options.contains(name);
}

// The names the help and version texts and the window use; they may be set
// before an application object exists.
void NameApplication()
{
    // The title is the application name; no display name is set, since Qt
    // would append it to the window caption.
    QCoreApplication::setApplicationName(ApplicationTitle());
    QCoreApplication::setApplicationVersion(QStringLiteral(TREVOLO_VERSION));
}

} // namespace

void AnswerWithoutWindow(int argc, char **argv)
{
    NameApplication();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    SetUpParser(parser);
    // "-platform xcb" as Qt reads it, not as the letters p, l, a, ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // A command line that does not parse here for Qt's own window options
    // alone is for the application object to read; any other option it does
    // not know ends the program here, before a display is needed.
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        const bool onlyQtOptions =
            !unknown.isEmpty() && std::all_of(unknown.begin(), unknown.end(), IsQtOption);
        if (!onlyQtOptions) {
            std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
            std::exit(2);
        }
        return;
    }
    if (!(parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")) ||
          parser.isSet(QStringLiteral("version"))))
        return;
    // The help text names the program after the application object's first
    // argument; a core application needs no display.
    const QCoreApplication core(argc, argv);
    parser.process(core);
}

QStringList ParseCommandLine(const QCoreApplication &app)
{
    QCommandLineParser parser;
    SetUpParser(parser);
    parser.process(app);
    return parser.positionalArguments();
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
    AnswerWithoutWindow(argc, argv);
    QApplication app(argc, argv);
    NameApplication();
    // The menu entry and the icon of an installed copy go by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.trevolo.Trevolo"));
    const QStringList historyFiles = ParseCommandLine(app);
    // Without them Qt's dialogs simply stay in English.
    QTranslator qtTexts;
    InstallQtTranslations(qtTexts);

    QtEnvironment environment;
    return RunWindow(environment, historyFiles);
}

int RunWindow(Environment &environment, const QStringList &historyFiles)
{
    // From the start: a signal during a question at start ends the program
    // as well as one while the window is in use.
    TerminationSignals signalsToEnd;

    // Before the window: the random spin source, seeded from the clock, and
    // the settings document, empty; both outlive the window.
    SpinSource spinSource(environment.clockSeed());
    TINIView settingsDocument;

    TForm1 form(environment, settingsDocument, spinSource);
    // Ends every event loop, a modal box's too; the window asks nothing on
    // the way.
    QObject::connect(&signalsToEnd, &TerminationSignals::received, &form, [&form] {
        form.CloseWithoutQuestions();
        QCoreApplication::exit(0);
    });
    // Creation handler, before the window is shown; an error in it is shown
    // and start-up goes on.
    form.Guard([&form] { form.FormCreate(); });

    CentreOnScreen(form);
    form.show();
    // What earlier runs left unsaved is offered before anything else is
    // loaded.
    form.StartRecovery();
    // A file named on the command line ("Open with" in a file manager) is
    // loaded as the load command would; a failure is shown over the window.
    // Every further file opens as a table of its own.
    if (!form.ClosingWithoutQuestions())
        form.Guard([&form, &historyFiles] { form.OpenFiles(historyFiles, true); });
    // A signal that came before the loop ran ends the program here.
    const int exitCode = form.ClosingWithoutQuestions() ? 0 : QApplication::exec();

    // Destruction handler, while the window and the settings document still
    // exist; an error in it (an unwritable "default.ini") is shown and the
    // program still ends normally. The window then writes a change still
    // waiting for the recovery file, and the store finishes its writing.
    form.Guard([&form] { form.FormDestroy(); });
    return exitCode;
}

} // namespace trevolo
