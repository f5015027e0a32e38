// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the commands print: whole lines on standard output, on a terminal one progress line
// that rewrites itself, and messages on standard error. A write that did not get through (a
// full disk, a closed pipe) is remembered: the exit status must say so.

#include <QString>

namespace mq7410::run {

class Printer
{
public:
    Printer();

    // Whether standard output is a terminal, where a progress line can rewrite itself.
    bool terminal() const { return m_terminal; }
    void line(const QString &text);
    // Replaces the progress line with `text` and `tail`, cut to the terminal's width so that it
    // stays one line: `text` is cut first, down to half the width, so that `tail` stays seen.
    void progress(const QString &text, const QString &tail);
    // "mq7410-run: text" on standard error, below the progress line: errors and notes.
    void message(const QString &text);
    // Whether something meant for standard output was lost.
    bool failed() const { return m_failed; }

private:
    void clearProgress();
    void write(const QString &text);

    bool m_terminal = false;
    bool m_progressShown = false;
    bool m_failed = false;
};

} // namespace mq7410::run
