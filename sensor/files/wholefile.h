#pragma once

#include <QByteArray>
#include <QString>

namespace veltra {

// Writes `data` to `path` whole or not at all: into a temporary file in the
// same folder, every write and the close checked, synced to disk, then
// renamed over the target and the folder synced. On any failure (no space,
// a read-only or missing folder, an I/O error) the old file is left as it
// was, the temporary one is removed, and `why` says which path and why:
// "Cannot write s.json: No space left on device."
bool writeWholeFile(const QString &path, const QByteArray &data, QString *why);

// Why `path` cannot take an output file: it exists and is not a regular
// file (a device, a pipe, a socket, a folder). Empty when it can.
QString outputTargetProblem(const QString &path);

} // namespace veltra
