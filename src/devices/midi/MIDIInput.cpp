#include "devices/midi/MIDIInput.h"

#include <algorithm>

namespace quorvel {

namespace {

std::vector<CMIDIInput*>& OpenList()
{
    static std::vector<CMIDIInput*> list;
    return list;
}

} // namespace

CMIDIInput::CMIDIInput(const CRegisteredMIDIInput& port, CMIDIInputParser& parser) : port_(port), parser_(parser)
{
    parser_.input_ = this;
    OpenList().push_back(this);
}

CMIDIInput::~CMIDIInput()
{
    auto& list = OpenList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (parser_.input_ == this)
        parser_.input_ = nullptr;
}

const std::vector<CMIDIInput*>& CMIDIInput::OpenInputs() { return OpenList(); }

} // namespace quorvel
