// The standard control classes the device holds from the start: each control's file
// exports its class descriptor, and this list names them.
#pragma once

#include "window/window_class.h"

#include <vector>

namespace device {

std::vector<ClassDescriptor> StandardControlClasses();

ClassDescriptor ButtonClassDescriptor();
ClassDescriptor StaticClassDescriptor();
// The "#32770" class of the boxes MessageBoxW shows.
ClassDescriptor MessageBoxClassDescriptor();

} // namespace device
