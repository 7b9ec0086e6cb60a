#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;
class QTranslator;

namespace trevolo {

class Environment;

// The program: application object, main window, message loop. Returns the
// process exit code.
int RunProgram(int argc, char **argv);

// Before any application object: a command line that asks for "--help",
// "--help-all" or "--version" gets its text printed and the process ends
// with exit code 0, without a display. Any other command line is left to
// ParseCommandLine.
void AnswerWithoutWindow(int argc, char **argv);

// Reads the command line of the application: "--help" and "--version" print
// their text and end the process; otherwise the history file to load at
// start, or an empty text.
QStringList ParseCommandLine(const QCoreApplication &app);

// Loads Qt's own Russian texts (file dialogs, standard buttons) into the
// translator and installs it; false when they are not installed.
bool InstallQtTranslations(QTranslator &translator);

// The life of the main window, in a running application: the window made
// and shown, the recovery file opened and what earlier runs left offered,
// the history file (if any) loaded, then the message loop until the window
// closes or SIGTERM, SIGHUP or SIGINT arrives. A signal ends the program as
// closing the window would, but without questions and keeping the recovery
// file for the next start. The settings are saved in either case. Returns
// the exit code.
int RunWindow(Environment &environment, const QStringList &historyFiles);

} // namespace trevolo
