#include "atomicsave.h"

#include <QSaveFile>

namespace mq7410 {

std::optional<QString> saveAtomically(const QString &path, std::string_view bytes)
{
    // Unbuffered, so that a write that fails is seen: Qt 6.4's commit() misses an error that
    // only its final flush meets, and would put an empty file in place of the earlier one.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()) && file.commit())
        return std::nullopt;
    return file.errorString();
}

} // namespace mq7410
