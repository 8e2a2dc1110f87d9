#include "devices/emulated/A3000Emulator.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "devices/emulated/A3000Parameters.h"
#include "framework/XBase.h"

namespace quorvel {

namespace {

constexpr uint8_t kDevice = 0;
constexpr size_t kPieceBytes = 2048;
constexpr int kPiecePauseMs = 2;

bool Contains(const std::vector<uint32_t>& list, size_t value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

// F0 7E dd 06 01 F7 for our device number or for all (7F).
bool IsIdentityRequest(const A3000Bytes& m)
{
    return m.size() == 6 && m[1] == 0x7E && (m[2] == kDevice || m[2] == 0x7F) && m[3] == 0x06 && m[4] == 0x01;
}

// Family 0x0041 and member 0x0116, each least significant group first; the
// version as four digits, one per byte.
A3000Bytes IdentityReply()
{
    const uint8_t major = CA3000Emulator::kVersionMajor;
    const uint8_t minor = CA3000Emulator::kVersionMinor;
    return {0xF0, 0x7E, kDevice, 0x06, 0x02, 0x43, 0x00, 0x41, 0x01, 0x16,
            static_cast<uint8_t>(major / 10), static_cast<uint8_t>(major % 10),
            static_cast<uint8_t>(minor / 10), static_cast<uint8_t>(minor % 10), 0xF7};
}

} // namespace

CA3000Emulator::CA3000Emulator(SLoopbackMIDIDevice ends, CABCEmulatorClock& clock,
                               const std::vector<SEmulatorFault>& faults, std::shared_ptr<CA3000Memory> memory)
    : CABCMIDIEmulator(std::move(ends), clock), memory_(std::move(memory))
{
    for (const SEmulatorFault& fault : faults) {
        if (fault.name == "silent")
            faults_.silent = true;
        else if (fault.name == "wrong-name")
            faults_.wrongName = true;
        else if (fault.name == "bad-xor")
            faults_.badXor.push_back(fault.value);
        else if (fault.name == "bad-checksum")
            faults_.badChecksum.push_back(fault.value);
        // Others belong to other protocols.
    }
    Start();
}

CA3000Emulator::~CA3000Emulator() { Stop(); }

void CA3000Emulator::Out(const A3000Bytes& message)
{
    if (faults_.silent)
        return;
    // A long dump goes out in pieces with a pause after each, about 1 MB a
    // second: an unpaced wire would otherwise hand a reader far more than its
    // input ring holds before it has read anything.
    for (size_t at = 0; at < message.size(); at += kPieceBytes) {
        if (at != 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(kPiecePauseMs));
        const size_t count = std::min(kPieceBytes, message.size() - at);
        Send(std::vector<uint8_t>(message.begin() + static_cast<std::ptrdiff_t>(at),
                                  message.begin() + static_cast<std::ptrdiff_t>(at + count)));
    }
}

void CA3000Emulator::OnMessage(const std::vector<uint8_t>& message)
{
    if (IsIdentityRequest(message)) {
        Out(IdentityReply());
        return;
    }
    if (message.size() < 4 || message[1] != 0x43 || message[3] != 0x7A)
        return;
    SA3000Request request;
    if (ParseA3000Request(message, request)) {
        if (request.device == kDevice)
            Answer(request);
        return;
    }
    SA3000Dump dump;
    if (ParseA3000Dump(message, dump) != EA3000DumpCheck::kGood) {
        Refuse();
        return;
    }
    if (dump.device == kDevice)
        Take(dump);
}

void CA3000Emulator::Answer(const SA3000Request& request)
{
    if (request.type == "OL") {
        A3000Bytes list;
        for (const SA3000Object& object : memory_->Objects()) {
            list.push_back(object.type);
            list.insert(list.end(), object.name.begin(), object.name.end());
        }
        SendDump("OL", A3000NameOf("Object List"), list);
    } else if (request.type == "SP" || request.type == "WD") {
        const std::optional<SA3000Object> sample = memory_->Find(kA3000SampleObject, request.name);
        if (!sample)
            return; // nothing of that name: the sampler stays quiet
        SA3000SoundFields fields = A3000FieldsOfWaveBlock(sample->waveBlock);
        fields.words = static_cast<uint32_t>(sample->waveBytes.size() / 2);
        if (request.type == "SP") {
            SendDump("SP", sample->name,
                     sample->parameters.empty() ? A3000SampleParameters(sample->name, fields) : sample->parameters);
            return;
        }
        A3000Bytes payload =
            sample->waveBlock.empty() ? A3000WaveBlock(sample->name, fields) : sample->waveBlock;
        payload.insert(payload.end(), sample->waveBytes.begin(), sample->waveBytes.end());
        SendDump("WD", sample->name, payload);
    } else if (request.type == "SB") {
        const std::optional<SA3000Object> bank = memory_->Find(kA3000BankObject, request.name);
        if (bank)
            SendDump("SB", bank->name, bank->parameters);
    }
    // Other dump types (system, programs, sequences) are not kept here.
}

void CA3000Emulator::SendDump(const std::string& type, A3000Name name, const A3000Bytes& payload)
{
    if (faults_.wrongName && type != "OL")
        name[0] = name[0] == 'X' ? 'Y' : 'X';
    const bool wave = type == "WD";
    Out(BuildA3000Dump(kDevice, type, name, payload, [this, wave](size_t block) {
        return Contains(faults_.badXor, block) || (wave && Contains(faults_.badChecksum, block));
    }));
}

void CA3000Emulator::Take(const SA3000Dump& dump)
{
    uint8_t type = kA3000SampleObject;
    if (dump.type == "SB")
        type = kA3000BankObject;
    else if (dump.type != "SP" && dump.type != "WD") {
        Refuse();
        return;
    }
    if (dump.type == "WD" &&
        (dump.payload.size() < kA3000WaveBlockBytes || (dump.payload.size() - kA3000WaveBlockBytes) % 2 != 0)) {
        Refuse();
        return;
    }
    SA3000Object object = memory_->Find(type, dump.name).value_or(SA3000Object{});
    object.type = type;
    object.name = dump.name;
    if (dump.type == "WD") {
        object.waveBlock.assign(dump.payload.begin(), dump.payload.begin() + kA3000WaveBlockBytes);
        object.waveBytes.assign(dump.payload.begin() + kA3000WaveBlockBytes, dump.payload.end());
        object.smdiHeader.clear(); // the wave it described is gone
    } else {
        object.parameters = dump.payload;
    }
    try {
        memory_->Put(object);
    } catch (const XBase&) {
        Refuse();
    }
}

} // namespace quorvel
