#pragma once

#include <QString>

class QCoreApplication;
class QTranslator;

namespace trevolo {

// The program: application object, main window, message loop. Returns the
// process exit code.
int RunProgram(int argc, char **argv);

// Reads the command line of the application: "--help" and "--version" print
// their text and end the process; otherwise the history file to load at
// start, or an empty text.
QString ParseCommandLine(const QCoreApplication &app);

// Loads Qt's own Russian texts (file dialogs, standard buttons) into the
// translator and installs it; false when they are not installed.
bool InstallQtTranslations(QTranslator &translator);

} // namespace trevolo
