#pragma once
// The texts of the alerts that reading and writing files raise, read from
// the built-in text resources: "[Title]Message" as the alert box shows them,
// with ^0 replaced by `argument`.
#include <initializer_list>
#include <string>

namespace quorvel {

constexpr int kFileAlertTable = 129;
constexpr int kInstrumentAlertTable = 132;
constexpr int kApplicationAlertTable = 1000;

std::string FileAlertText(int alert, const std::string& argument = "");
// The instrument exports' alerts, a table of their own.
std::string InstrumentAlertText(int alert);
// The application's own alerts (not enough memory, for one).
std::string ApplicationAlertText(int alert);
// Replaces each "%d" in turn with the next number.
std::string FillNumbers(std::string text, std::initializer_list<int> numbers);

} // namespace quorvel
