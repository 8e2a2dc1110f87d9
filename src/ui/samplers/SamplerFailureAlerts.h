#pragma once
// Which alert a failed transfer ends in. The transmit and receive dialogs
// answer every failure of the transfer they run; the handlers around them
// answer what happens before a dialog runs (reaching the sampler's ports
// and bus) and let anything they do not know pass on.
#include <cstdint>
#include <exception>
#include <optional>

namespace quorvel {

enum class TransferDirection { Transmit, Receive };

// The alert reference for a failure inside a transmit or receive dialog;
// nothing when the user cancelled.
std::optional<uint32_t> DialogFailureAlert(const std::exception_ptr& failure, TransferDirection direction);

// The alert reference for a failure that reached the handler; nothing when
// no further alert is due (the MIDI port dialogs have spoken). Rethrows a
// failure it does not map.
std::optional<uint32_t> HandlerFailureAlert(const std::exception_ptr& failure);

} // namespace quorvel
