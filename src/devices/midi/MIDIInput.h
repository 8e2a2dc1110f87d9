#pragma once
// An open MIDI input and the parser it hands its data to. The driver's thread
// delivers at once to parsers that ask for it; everything else reaches the
// parser on the user-interface thread through Poll().
#include <cstdint>
#include <vector>

namespace quorvel {

class CMIDIInput;
class CRegisteredMIDIInput;

struct SShortMessage {
    uint32_t time = 0; // milliseconds
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
};

class CMIDIInputParser {
public:
    virtual ~CMIDIInputParser() = default;
    // On the user-interface thread.
    virtual void OnShortMessage(CMIDIInput*, const SShortMessage&) {}
    virtual void OnLongData(CMIDIInput*, uint32_t /*time*/, const uint8_t*, int32_t) {}
    // On the driver's thread: must only copy.
    virtual void OnShortMessageNow(CMIDIInput*, const SShortMessage&) {}
    virtual void OnLongDataNow(CMIDIInput*, uint32_t /*time*/, const uint8_t*, int32_t) {}

    bool WantsShortLater() const { return shortLater_; }
    bool WantsLongLater() const { return longLater_; }
    bool WantsShortNow() const { return shortNow_; }
    bool WantsLongNow() const { return longNow_; }
    // The input this parser is attached to, or nullptr.
    CMIDIInput* Input() const { return input_; }

protected:
    bool shortLater_ = false;
    bool longLater_ = false;
    bool shortNow_ = false;
    bool longNow_ = false;

private:
    friend class CMIDIInput;
    CMIDIInput* input_ = nullptr;
};

class CMIDIInput {
public:
    // Attaches to the parser and joins the list of open inputs.
    CMIDIInput(const CRegisteredMIDIInput& port, CMIDIInputParser& parser);
    virtual ~CMIDIInput();
    CMIDIInput(const CMIDIInput&) = delete;
    CMIDIInput& operator=(const CMIDIInput&) = delete;

    // Hands what the driver delivered for later to the parser.
    virtual void Poll() {}
    // True once nothing more can arrive, so that a wait for an answer ends
    // at once; drivers that cannot tell say false and the wait times out.
    virtual bool Gone() const { return false; }

    CMIDIInputParser& Parser() const { return parser_; }
    const CRegisteredMIDIInput& Port() const { return port_; }

    // Every open input in the order they were opened (user-interface thread).
    static const std::vector<CMIDIInput*>& OpenInputs();

private:
    const CRegisteredMIDIInput& port_;
    CMIDIInputParser& parser_;
};

} // namespace quorvel
