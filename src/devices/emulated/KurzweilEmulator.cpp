#include "devices/emulated/KurzweilEmulator.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "devices/emulated/EmulatedPortName.h"
#include "devices/emulated/KurzweilBitStream.h"
#include "devices/emulated/KurzweilBodies.h"
#include "devices/emulated/SMDIEmulator.h"
#include "devices/midi/RegisteredMIDIPorts.h"
#include "framework/XBase.h"

namespace quorvel {

namespace {

constexpr uint8_t kDevice = 0x00;
constexpr uint8_t kAllCall = 0x7F;
constexpr uint8_t kManufacturer = 0x07;
constexpr uint8_t kProduct = 0x78;

// Object messages.
constexpr uint8_t kAcknowledge = 2;
constexpr uint8_t kRefuse = 3;
constexpr uint8_t kDescribe = 4;
constexpr uint8_t kInfo = 5;
constexpr uint8_t kDelete = 7;
constexpr uint8_t kChange = 8;
constexpr uint8_t kWrite = 9;
constexpr uint8_t kRead = 10;
constexpr uint8_t kList = 12;
constexpr uint8_t kEndOfList = 13;
constexpr uint8_t kBitStream = 1;
constexpr size_t kLongestName = 16;

// Numbers in object messages: 7-bit groups, most significant first.
void Put7(std::vector<uint8_t>& out, uint32_t value, int width)
{
    for (int i = width - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>((value >> (7 * i)) & 0x7F));
}

uint32_t Get7(const std::vector<uint8_t>& m, size_t at, int width)
{
    uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 7) | (m[at + i] & 0x7F);
    return value;
}

uint32_t MaxBody(uint16_t type)
{
    switch (type) {
    case kurzweil::kProgram:
        return 7216;
    case kurzweil::kKeymap:
        return 6172;
    case kurzweil::kSoundBlock:
        return 4108;
    default:
        return 1u << 20;
    }
}

SSampleDumpTiming DumpTiming()
{
    SSampleDumpTiming timing;
    timing.headerReplyMs = CKurzweilEmulator::kDumpReplyMs;
    timing.packetReplyMs = CKurzweilEmulator::kDumpReplyMs;
    return timing;
}

} // namespace

CKurzweilEmulator::CKurzweilEmulator(const SKurzweilEmulatorModel& model, SLoopbackMIDIDevice ends,
                                     CABCEmulatorClock& clock, const std::vector<SEmulatorFault>& faults,
                                     const std::string& folder, std::shared_ptr<CSMDIEmulator> scsi)
    : CABCSampleDumpEmulator(std::move(ends), clock, PortName(model), DumpTiming()), model_(model),
      scsi_(std::move(scsi))
{
    for (const SEmulatorFault& fault : faults) {
        if (TakeDumpFault(fault))
            continue;
        if (fault.name == "silent")
            faults_.silent = DumpFaults().silent = true;
        else if (fault.name == "reject-write")
            faults_.rejectWrite = static_cast<uint8_t>(fault.value & 0x7F);
        else if (fault.name == "in-edit")
            faults_.rejectWrite = kurzweilerror::kInEdit;
        else if (fault.name == "out-of-memory")
            faults_.rejectWrite = kurzweilerror::kMemoryFull;
        else if (fault.name == "id-above")
            faults_.idAbove = fault.value;
        // Others belong to other protocols.
    }
    CSMDISampleStore* samples = nullptr;
    if (scsi_)
        samples = &scsi_->Samples();
    else {
        ownSamples_ = std::make_unique<CSMDISampleStore>(
            folder.empty() ? std::string() : (std::filesystem::path(folder) / "samples").string());
        samples = ownSamples_.get();
    }
    memory_ = std::make_unique<CKurzweilMemory>(folder, *samples);
    memory_->Sync();
    Start();
}

CKurzweilEmulator::~CKurzweilEmulator() { Stop(); }

std::string CKurzweilEmulator::PortName(const SKurzweilEmulatorModel& model)
{
    return EmulatedPortName(model.name);
}

void CKurzweilEmulator::Out(std::vector<uint8_t> message)
{
    if (!faults_.silent)
        Send(message);
}

void CKurzweilEmulator::Kurzweil(uint8_t number, const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> m = {0xF0, kManufacturer, kDevice, kProduct, number};
    m.insert(m.end(), body.begin(), body.end());
    m.push_back(0xF7);
    Out(std::move(m));
}

void CKurzweilEmulator::Refuse(uint16_t type, uint16_t id, uint8_t code)
{
    std::vector<uint8_t> body;
    Put7(body, type, 2);
    Put7(body, id, 2);
    Put7(body, 0, 3);
    Put7(body, 0, 3);
    body.push_back(code);
    Kurzweil(kRefuse, body);
}

void CKurzweilEmulator::Info(uint16_t type, uint16_t id, const std::optional<SKurzweilObject>& object)
{
    // An object that is not there is described with size 0 and no name.
    std::vector<uint8_t> body;
    Put7(body, type, 2);
    Put7(body, id, 2);
    Put7(body, object ? static_cast<uint32_t>(object->body.size()) : 0, 3);
    body.push_back(object ? object->flag : 0);
    if (object)
        for (char c : object->name)
            body.push_back(static_cast<uint8_t>(c & 0x7F));
    body.push_back(0);
    Kurzweil(kInfo, body);
}

void CKurzweilEmulator::OnMessage(const std::vector<uint8_t>& m)
{
    if (m.size() >= 6 && m[1] == 0x7E && (m[2] == kDevice || m[2] == kAllCall))
        OnUniversal(m);
    else if (m.size() >= 6 && m[1] == kManufacturer && m[2] == kDevice && m[3] == kProduct)
        OnObjectMessage(m);
}

void CKurzweilEmulator::OnObjectMessage(const std::vector<uint8_t>& m)
{
    // Sample data may have come or gone over SCSI since the last message.
    memory_->Sync();
    const uint8_t number = m[4];
    switch (number) {
    case kDescribe:
    case kDelete: {
        if (m.size() != 10)
            return;
        const uint16_t type = static_cast<uint16_t>(Get7(m, 5, 2));
        const uint16_t id = static_cast<uint16_t>(Get7(m, 7, 2));
        const std::optional<SKurzweilObject> object = memory_->Find(type, id);
        if (number == kDelete && object)
            memory_->Remove(type, id);
        Info(type, id, object);
        return;
    }
    case kChange:
        OnChange(m);
        return;
    case kWrite:
        OnWrite(m);
        return;
    case kRead:
        OnRead(m);
        return;
    case kList:
        OnList(m);
        return;
    case kAcknowledge:
        return; // the reader's closing answer to a read: nothing follows it
    default:
        return; // not one the emulator speaks
    }
}

void CKurzweilEmulator::OnChange(const std::vector<uint8_t>& m)
{
    // type, id, new id, name, 0
    if (m.size() < 12)
        return;
    const uint16_t type = static_cast<uint16_t>(Get7(m, 5, 2));
    const uint16_t id = static_cast<uint16_t>(Get7(m, 7, 2));
    uint16_t newId = static_cast<uint16_t>(Get7(m, 9, 2));
    std::string name;
    for (size_t i = 11; i + 1 < m.size() && m[i] != 0; ++i)
        name.push_back(static_cast<char>(m[i]));
    name = name.substr(0, kLongestName);
    // Only a legal id moves the object.
    if (newId > kurzweil::kLastId)
        newId = 0;
    std::optional<SKurzweilObject> object;
    try {
        object = memory_->Change(type, id, newId, name);
    } catch (const XBase& failure) {
        std::cerr << PortName(model_) << ": could not keep the change (" << failure.what() << ")\n";
        object = memory_->Find(type, id);
    }
    Info(type, object ? object->id : id, object);
}

uint16_t CKurzweilEmulator::ChooseId(uint16_t type, uint16_t id, uint8_t mode, uint8_t& code) const
{
    uint32_t from = kurzweil::kFirstId;
    uint32_t last = kurzweil::kLastId;
    const bool chosen = mode == 1 || id == 0;
    if (mode == 1)
        from = std::max<uint32_t>(id, kurzweil::kFirstId);
    if (!chosen) {
        if (id < kurzweil::kFirstId || id > kurzweil::kLastId) {
            code = kurzweilerror::kIdOutOfRange;
            return 0;
        }
        return id;
    }
    if (type == kurzweil::kSoundBlock && faults_.idAbove != 0) {
        from = std::max<uint32_t>(from, faults_.idAbove);
        last = 0xFFFF;
    }
    const uint16_t free = memory_->FirstFree(type, from, last);
    if (free == 0)
        code = kurzweilerror::kIdOutOfRange;
    return free;
}

void CKurzweilEmulator::OnWrite(const std::vector<uint8_t>& m)
{
    // type(2) id(2) size(3) mode(1) name 0 form(1) data checksum
    if (m.size() < 17)
        return;
    const uint16_t type = static_cast<uint16_t>(Get7(m, 5, 2));
    const uint16_t id = static_cast<uint16_t>(Get7(m, 7, 2));
    const uint32_t size = Get7(m, 9, 3);
    const uint8_t mode = m[12];
    size_t at = 13;
    std::string name;
    while (at < m.size() - 1 && m[at] != 0)
        name.push_back(static_cast<char>(m[at++]));
    // After the name's 0: the form, the data, the checksum and F7.
    if (at + 4 > m.size()) {
        Refuse(type, id, kurzweilerror::kMalformed);
        return;
    }
    const uint8_t form = m[at + 1];
    const uint8_t* wire = m.data() + at + 2;
    const size_t wireBytes = m.size() - (at + 2) - 2;
    if (form != kBitStream) {
        Refuse(type, id, kurzweilerror::kMalformed);
        return;
    }
    if (KurzweilChecksum(wire, wireBytes) != m[m.size() - 2] || KurzweilPackedSize(size) != wireBytes) {
        Refuse(type, id, kurzweilerror::kChecksum);
        return;
    }
    if (faults_.rejectWrite) {
        Refuse(type, id, *faults_.rejectWrite);
        return;
    }
    SKurzweilObject object;
    object.type = type;
    object.name = name.substr(0, kLongestName);
    object.body = UnpackKurzweilBitStream(wire, wireBytes);
    object.body.resize(size);
    if (size > MaxBody(type) || !KurzweilBodyHoldsTogether(type, object.body)) {
        Refuse(type, id, kurzweilerror::kMalformed);
        return;
    }
    uint8_t code = 0;
    object.id = ChooseId(type, id, mode, code);
    if (object.id == 0) {
        Refuse(type, id, code);
        return;
    }
    try {
        memory_->Put(object);
    } catch (const XBase& failure) {
        std::cerr << PortName(model_) << ": could not keep object " << type << "/" << object.id << " ("
                  << failure.what() << ")\n";
        Refuse(type, id, kurzweilerror::kMemoryFull);
        return;
    }
    std::vector<uint8_t> body;
    Put7(body, type, 2);
    Put7(body, object.id, 2);
    Put7(body, 0, 3);
    Put7(body, size, 3);
    Kurzweil(kAcknowledge, body);
}

void CKurzweilEmulator::OnRead(const std::vector<uint8_t>& m)
{
    if (m.size() != 11)
        return;
    const uint16_t type = static_cast<uint16_t>(Get7(m, 5, 2));
    const uint16_t id = static_cast<uint16_t>(Get7(m, 7, 2));
    const std::optional<SKurzweilObject> object = memory_->Find(type, id);
    if (!object) {
        Refuse(type, id, kurzweilerror::kNotFound);
        return;
    }
    if (m[9] != kBitStream) {
        Refuse(type, id, kurzweilerror::kMalformed);
        return;
    }
    std::vector<uint8_t> body;
    Put7(body, type, 2);
    Put7(body, id, 2);
    Put7(body, static_cast<uint32_t>(object->body.size()), 3);
    body.push_back(object->flag);
    for (char c : object->name)
        body.push_back(static_cast<uint8_t>(c & 0x7F));
    body.push_back(0);
    body.push_back(kBitStream);
    const std::vector<uint8_t> wire = PackKurzweilBitStream(object->body);
    body.insert(body.end(), wire.begin(), wire.end());
    body.push_back(KurzweilChecksum(wire.data(), wire.size()));
    Kurzweil(kWrite, body);
}

void CKurzweilEmulator::OnList(const std::vector<uint8_t>& m)
{
    // type(2) bank(1) RAM only(1): every object is in RAM, so the last
    // byte changes nothing.
    if (m.size() != 10)
        return;
    const uint16_t type = static_cast<uint16_t>(Get7(m, 5, 2));
    const uint8_t bank = m[7];
    for (const SKurzweilObject& object : memory_->List(type, bank))
        Info(type, object.id, object);
    std::vector<uint8_t> body;
    Put7(body, type, 2);
    body.push_back(bank);
    Kurzweil(kEndOfList, body);
}

} // namespace quorvel
