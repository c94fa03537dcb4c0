#include "platform/forms/runtime_error.h"

namespace qm::forms {

std::string ErrorText(int number)
{
    switch (number) {
    case errInvalidProcedureCall:
        return "Invalid procedure call or argument";
    case errOverflow:
        return "Overflow";
    case errOutOfMemory:
        return "Out of memory";
    case errSubscriptOutOfRange:
        return "Subscript out of range";
    case errTypeMismatch:
        return "Type mismatch";
    case 51:
        return "Internal error";
    case errFileNotFound:
        return "File not found";
    case errPathNotFound:
        return "Path not found";
    case errUnableToLoad:
        return "Unable to load";
    case errInvalidPropertyValue:
        return "Invalid property value";
    case errObjectRequired:
        return "Object required";
    case errInvalidPicture:
        return "Invalid picture";
    case errInvalidFormat:
        return "Invalid Clipboard format";
    case errFormatMismatch:
        return "Specified format doesn't match format of data";
    case errFormatsFixed:
        return "DataObject formats list may not be cleared or expanded outside of the "
               "OLEStartDrag event";
    case errRecursiveDrag:
        return "Illegal recursive invocation of OLE drag and drop";
    case errDataNotSupplied:
        return "Requested data was not supplied to the DataObject during the OLESetData event";
    default:
        return "Application-defined or object-defined error";
    }
}

void Raise(int number, std::string description)
{
    if (description.empty())
        description = ErrorText(number);
    throw RuntimeError(number, std::move(description));
}

} // namespace qm::forms
