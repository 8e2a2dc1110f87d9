#pragma once
// Root of every failure in Quorvel. Exceptions carry their class only; the
// code that started a user command picks the alert text from the class.
#include <exception>

namespace quorvel {

class XBase : public std::exception {
public:
    const char* what() const noexcept override { return "XBase"; }
};

// Declares an exception class that derives from `Parent` and names itself.
#define QUORVEL_EXCEPTION(Name, Parent)                                   \
    class Name : public Parent {                                          \
    public:                                                               \
        const char* what() const noexcept override { return #Name; }      \
    }

// The framework's out-of-memory failure.
QUORVEL_EXCEPTION(XOutOfMemory, XBase);

} // namespace quorvel
