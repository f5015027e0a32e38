// SPDX-License-Identifier: GPL-3.0-or-later
#include "remotecontrol.h"

namespace mq7410 {

RemoteControl::RemoteControl(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{}

RemoteControl::~RemoteControl() = default;

Status RemoteControl::listen(const QString &)
{
    return Failure{FailureKind::Port, "The SCPI server is not built yet."};
}

void RemoteControl::close() {}

bool RemoteControl::listening() const
{
    return false;
}

bool RemoteControl::exposed() const
{
    return false;
}

QString RemoteControl::statusText() const
{
    return {};
}

} // namespace mq7410
