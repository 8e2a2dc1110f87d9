#include "framework/JackClient.h"

#include <jack/jack.h>

#include <mutex>

namespace quorvel {

namespace {

void Quiet(const char*) {}

// Without a server, every attempt makes the library print its complaints;
// a missing server is an ordinary state here, not an error worth a line.
void SilenceLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        jack_set_error_function(Quiet);
        jack_set_info_function(Quiet);
    });
}

} // namespace

CJackClient::CJackClient(const std::string& name)
{
    SilenceLibrary();
    jack_status_t status{};
    client_ = jack_client_open(name.c_str(), JackNoStartServer, &status);
    if (!client_)
        throw XJackUnavailable();
    jack_on_shutdown(client_, &CJackClient::Shutdown, this);
}

CJackClient::~CJackClient()
{
    // After a shutdown the connection is dead; closing only frees our side.
    if (active_ && !ServerGone())
        jack_deactivate(client_);
    jack_client_close(client_);
}

std::string CJackClient::Name() const
{
    return jack_get_client_name(client_);
}

uint32_t CJackClient::SampleRate() const
{
    return jack_get_sample_rate(client_);
}

uint32_t CJackClient::BufferSize() const
{
    return jack_get_buffer_size(client_);
}

void CJackClient::Activate()
{
    if (active_)
        return;
    if (ServerGone() || jack_activate(client_) != 0)
        throw XJackUnavailable();
    active_ = true;
}

void CJackClient::Shutdown(void* self)
{
    auto* client = static_cast<CJackClient*>(self);
    client->gone_.store(true, std::memory_order_release);
    if (client->onGone_)
        client->onGone_();
}

bool JackServerAnswers()
{
    try {
        CJackClient probe("Quorvel probe");
        return true;
    } catch (const XJackUnavailable&) {
        return false;
    }
}

} // namespace quorvel
