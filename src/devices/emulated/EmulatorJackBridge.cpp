#include "devices/emulated/EmulatorJackBridge.h"

#include <chrono>
#include <thread>

#include "devices/midi/JackMIDIClient.h"

namespace quorvel {

CEmulatorJackBridge::CEmulatorJackBridge(CJackMIDIClient& client, std::shared_ptr<CLoopbackMIDIWire> toEmulator,
                                         std::shared_ptr<CLoopbackMIDIWire> fromEmulator)
    : client_(client), toEmulator_(std::move(toEmulator)), fromEmulator_(std::move(fromEmulator))
{
    input_ = client_.AddInput("in", [this](const uint8_t* data, size_t length) { toEmulator_->Write(data, length); });
    try {
        output_ = client_.AddOutput("out");
    } catch (...) {
        client_.Remove(input_);
        throw;
    }
    fromEmulator_->Attach([this](const uint8_t* data, size_t length) { Forward(data, length); });
}

CEmulatorJackBridge::~CEmulatorJackBridge()
{
    stopping_ = true;
    fromEmulator_->Detach();
    client_.Remove(output_);
    client_.Remove(input_);
}

std::string CEmulatorJackBridge::InputName() const { return CJackMIDIClient::FullName(input_->Port()); }

std::string CEmulatorJackBridge::OutputName() const { return CJackMIDIClient::FullName(output_->Port()); }

void CEmulatorJackBridge::Forward(const uint8_t* data, size_t length)
{
    while (length > 0 && !stopping_ && !client_.ServerGone()) {
        const size_t taken = output_->Queue(data, length);
        data += taken;
        length -= taken;
        if (length > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

} // namespace quorvel
