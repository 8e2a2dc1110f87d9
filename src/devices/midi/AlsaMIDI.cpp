#include "devices/midi/AlsaMIDI.h"

#include <alsa/asoundlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "devices/midi/MIDIExceptions.h"

namespace quorvel {

namespace {

// Lists the subdevices of one raw MIDI device in one direction.
void AddSubdevices(snd_ctl_t* control, int card, int device, snd_rawmidi_stream_t stream, CMIDIPortLists& lists)
{
    snd_rawmidi_info_t* info;
    snd_rawmidi_info_alloca(&info);
    snd_rawmidi_info_set_device(info, static_cast<unsigned>(device));
    snd_rawmidi_info_set_stream(info, stream);
    snd_rawmidi_info_set_subdevice(info, 0);
    if (snd_ctl_rawmidi_info(control, info) < 0)
        return; // no subdevice in this direction
    const unsigned count = snd_rawmidi_info_get_subdevices_count(info);
    for (unsigned sub = 0; sub < count; ++sub) {
        snd_rawmidi_info_set_subdevice(info, sub);
        if (snd_ctl_rawmidi_info(control, info) < 0)
            continue;
        std::string name = snd_rawmidi_info_get_subdevice_name(info);
        if (name.empty() || count == 1)
            name = snd_rawmidi_info_get_name(info);
        if (count > 1 && name == snd_rawmidi_info_get_name(info))
            name += ' ' + std::to_string(sub + 1);
        char id[48];
        std::snprintf(id, sizeof id, "hw:%d,%d,%u", card, device, sub);
        if (stream == SND_RAWMIDI_STREAM_INPUT)
            lists.inputs.push_back(std::make_unique<CRegisteredAlsaMIDIInput>(name, id));
        else
            lists.outputs.push_back(std::make_unique<CRegisteredAlsaMIDIOutput>(name, id));
    }
}

} // namespace

CRegisteredAlsaMIDIInput::CRegisteredAlsaMIDIInput(const std::string& name, const std::string& device)
    : CRegisteredMIDIInput(name, kDriverKind), device_(device)
{
}

std::unique_ptr<CMIDIInput> CRegisteredAlsaMIDIInput::Open(CMIDIInputParser& parser) const
{
    return std::make_unique<CAlsaMIDIInput>(*this, parser);
}

CRegisteredAlsaMIDIOutput::CRegisteredAlsaMIDIOutput(const std::string& name, const std::string& device)
    : CRegisteredMIDIOutput(name, kDriverKind), device_(device)
{
}

std::unique_ptr<CMIDIOutput> CRegisteredAlsaMIDIOutput::Open() const
{
    return std::make_unique<CAlsaMIDIOutput>(*this);
}

void RegisterAlsaMIDIPorts(CMIDIPortLists& lists)
{
    int card = -1;
    while (snd_card_next(&card) >= 0 && card >= 0) {
        snd_ctl_t* control = nullptr;
        char name[16];
        std::snprintf(name, sizeof name, "hw:%d", card);
        if (snd_ctl_open(&control, name, 0) < 0)
            continue;
        int device = -1;
        while (snd_ctl_rawmidi_next_device(control, &device) >= 0 && device >= 0) {
            AddSubdevices(control, card, device, SND_RAWMIDI_STREAM_INPUT, lists);
            AddSubdevices(control, card, device, SND_RAWMIDI_STREAM_OUTPUT, lists);
        }
        snd_ctl_close(control);
    }
}

CAlsaMIDIInput::CAlsaMIDIInput(const CRegisteredAlsaMIDIInput& port, CMIDIInputParser& parser)
    : CByteStreamMIDIInput(port, parser)
{
    if (snd_rawmidi_open(&handle_, nullptr, port.Device().c_str(), SND_RAWMIDI_NONBLOCK) < 0)
        throw XFailedOpeningMIDIPort();
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) {
        snd_rawmidi_close(handle_);
        throw XFailedOpeningMIDIPort();
    }
    StartDelivery();
    thread_ = std::thread([this] { Run(); });
}

CAlsaMIDIInput::~CAlsaMIDIInput()
{
    StopDelivery();
    const uint64_t one = 1;
    if (write(wakeFd_, &one, sizeof one) < 0) {
        // The counter cannot overflow with one write; nothing else can fail here.
    }
    thread_.join();
    close(wakeFd_);
    snd_rawmidi_close(handle_);
}

void CAlsaMIDIInput::Run()
{
    const int count = snd_rawmidi_poll_descriptors_count(handle_);
    std::vector<pollfd> fds(static_cast<size_t>(count) + 1);
    fds[0] = {wakeFd_, POLLIN, 0};
    snd_rawmidi_poll_descriptors(handle_, fds.data() + 1, static_cast<unsigned>(count));
    uint8_t buffer[kBlockSize];
    for (;;) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[0].revents)
            return;
        unsigned short events = 0;
        snd_rawmidi_poll_descriptors_revents(handle_, fds.data() + 1, static_cast<unsigned>(count), &events);
        if (events & (POLLERR | POLLHUP))
            return; // the device went away
        if (!(events & POLLIN))
            continue;
        for (;;) {
            const ssize_t got = snd_rawmidi_read(handle_, buffer, sizeof buffer);
            if (got <= 0)
                break;
            DeliverBytes(buffer, static_cast<size_t>(got));
        }
    }
}

CAlsaMIDIOutput::CAlsaMIDIOutput(const CRegisteredAlsaMIDIOutput& port) : CMIDIOutput(port)
{
    if (snd_rawmidi_open(nullptr, &handle_, port.Device().c_str(), SND_RAWMIDI_NONBLOCK) < 0)
        throw XFailedOpeningMIDIPort();
}

// Closing lets the device finish what it holds (a short message just sent).
CAlsaMIDIOutput::~CAlsaMIDIOutput() { snd_rawmidi_close(handle_); }

void CAlsaMIDIOutput::WritePending()
{
    while (pendingStart_ < pendingEnd_) {
        const ssize_t wrote = snd_rawmidi_write(handle_, pending_ + pendingStart_,
                                                static_cast<size_t>(pendingEnd_ - pendingStart_));
        if (wrote == -EAGAIN || wrote == 0)
            return;
        if (wrote < 0)
            throw XMIDIWriteFailed();
        pendingStart_ += static_cast<int32_t>(wrote);
    }
}

void CAlsaMIDIOutput::StartChunk(const uint8_t* data, int32_t length)
{
    std::memcpy(pending_, data, static_cast<size_t>(length));
    pendingStart_ = 0;
    pendingEnd_ = length;
    WritePending();
}

bool CAlsaMIDIOutput::ChunkDone()
{
    WritePending();
    if (pendingStart_ < pendingEnd_)
        return false;
    // Done once the device's buffer holds nothing more of it.
    snd_rawmidi_status_t* status;
    snd_rawmidi_status_alloca(&status);
    snd_rawmidi_params_t* params;
    snd_rawmidi_params_alloca(&params);
    if (snd_rawmidi_status(handle_, status) < 0 || snd_rawmidi_params_current(handle_, params) < 0)
        throw XMIDIWriteFailed();
    return snd_rawmidi_status_get_avail(status) >= snd_rawmidi_params_get_buffer_size(params);
}

int32_t CAlsaMIDIOutput::WriteShort(const uint8_t* data, int32_t length)
{
    const ssize_t wrote = snd_rawmidi_write(handle_, data, static_cast<size_t>(length));
    return wrote == length ? 0 : wrote < 0 ? static_cast<int32_t>(wrote) : -EAGAIN;
}

} // namespace quorvel
