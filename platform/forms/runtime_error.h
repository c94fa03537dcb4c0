#pragma once
// Errors of the forms runtime: a number and a description, as the runtime reports them.
// Handlers let them propagate; one that nobody catches is reported by the runtime, which
// then ends the program (see program.h).
#include <stdexcept>
#include <string>

namespace qm::forms {

// Error numbers the runtime raises itself.
enum ErrorNumber : int {
    errInvalidProcedureCall = 5,
    errOverflow = 6,
    errOutOfMemory = 7,
    errSubscriptOutOfRange = 9,
    errTypeMismatch = 13,
    errFileNotFound = 53,
    errPathNotFound = 76,
    errObjectRequired = 424,
    errInvalidPropertyValue = 380,
    errInvalidPicture = 481,
    errUnableToLoad = 364, // form or control could not be created from its description
    // Drag and drop.
    errInvalidFormat = 460,
    errFormatMismatch = 461,
    errFormatsFixed = 672,
    errRecursiveDrag = 674,
    errDataNotSupplied = 676,
};

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, std::string description)
        : std::runtime_error(description)
        , number_(number)
        , description_(std::move(description))
    {
    }
    int Number() const { return number_; }
    const std::string& Description() const { return description_; }

private:
    int number_;
    std::string description_;
};

// Raises error `number`; an empty description takes the runtime's standard text.
[[noreturn]] void Raise(int number, std::string description = {});

// The runtime's standard text for an error number ("Type mismatch", ...).
std::string ErrorText(int number);

} // namespace qm::forms
