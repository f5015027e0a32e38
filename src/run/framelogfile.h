// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The frame log as a CSV file, written row by row as frames go out, with the columns of the
// window's Save As: a log that outlives a crash or a pulled plug up to its last frame.

#include "failure.h"
#include "framehistory.h"

#include <QByteArray>
#include <QFile>

namespace mq7410::run {

class FrameLogFile
{
public:
    // Creates or empties the file and writes the header row.
    Status open(const QByteArray &path);
    bool isOpen() const { return m_file.isOpen(); }
    // Appends the entry's row, flushed. After the first failure nothing more is written: a
    // log with a hole would mislead.
    Status write(const LoggedFrame &entry);

private:
    Status append(const std::string &text);

    QFile m_file;
};

} // namespace mq7410::run
