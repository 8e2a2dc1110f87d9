#pragma once
// An alert script says everything an alert box shows in one line:
//
//   [NOTE][Too many slices!]Only the first %d slices ...[Cancel][OK]
//    icon  optional title     message                    buttons
//
// The buttons are numbered from the last one listed: slot 0 is "OK" above,
// slot 1 "Cancel", and the caller learns the pressed slot as 33, 34 or 35.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel {

enum class AlertIcon : uint8_t { Stop = 10, Note = 11, Warn = 12, None = 13 };

constexpr size_t kAlertButtonSlots = 3;
constexpr size_t kMaxAlertButtonText = 255;
constexpr int kFirstAlertButtonResult = 33;

struct AlertRecord {
    AlertIcon icon = AlertIcon::None;
    std::string title; // empty when the script has none
    std::string message;
    int buttonCount = 0;
    std::array<std::string, kAlertButtonSlots> buttons; // slot 0 = last listed

    friend bool operator==(const AlertRecord&, const AlertRecord&) = default;
};

AlertRecord ParseAlertScript(std::string_view script);

// What the alert box reports for the button in `slot`.
constexpr int AlertResultForSlot(int slot) { return kFirstAlertButtonResult + slot; }

} // namespace quorvel
