// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablefile.h"

#include "sequencefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace mq7410 {
namespace {

// The name Qt can take for `path`, or nothing when the bytes do not come back from it.
std::optional<QString> qtName(const QByteArray &path)
{
    const QString name = QFile::decodeName(path);
    if (QFile::encodeName(name) != path)
        return std::nullopt;
    return name;
}

Failure fileFailure(const QByteArray &path, const QString &why)
{
    return {FailureKind::File, (displayName(path) + QStringLiteral(": ") + why).toStdString()};
}

} // namespace

QString displayName(const QByteArray &path)
{
    return QFileInfo(QFile::decodeName(path)).fileName();
}

Result<QByteArray> readTableFile(const QByteArray &path)
{
    QFile file;
#if defined(Q_OS_UNIX)
    // By the bytes of the name, which need not be text; no wait on a pipe's other end.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fileFailure(path, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status = {};
    if (::fstat(fd, &status) == 0 && !S_ISREG(status.st_mode)) {
        ::close(fd);
        return fileFailure(path, S_ISDIR(status.st_mode)
                                         ? QStringLiteral("this is a folder, not a sequence file")
                                         : QStringLiteral("this is not a regular file"));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return fileFailure(path, file.errorString());
#else
    const QFileInfo info(QFile::decodeName(path));
    if (info.isDir())
        return fileFailure(path, QStringLiteral("this is a folder, not a sequence file"));
    if (info.exists() && !info.isFile())
        return fileFailure(path, QStringLiteral("this is not a regular file"));
    file.setFileName(info.filePath());
    if (!file.open(QIODevice::ReadOnly))
        return fileFailure(path, file.errorString());
#endif
    // One byte more than allowed is enough to tell that a file is too large.
    QByteArray bytes = file.read(qint64(MaxSequenceFileBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return fileFailure(path, file.errorString());
    return bytes;
}

Result<SequenceTexts> parseTableFile(const QByteArray &path, const QByteArray &bytes)
{
    auto read = readSequence(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (const auto *error = std::get_if<SequenceFileError>(&read))
        return Failure{FailureKind::File, errorText(displayName(path).toStdString(), *error)};
    return std::get<SequenceTexts>(std::move(read));
}

Status saveAtomically(const QByteArray &path, const QByteArray &bytes)
{
    const std::optional<QString> name = qtName(path);
    if (!name) {
        return fileFailure(path, QStringLiteral("its name is not valid UTF-8, so it is not "
                                                "written; choose another name with Save As"));
    }
    // Unbuffered, so that a write that fails is seen: Qt 6.4's commit() misses an error that
    // only its final flush meets, and would put an empty file in place of the earlier one.
    QSaveFile file(*name);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size()
        && file.commit())
        return {};
    return fileFailure(path, file.errorString());
}

} // namespace mq7410
