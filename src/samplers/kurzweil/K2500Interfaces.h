#pragma once
// The K2500 speaks the K2000's object protocol and moves sample data the same
// ways; only the name it reports differs. Its program bodies differ from the
// K2000's, which is the program objects' concern, not the transfer's.
#include "samplers/kurzweil/K2000MIDIAndSCSIInterface.h"
#include "samplers/kurzweil/K2000MIDIInterface.h"

namespace quorvel {

class CK2500MIDIInterface : public CK2000MIDIInterface {
public:
    using CK2000MIDIInterface::CK2000MIDIInterface;

protected:
    const char* ProtocolName() const override { return "Kurzweil K2500"; }
};

class CK2500MIDIAndSCSITransmitter : public CK2000MIDIAndSCSITransmitter {
public:
    using CK2000MIDIAndSCSITransmitter::CK2000MIDIAndSCSITransmitter;
};

class CK2500MIDIAndSCSIReceiver : public CK2000MIDIAndSCSIReceiver {
public:
    using CK2000MIDIAndSCSIReceiver::CK2000MIDIAndSCSIReceiver;
};

class CK2500MIDIAndSCSIInterface : public CK2000MIDIAndSCSIInterface {
public:
    using CK2000MIDIAndSCSIInterface::CK2000MIDIAndSCSIInterface;

protected:
    const char* ProtocolName() const override { return "Kurzweil K2500"; }
    std::unique_ptr<CABCSampleTransmitter> MakeTransmitter(uint16_t id) override
    {
        return std::make_unique<CK2500MIDIAndSCSITransmitter>(Target(), Objects(), id);
    }
    std::unique_ptr<CABCSampleReceiver> MakeReceiver(uint16_t id) override
    {
        return std::make_unique<CK2500MIDIAndSCSIReceiver>(Target(), Objects(), id);
    }
};

} // namespace quorvel
