// An exception that the program does not catch ends it with one line on stderr saying
// what it was, and a status of its own, instead of an abort.
#pragma once

namespace device {

// The exit status of a program ended by an exception it did not catch.
inline constexpr int kUncaughtExceptionStatus = 70;

// Called inside a catch block (or a terminate handler with an exception in flight):
// prints "device: the program ended by an exception it did not catch: TYPE: what" and
// ends the process at once. Nothing more of the program runs: its objects are in whatever
// state the exception left them, and freeing them could only fail again.
[[noreturn]] void EndByUncaughtException();

// Makes exceptions that end the process any other way (through a noexcept frame, on
// another thread) report themselves the same way.
void ReportUncaughtExceptionsOnTerminate();

} // namespace device
