#pragma once
// The device trace: one tab-separated line per message that crossed a port,
// appended to the file named by QUORVEL_DEVICE_TRACE (or given with
// OpenDeviceTrace). Lines are written only from the user-interface thread,
// where messages are sent and taken out of the inputs, so a driver thread
// never waits for the file.
#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvel {

// Starts a trace into `path` (appending), replacing any trace already open.
// Returns false when the file cannot be opened.
bool OpenDeviceTrace(const std::string& path);
void CloseDeviceTrace();
bool DeviceTraceActive();

// "MS<TAB>kind<TAB>port<TAB>HEX": kind is midi-out, midi-in or midi-in-bad.
void TraceMIDI(const char* kind, const std::string& port, const uint8_t* data, size_t length);

// "MS<TAB>fields": for transports that build their own fields.
void TraceDeviceLine(const std::string& fields);

// Two upper-case hex digits per byte, separated by blanks.
std::string TraceHex(const uint8_t* data, size_t length);

} // namespace quorvel
