// SPDX-License-Identifier: GPL-3.0-or-later
#include "devicelink.h"

#if !defined(__unix__) && !defined(__APPLE__)
#error "mq7410-sim makes symbolic links: it is for Unix-like systems only"
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace mq7410::sim {

namespace {

Failure linkFailure(const std::string &path)
{
    return {FailureKind::File, "cannot link " + path + ": " + std::strerror(errno)};
}

std::string targetOf(const std::string &path)
{
    char buffer[4096];
    const ssize_t length = ::readlink(path.c_str(), buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

} // namespace

DeviceLink::DeviceLink(std::string path)
    : m_path(std::move(path))
{}

DeviceLink::~DeviceLink()
{
    remove();
}

Status DeviceLink::point(const std::string &target)
{
    if (m_path.empty())
        return {};
    struct stat status = {};
    if (m_target.empty() && ::lstat(m_path.c_str(), &status) == 0 && !S_ISLNK(status.st_mode)) {
        return Failure{FailureKind::File,
                       "cannot link " + m_path + ": it exists and is not a symbolic link"};
    }
    // Beside the link, so that the rename stays on one file system; the process id keeps two
    // sims on the same path from taking each other's.
    const std::string temporary = m_path + ".new-" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0)
        return linkFailure(m_path);
    if (::rename(temporary.c_str(), m_path.c_str()) != 0) {
        const Failure failure = linkFailure(m_path);
        ::unlink(temporary.c_str());
        return failure;
    }
    m_target = target;
    return {};
}

void DeviceLink::remove()
{
    // Another program may have taken the name since: only our own link goes.
    if (!m_target.empty() && targetOf(m_path) == m_target)
        ::unlink(m_path.c_str());
    m_target.clear();
}

} // namespace mq7410::sim
