// The report of an exception that nothing caught.
#include "runtime/uncaught_exception.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <typeinfo>

namespace device {
namespace {

std::string CurrentExceptionType() {
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (type == nullptr) {
        return "an unknown exception";
    }
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(type->name(), nullptr, nullptr, &status), &std::free);
    return status == 0 && name != nullptr ? name.get() : type->name();
}

} // namespace

void EndByUncaughtException() {
    std::string description = CurrentExceptionType();
    if (std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& exception) {
            description += std::string(": ") + exception.what();
        } catch (...) {
        }
    }
    // One line, whatever the message holds.
    for (char& c : description) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    std::fprintf(stderr, "device: the program ended by an exception it did not catch: %s\n",
                 description.c_str());
    std::fflush(stderr);
    std::_Exit(kUncaughtExceptionStatus);
}

void ReportUncaughtExceptionsOnTerminate() {
    std::set_terminate([] {
        if (std::current_exception() != nullptr) {
            EndByUncaughtException();
        }
        std::fputs("device: the program was terminated\n", stderr);
        std::fflush(stderr);
        std::abort();
    });
}

} // namespace device
