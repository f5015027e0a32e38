// SPDX-License-Identifier: GPL-3.0-or-later
#include "linesettings.h"

#if !defined(__unix__) && !defined(__APPLE__)
#error "mq7410-sim reads termios: it is for Unix-like systems only"
#endif

#include <termios.h>

#include <cctype>

namespace mq7410::sim {

namespace {

int baudOf(speed_t speed)
{
    struct Rate
    {
        speed_t constant;
        int baud;
    };
    static constexpr Rate rates[] = {
            {B0, 0},           {B50, 50},         {B75, 75},         {B110, 110},
            {B134, 134},       {B150, 150},       {B200, 200},       {B300, 300},
            {B600, 600},       {B1200, 1200},     {B1800, 1800},     {B2400, 2400},
            {B4800, 4800},     {B9600, 9600},     {B19200, 19200},   {B38400, 38400},
            {B57600, 57600},   {B115200, 115200}, {B230400, 230400},
#ifdef B460800
            {B460800, 460800},
#endif
#ifdef B921600
            {B921600, 921600},
#endif
    };
    for (const Rate &rate : rates) {
        if (rate.constant == speed)
            return rate.baud;
    }
    return -1;
}

int dataBitsOf(tcflag_t cflag)
{
    switch (cflag & CSIZE) {
    case CS5:
        return 5;
    case CS6:
        return 6;
    case CS7:
        return 7;
    default:
        return 8;
    }
}

std::string parityOf(tcflag_t cflag)
{
    if (!(cflag & PARENB))
        return "none";
#ifdef CMSPAR
    if (cflag & CMSPAR)
        return (cflag & PARODD) ? "mark" : "space";
#endif
    return (cflag & PARODD) ? "odd" : "even";
}

std::string flowControlOf(const termios &attributes)
{
#ifdef CRTSCTS
    const bool hardware = attributes.c_cflag & CRTSCTS;
#else
    const bool hardware = false;
#endif
    const bool software = attributes.c_iflag & (IXON | IXOFF);
    if (hardware && software)
        return "both";
    return hardware ? "hardware" : software ? "software" : "none";
}

} // namespace

char LineSettings::parityLetter() const
{
    return char(std::toupper(static_cast<unsigned char>(parity.front())));
}

bool LineSettings::matchesSupply() const
{
    // Flow control is left out: the supply has no handshake lines to disagree with.
    return baud == SupplyLineFormat.baud && dataBits == SupplyLineFormat.dataBits
           && parityLetter() == SupplyLineFormat.parity && stopBits == SupplyLineFormat.stopBits;
}

std::string LineSettings::text() const
{
    const std::string rate = baud >= 0 ? std::to_string(baud) : std::string("unknown");
    return rate + " baud " + std::to_string(dataBits) + parityLetter() + std::to_string(stopBits)
           + ", flow control " + flowControl;
}

LineSettings lineSettingsFrom(const termios &attributes)
{
    LineSettings settings;
    settings.baud = baudOf(cfgetospeed(&attributes));
    settings.dataBits = dataBitsOf(attributes.c_cflag);
    settings.parity = parityOf(attributes.c_cflag);
    settings.stopBits = (attributes.c_cflag & CSTOPB) ? 2 : 1;
    settings.flowControl = flowControlOf(attributes);
    return settings;
}

} // namespace mq7410::sim
