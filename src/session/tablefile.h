// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Sequence files on disk: read whole and bounded, written atomically. A file is named by the
// system's bytes, so that a name that is not UTF-8 still opens.

#include "failure.h"
#include "sequencetable.h"

#include <QByteArray>
#include <QString>

namespace mq7410 {

// The bytes of the file at `path`: refused for a folder, a pipe or a device (reading one
// could wait for ever) and for a file larger than a sequence file can be. The Failure names
// the file.
Result<QByteArray> readTableFile(const QByteArray &path);

// The table in those bytes, or the line and column where the file goes wrong.
Result<SequenceTexts> parseTableFile(const QByteArray &path, const QByteArray &bytes);

// Writes `bytes` to `path` as a whole: a full disk or a crash never leaves half a file, and an
// earlier file stays as it was.
Status saveAtomically(const QByteArray &path, const QByteArray &bytes);

// The file's name as a person reads it (a byte that is not UTF-8 shows as U+FFFD).
QString displayName(const QByteArray &path);

} // namespace mq7410
