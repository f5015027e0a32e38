#pragma once

#include <QString>

#include <optional>
#include <string_view>

namespace mq7410 {

// Writes `bytes` to `path` as a whole: a full disk or a crash never leaves half a file, and an
// earlier file stays as it was. Returns why it failed, or nothing when it was saved.
std::optional<QString> saveAtomically(const QString &path, std::string_view bytes);

} // namespace mq7410
