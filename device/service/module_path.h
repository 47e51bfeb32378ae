// Test and tool service of the device's kernel: stands another path in for the running
// program's file, so that a test can give each case a program directory of its own.
#pragma once

// utf8Path becomes what GetModuleFileNameW reports for the program's module; nullptr goes
// back to the operating system's own answer.
void DeviceSetModulePath(const char* utf8Path);
