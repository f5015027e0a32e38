#pragma once

// The five things the program does with the supply's serial port: select it by number, set
// its line settings, open it, close it, and write a frame to it. The port is never read: the
// supply does not answer. Tests put a fake behind this seam; QtSerialPort is the real one.

#include <cstdint>
#include <string>
#include <string_view>

namespace mq7410 {

class SerialPort
{
public:
    virtual ~SerialPort() = default;

    // Names the port that the next open() acts on: COM 1 to 16. False when the number
    // cannot be taken (out of range, or no such port on this machine).
    virtual bool selectPort(int number) = 0;

    // Takes a settings text such as "115200 N 8 1" (baud, parity, data bits, stop bits,
    // separated by single blanks). False when the text cannot be understood.
    virtual bool setSettings(std::string_view settings) = 0;

    // Opens the selected port for this program alone, write-only, with the settings.
    // False when it does not exist, is held by another program, may not be opened, or
    // refuses the settings.
    virtual bool open() = 0;

    // Delivers what is still queued for the line, then releases the port. Returns the serial
    // layer's error code for the close, 0 when all went well.
    virtual std::int16_t close() = 0;

    // Hands the whole frame to the operating system before it returns. False when the port
    // is not open or the write fails or times out; the port stays usable for a later try
    // unless the device has gone.
    virtual bool write(std::string_view frame) = 0;

    virtual bool isOpen() const = 0;

    // What the serial layer reported for the last failure, in plain words.
    virtual std::string errorString() const = 0;

    // The selected port's device and what the system knows of it, for the user to recognise
    // it ("/dev/ttyUSB0 - USB-Serial Controller"); empty when nothing is known.
    virtual std::string portDescription() const = 0;
};

} // namespace mq7410
