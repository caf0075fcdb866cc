#pragma once
#include <stdexcept>
#include <string>

// Failures that stop an operation and reach the application's error report.
// Messages are UTF-8 text meant for the user.
class EEngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read or written. Code is the operating
// system's error number; the message is chosen from it (FileErrorMessage).
class EInOutError : public EEngineError {
public:
    EInOutError(int code, const std::string& message) : EEngineError(message), Code(code) { }
    int Code;
};

// An input in an encoding the program does not read (UTF-32), refused like
// a file that cannot be read.
class EUnsupportedEncoding : public EInOutError {
public:
    explicit EUnsupportedEncoding(const std::string& encoding);
};

// The number formatter refused an over-long digit pattern, or a range
// would expand to more entries than the list can sensibly take.
class EFormatError : public EEngineError {
public:
    using EEngineError::EEngineError;
};

// The user-facing text for an operating-system error number.
std::string FileErrorMessage(int errnoValue);
