// The base of the program's own errors: a message for the standard error box.
// Not std::runtime_error: its message is a copy-on-write string in this
// library, and using it links a second string implementation (some 40 KB)
// into the program.
#pragma once
#include <exception>
#include <string>
#include <utility>

namespace base {

class Error : public std::exception {
public:
    explicit Error(std::string what) : what_(std::move(what)) {}
    const char* what() const noexcept override { return what_.c_str(); }

private:
    std::string what_;
};

}  // namespace base
