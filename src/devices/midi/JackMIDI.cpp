#include "devices/midi/JackMIDI.h"

#include <jack/jack.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "devices/midi/JackMIDIClient.h"
#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIService.h"

namespace quorvel {

namespace {

constexpr const char* kClientName = "Quorvel";

std::mutex sharedMutex;
std::weak_ptr<CJackMIDIClient> sharedClient;

// Our own ports need names of their own within the client.
std::string NextPortName(const char* direction)
{
    static std::atomic<unsigned> count{0};
    return std::string(direction) + " " + std::to_string(++count);
}

std::vector<std::string> OtherClientsPorts(jack_client_t* client, unsigned long flags,
                                           const std::vector<std::string>& ownPrefixes)
{
    std::vector<std::string> names;
    const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, flags);
    if (!ports)
        return names;
    for (const char** port = ports; *port; ++port) {
        const std::string name = *port;
        bool own = false;
        for (const std::string& prefix : ownPrefixes)
            own = own || name.compare(0, prefix.size(), prefix) == 0;
        if (!own)
            names.push_back(name);
    }
    jack_free(ports);
    return names;
}

std::shared_ptr<CJackMIDIClient> ClientForOpening()
{
    try {
        return SharedJackMIDIClient();
    } catch (const XJackUnavailable&) {
        throw XFailedOpeningMIDIPort();
    }
}

} // namespace

CRegisteredJackMIDIInput::CRegisteredJackMIDIInput(const std::string& peer)
    : CRegisteredMIDIInput(peer, kDriverKind), peer_(peer)
{
}

std::unique_ptr<CMIDIInput> CRegisteredJackMIDIInput::Open(CMIDIInputParser& parser) const
{
    return std::make_unique<CJackMIDIInput>(*this, parser);
}

CRegisteredJackMIDIOutput::CRegisteredJackMIDIOutput(const std::string& peer)
    : CRegisteredMIDIOutput(peer, kDriverKind), peer_(peer)
{
}

std::unique_ptr<CMIDIOutput> CRegisteredJackMIDIOutput::Open() const
{
    return std::make_unique<CJackMIDIOutput>(*this);
}

std::shared_ptr<CJackMIDIClient> SharedJackMIDIClient()
{
    std::lock_guard lock(sharedMutex);
    std::shared_ptr<CJackMIDIClient> client = sharedClient.lock();
    if (!client || client->ServerGone()) {
        client = std::make_shared<CJackMIDIClient>(kClientName);
        sharedClient = client;
    }
    return client;
}

void RegisterJackMIDIPorts(CMIDIPortLists& lists)
{
    std::unique_ptr<CJackClient> probe;
    try {
        probe = std::make_unique<CJackClient>("Quorvel ports");
    } catch (const XJackUnavailable&) {
        return; // no server: no JACK ports
    }
    std::vector<std::string> own = {probe->Name() + ":"};
    {
        std::lock_guard lock(sharedMutex);
        if (const std::shared_ptr<CJackMIDIClient> shared = sharedClient.lock())
            own.push_back(shared->Name() + ":");
    }
    for (const std::string& peer : OtherClientsPorts(probe->Handle(), JackPortIsOutput, own))
        lists.inputs.push_back(std::make_unique<CRegisteredJackMIDIInput>(peer));
    for (const std::string& peer : OtherClientsPorts(probe->Handle(), JackPortIsInput, own))
        lists.outputs.push_back(std::make_unique<CRegisteredJackMIDIOutput>(peer));
}

CJackMIDIInput::CJackMIDIInput(const CRegisteredJackMIDIInput& port, CMIDIInputParser& parser)
    : CByteStreamMIDIInput(port, parser), client_(ClientForOpening())
{
    try {
        receiver_ = client_->AddInput(NextPortName("in"),
                                      [this](const uint8_t* data, size_t length) { DeliverBytes(data, length); });
    } catch (const XJackUnavailable&) {
        throw XFailedOpeningMIDIPort();
    }
    if (!client_->Connect(port.Peer(), CJackMIDIClient::FullName(receiver_->Port()))) {
        client_->Remove(receiver_);
        throw XFailedOpeningMIDIPort();
    }
    StartDelivery();
}

CJackMIDIInput::~CJackMIDIInput()
{
    StopDelivery();
    client_->Remove(receiver_);
}

bool CJackMIDIInput::Gone() const { return client_->Drained(); }

CJackMIDIOutput::CJackMIDIOutput(const CRegisteredJackMIDIOutput& port)
    : CMIDIOutput(port), client_(ClientForOpening())
{
    try {
        sender_ = client_->AddOutput(NextPortName("out"));
    } catch (const XJackUnavailable&) {
        throw XFailedOpeningMIDIPort();
    }
    if (!client_->Connect(CJackMIDIClient::FullName(sender_->Port()), port.Peer())) {
        client_->Remove(sender_);
        throw XFailedOpeningMIDIPort();
    }
}

CJackMIDIOutput::~CJackMIDIOutput() { client_->Remove(sender_); }

void CJackMIDIOutput::Queue(const uint8_t* data, size_t length)
{
    for (;;) {
        if (client_->ServerGone())
            throw XMIDIWriteFailed();
        const size_t taken = sender_->Queue(data, length);
        data += taken;
        length -= taken;
        if (length == 0)
            return;
        // Short messages sent just before may still fill the ring.
        ServiceAllMIDIInputs();
    }
}

void CJackMIDIOutput::StartChunk(const uint8_t* data, int32_t length)
{
    std::vector<uint8_t> bytes;
    bytes.swap(unfinished_);
    bytes.insert(bytes.end(), data, data + length);
    // Where a sysex that has not ended yet starts: after the last status
    // byte (real-time bytes aside), when that is an F0.
    size_t last = bytes.size();
    for (size_t i = bytes.size(); i-- > 0;)
        if (bytes[i] >= 0x80 && bytes[i] < 0xF8) {
            last = i;
            break;
        }
    size_t keep = 0;
    if (last < bytes.size() && bytes[last] == 0xF0 && bytes.size() - last <= kWholeMessage)
        keep = bytes.size() - last;
    Queue(bytes.data(), bytes.size() - keep);
    unfinished_.assign(bytes.end() - static_cast<std::ptrdiff_t>(keep), bytes.end());
    awaited_ = sender_->Queued();
}

bool CJackMIDIOutput::ChunkDone()
{
    if (sender_->Sent() >= awaited_)
        return true;
    if (client_->ServerGone())
        throw XMIDIWriteFailed();
    return false;
}

int32_t CJackMIDIOutput::WriteShort(const uint8_t* data, int32_t length)
{
    // Whole or not at all: half a message would garble the stream.
    if (client_->ServerGone() || sender_->Room() < unfinished_.size() + static_cast<size_t>(length))
        return -1;
    sender_->Queue(unfinished_.data(), unfinished_.size());
    unfinished_.clear();
    sender_->Queue(data, static_cast<size_t>(length));
    return 0;
}

} // namespace quorvel
