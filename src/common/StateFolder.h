#pragma once

#include "common/FileFailure.h"

#include <QString>

#include <optional>

namespace trevolo {

// The folder that keeps what must outlive a run of the program (the recovery
// file, the copy of a file being rewritten in place): "trevolo" in
// $XDG_STATE_HOME, or in ~/.local/state when that is unset, empty or not an
// absolute path. Nothing is created.
QString StateFolderPath();

// Creates `folder` when it is missing, with every missing folder above it,
// each with mode 0700 (only the user may look inside). Fails when it cannot
// be made, is no folder, or may not be written and searched; an existing
// folder keeps its mode.
std::optional<FileFailure> MakePrivateFolder(const QString &folder);

// Whether a folder is the user's alone, as a folder that keeps what the
// program wrote must be: owned by the effective user and not writable by the
// group or others (else another user could plant or replace files in it).
enum class FolderTrust
{
    Private,
    ForeignOwner,
    WritableByOthers,
    Unknown // it cannot be looked at
};
// `owner` is the user the folder should belong to (the effective user unless
// given).
FolderTrust TrustOfFolder(const QString &folder, qint64 owner = -1);

// Puts the folder's entries on disk: a file created or renamed in it stays
// after a power cut.
std::optional<FileFailure> SyncFolder(const QString &folder);

} // namespace trevolo
