#pragma once

// The common base of the exceptions that leave a command handler and reach the message
// dispatcher, which reports each by its kind.
class CException {
  public:
    CException() = default;
    CException(const CException&) = default;
    CException& operator=(const CException&) = default;
    virtual ~CException();
};
