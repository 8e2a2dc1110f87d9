#pragma once
// The texts of the alerts that reading and writing files raise, until the
// text resources carry them. "[Title]Message" as the alert box shows them;
// ^0 is replaced by `argument`.
#include <string>

namespace quorvel {

std::string FileAlertText(int alert, const std::string& argument = "");

} // namespace quorvel
