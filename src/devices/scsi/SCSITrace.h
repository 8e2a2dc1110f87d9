#pragma once
// The device trace line of one SCSI command:
// MS<TAB>scsi<TAB>BUS:TARGET<TAB>CDB-HEX<TAB>in|out|none<TAB>DATA-HEX<TAB>KIND<TAB>SENSE-HEX
#include <cstddef>
#include <cstdint>
#include <string>

#include "devices/scsi/SCSIResult.h"

namespace quorvel {

// The line's fields after MS and without the line end.
std::string SCSITraceFields(const std::string& bus, uint8_t target, const uint8_t* block, ESCSIDirection direction,
                            const uint8_t* data, size_t length, const SCSIResult& result);

// Appends the line when a trace is open.
void TraceSCSICommand(const std::string& bus, uint8_t target, const uint8_t* block, ESCSIDirection direction,
                      const uint8_t* data, size_t length, const SCSIResult& result);

} // namespace quorvel
