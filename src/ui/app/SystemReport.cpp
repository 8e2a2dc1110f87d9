#include "ui/app/SystemReport.h"

#include <sys/utsname.h>

#include <fstream>
#include <sstream>

#include "devices/scsi/SCSITargetListing.h"
#include "framework/EmbeddedResources.h"

namespace quorvel {

namespace {

std::string ReadWholeFile(const char* path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// "key : value" lines; `key` without its padding.
bool SplitField(const std::string& line, std::string& key, std::string& value)
{
    const size_t colon = line.find(':');
    if (colon == std::string::npos)
        return false;
    key = Trimmed(line.substr(0, colon));
    value = Trimmed(line.substr(colon + 1));
    return true;
}

std::string Megabytes(uint64_t kib) { return std::to_string(kib / 1024) + " MB"; }

void AppendList(std::ostringstream& out, const char* heading, const std::vector<std::string>& entries)
{
    out << heading << ":";
    if (entries.empty()) {
        out << " none\n";
        return;
    }
    out << "\n";
    for (const std::string& entry : entries)
        out << "  " << entry << "\n";
}

} // namespace

void ParseCpuInfo(const std::string& text, std::string& model, int& count)
{
    model.clear();
    count = 0;
    std::istringstream lines(text);
    std::string line, key, value;
    while (std::getline(lines, line)) {
        if (!SplitField(line, key, value))
            continue;
        if (key == "processor")
            ++count;
        // "model name" on x86; other machines name it differently.
        else if (model.empty() && (key == "model name" || key == "Model" || key == "cpu model"))
            model = value;
    }
}

void ParseMemInfo(const std::string& text, uint64_t& totalKiB, uint64_t& availableKiB)
{
    totalKiB = availableKiB = 0;
    std::istringstream lines(text);
    std::string line, key, value;
    while (std::getline(lines, line)) {
        if (!SplitField(line, key, value))
            continue;
        uint64_t* target = key == "MemTotal" ? &totalKiB : key == "MemAvailable" ? &availableKiB : nullptr;
        if (target) {
            try {
                *target = std::stoull(value);
            } catch (const std::exception&) {
                *target = 0;
            }
        }
    }
}

SSystemFacts GatherSystemFacts()
{
    SSystemFacts facts;
    if (utsname names{}; ::uname(&names) == 0)
        facts.operatingSystem =
            std::string(names.sysname) + " " + names.release + " (" + names.machine + ")";
    ParseCpuInfo(ReadWholeFile("/proc/cpuinfo"), facts.processor, facts.processorCount);
    ParseMemInfo(ReadWholeFile("/proc/meminfo"), facts.memoryTotalKiB, facts.memoryAvailableKiB);
    return facts;
}

std::string FormatSystemReport(const SSystemFacts& facts)
{
    const std::string unknown = "Unknown";
    std::ostringstream out;
    out << "Operating system: " << (facts.operatingSystem.empty() ? unknown : facts.operatingSystem) << "\n";
    out << "Processor: " << (facts.processor.empty() ? unknown : facts.processor);
    if (facts.processorCount > 0)
        out << ", " << facts.processorCount << (facts.processorCount == 1 ? " core" : " cores");
    out << "\n";
    out << "Memory: ";
    if (facts.memoryTotalKiB == 0)
        out << unknown;
    else
        out << Megabytes(facts.memoryTotalKiB) << " (" << Megabytes(facts.memoryAvailableKiB) << " available)";
    out << "\n";
    AppendList(out, "Sound cards", facts.soundCards);
    AppendList(out, "MIDI ports", facts.midiPorts);
    AppendList(out, "SCSI buses", facts.scsiBuses);
    return out.str();
}

std::vector<std::string> MidiPortLines(const CMIDIPortLists& ports)
{
    std::vector<std::string> lines;
    for (const auto& input : ports.inputs)
        lines.push_back("In: " + input->Name() + " (" + input->DriverKind() + ")");
    for (const auto& output : ports.outputs)
        lines.push_back("Out: " + output->Name() + " (" + output->DriverKind() + ")");
    return lines;
}

std::vector<std::string> ScsiBusLines(const CSCSIBusRegistry& buses)
{
    std::vector<std::string> lines;
    for (size_t i = 0; i < buses.Count(); ++i) {
        CSCSIBus& bus = *buses.Bus(i);
        lines.push_back(bus.Name() + " (" + bus.DriverName() + "), adapter id " + std::to_string(bus.AdapterId()));
        const std::string adapter = std::to_string(bus.AdapterId()) + ":";
        for (const std::string& target : ListTargets(bus, BuiltInTextResources())) {
            // Ids without a device and the adapter itself say nothing here.
            if (target.compare(0, adapter.size(), adapter) == 0 || target.find(": ???") != std::string::npos)
                continue;
            lines.push_back("  " + target);
        }
    }
    return lines;
}

} // namespace quorvel
