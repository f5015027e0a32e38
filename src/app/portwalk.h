#pragma once

// Finding the supply at start-up: ports 1 to 16 are tried in turn, the user is asked about
// each one that opens, and the first one accepted stays open for the rest of the run.

#include <cstdint>
#include <functional>
#include <string_view>

namespace mq7410 {

class MessageBoxes;
class SerialPort;

constexpr std::string_view LineSettings = "115200 N 8 1";

// Selects, sets up and opens port `number`. Returns the number when the port is now open,
// 0 when any step failed (the failure is not reported: the port just counts as unusable).
std::int16_t OpenCommPort(SerialPort &port, std::int16_t number, std::string_view settings);

// Closes the port opened last. Returns the serial layer's error code for the close, 0 if none.
std::int16_t CloseCommPort(SerialPort &port);

// Walks the ports and asks the user. Returns the accepted port, left open, or 0 when none was
// accepted: the user has then been told, and the program must end. `showCommError` is called
// with the code of a close that went wrong.
int walkPorts(SerialPort &port, MessageBoxes &boxes,
              const std::function<void(std::int16_t)> &showCommError);

} // namespace mq7410
