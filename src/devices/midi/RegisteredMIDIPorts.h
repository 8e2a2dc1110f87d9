#pragma once
// The MIDI ports the system found at start-up, one list for inputs and one
// for outputs. The sampler settings keep a port by its name and find it here.
#include <memory>
#include <string>
#include <vector>

namespace quorvel {

class CMIDIInput;
class CMIDIInputParser;
class CMIDIOutput;

class CRegisteredMIDIInput {
public:
    static constexpr size_t kMaxNameLength = 32;
    virtual ~CRegisteredMIDIInput() = default;
    // The caller owns the open port. XFailedOpeningMIDIPort when it cannot open.
    virtual std::unique_ptr<CMIDIInput> Open(CMIDIInputParser& parser) const = 0;
    const std::string& Name() const { return name_; }
    const std::string& DriverKind() const { return driverKind_; }

protected:
    // Both texts are cut to 32 characters, as stored settings expect.
    CRegisteredMIDIInput(const std::string& name, const std::string& driverKind);

private:
    std::string name_;
    std::string driverKind_;
};

class CRegisteredMIDIOutput {
public:
    static constexpr size_t kMaxNameLength = 32;
    virtual ~CRegisteredMIDIOutput() = default;
    virtual std::unique_ptr<CMIDIOutput> Open() const = 0;
    const std::string& Name() const { return name_; }
    const std::string& DriverKind() const { return driverKind_; }

protected:
    CRegisteredMIDIOutput(const std::string& name, const std::string& driverKind);

private:
    std::string name_;
    std::string driverKind_;
};

struct CMIDIPortLists {
    std::vector<std::unique_ptr<CRegisteredMIDIInput>> inputs;
    std::vector<std::unique_ptr<CRegisteredMIDIOutput>> outputs;

    // The first port of that name, or nullptr.
    const CRegisteredMIDIInput* FindInput(const std::string& name) const;
    const CRegisteredMIDIOutput* FindOutput(const std::string& name) const;
};

} // namespace quorvel
