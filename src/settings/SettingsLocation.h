#pragma once

#include <QString>

namespace trevolo {

// Where "default.ini" is read at start and written at exit, decided once.
struct SettingsLocation
{
    QString readPath;  // the file loaded at start (it may not exist yet)
    QString writePath; // the file saved at exit; empty when none can be kept
    QString problem;   // why the per-user folder cannot be used, else empty
};

// A program folder the user can write to keeps its "default.ini" (portable
// use). Otherwise the file lives in `userFolder`, which is created when
// needed; until it holds a "default.ini", the one beside the program is the
// starting point. A user folder that cannot be made, read or written, or is
// not a folder, gives a problem text: the file found is then only read.
SettingsLocation ResolveSettingsLocation(const QString &programFolder, bool programFolderWritable,
                                         const QString &userFolder);

} // namespace trevolo
