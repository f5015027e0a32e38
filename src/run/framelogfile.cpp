// SPDX-License-Identifier: GPL-3.0-or-later
#include "framelogfile.h"

namespace mq7410::run {

Status FrameLogFile::open(const QByteArray &path)
{
    m_file.setFileName(QFile::decodeName(path));
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return Failure{FailureKind::File,
                       path.toStdString() + ": " + m_file.errorString().toStdString()};
    }
    return append(FrameHistory::csvHeader());
}

Status FrameLogFile::write(const LoggedFrame &entry)
{
    if (!m_file.isOpen())
        return {};
    return append(FrameHistory::csvRow(entry));
}

Status FrameLogFile::append(const std::string &text)
{
    const auto size = qint64(text.size());
    if (m_file.write(text.data(), size) == size && m_file.flush())
        return {};
    const Failure failure{FailureKind::File, m_file.fileName().toStdString() + ": "
                                                     + m_file.errorString().toStdString()};
    m_file.close();
    return failure;
}

} // namespace mq7410::run
