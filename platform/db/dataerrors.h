#pragma once

#include <exception>
#include <functional>

// The class library's silent exception: it stops an operation (a Before...
// handler refusing an edit, a step the user declined) and shows nothing.
class EAbort : public std::exception
{
public:
    const char *what() const noexcept override { return "Operation aborted"; }
};

// Failures raised where they cannot travel up to the caller (a filter handler
// asked about each row during a walk) go to one reporter. The application
// installs one that shows the error; without it they are written to
// standard error.
namespace DataErrors {

using Reporter = std::function<void(std::exception_ptr)>;

void setReporter(Reporter reporter);
// Reports the exception being handled; call only inside a catch block.
void reportCurrent();

} // namespace DataErrors
