#include "devices/DeviceTrace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace quorvel {

namespace {

struct TraceState {
    std::mutex mutex;
    std::FILE* file = nullptr;
    std::chrono::steady_clock::time_point opened;
    bool environmentRead = false;
};

TraceState& State()
{
    static TraceState state;
    return state;
}

bool OpenLocked(TraceState& state, const std::string& path)
{
    if (state.file)
        std::fclose(state.file);
    state.file = std::fopen(path.c_str(), "a");
    state.opened = std::chrono::steady_clock::now();
    return state.file != nullptr;
}

// The environment names the trace once, unless a trace was opened explicitly first.
void ReadEnvironmentLocked(TraceState& state)
{
    if (state.environmentRead)
        return;
    state.environmentRead = true;
    const char* path = std::getenv("QUORVEL_DEVICE_TRACE");
    if (path && *path && !state.file)
        OpenLocked(state, path);
}

} // namespace

bool OpenDeviceTrace(const std::string& path)
{
    TraceState& state = State();
    std::lock_guard lock(state.mutex);
    state.environmentRead = true;
    return OpenLocked(state, path);
}

void CloseDeviceTrace()
{
    TraceState& state = State();
    std::lock_guard lock(state.mutex);
    state.environmentRead = true;
    if (state.file)
        std::fclose(state.file);
    state.file = nullptr;
}

bool DeviceTraceActive()
{
    TraceState& state = State();
    std::lock_guard lock(state.mutex);
    ReadEnvironmentLocked(state);
    return state.file != nullptr;
}

std::string TraceHex(const uint8_t* data, size_t length)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(length * 3);
    for (size_t i = 0; i < length; ++i) {
        if (i)
            hex += ' ';
        hex += digits[data[i] >> 4];
        hex += digits[data[i] & 0x0F];
    }
    return hex;
}

void TraceDeviceLine(const std::string& fields)
{
    TraceState& state = State();
    std::lock_guard lock(state.mutex);
    ReadEnvironmentLocked(state);
    if (!state.file)
        return;
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - state.opened).count();
    const std::string line = std::to_string(ms) + '\t' + fields + '\n';
    std::fwrite(line.data(), 1, line.size(), state.file);
    std::fflush(state.file);
}

void TraceMIDI(const char* kind, const std::string& port, const uint8_t* data, size_t length)
{
    TraceState& state = State();
    std::lock_guard lock(state.mutex);
    ReadEnvironmentLocked(state);
    if (!state.file)
        return;
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - state.opened).count();
    const std::string line =
        std::to_string(ms) + '\t' + kind + '\t' + port + '\t' + TraceHex(data, length) + '\n';
    std::fwrite(line.data(), 1, line.size(), state.file);
    std::fflush(state.file);
}

} // namespace quorvel
