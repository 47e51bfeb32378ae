// The header control ("SysHeader32") that a list view shows above its columns: its class
// descriptor for the device's list of standard classes.
#pragma once

#include "window/window_class.h"

namespace device {

ClassDescriptor HeaderClassDescriptor();

} // namespace device
