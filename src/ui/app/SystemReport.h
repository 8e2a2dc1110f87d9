#pragma once
// The text of the System Information dialog: operating system, processor,
// memory, sound cards, MIDI ports and SCSI buses, one line or block each.
#include <cstdint>
#include <string>
#include <vector>

#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/scsi/SCSIBusRegistry.h"

namespace quorvel {

struct SSystemFacts {
    std::string operatingSystem; // "Linux 6.1.0-18-amd64 (x86_64)"
    std::string processor;       // model name; empty when unknown
    int processorCount = 0;      // logical processors; 0 when unknown
    uint64_t memoryTotalKiB = 0; // 0 when unknown
    uint64_t memoryAvailableKiB = 0;
    std::vector<std::string> soundCards; // "type: name"
    std::vector<std::string> midiPorts;
    std::vector<std::string> scsiBuses;
};

// Reads uname, /proc/cpuinfo and /proc/meminfo; the device lists are left
// for the caller.
SSystemFacts GatherSystemFacts();

// The processor's model name and logical processor count from the text of
// /proc/cpuinfo.
void ParseCpuInfo(const std::string& text, std::string& model, int& count);
// "MemTotal" and "MemAvailable" from the text of /proc/meminfo, in KiB.
void ParseMemInfo(const std::string& text, uint64_t& totalKiB, uint64_t& availableKiB);

std::string FormatSystemReport(const SSystemFacts& facts);

// One line per registered MIDI port, inputs first: "In: NAME (DRIVER)".
std::vector<std::string> MidiPortLines(const CMIDIPortLists& ports);

// One line per registered SCSI bus, "NAME (DRIVER), adapter id N", then one
// line per target that answers (the target listing's lines, indented). The
// targets are asked with INQUIRY.
std::vector<std::string> ScsiBusLines(const CSCSIBusRegistry& buses);

} // namespace quorvel
