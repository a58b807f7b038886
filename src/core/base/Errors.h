#pragma once
// An error that ends the operation it occurs in. It is not caught by the operation itself; the
// application's general error handler shows its text and the program goes on.
#include <stdexcept>
#include <string>

namespace zorvik {

class AppError : public std::runtime_error {
public:
    explicit AppError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace zorvik
