#pragma once

namespace trevolo {

// The program: application object, main window, message loop. Returns the
// process exit code.
int RunProgram(int argc, char **argv);

} // namespace trevolo
