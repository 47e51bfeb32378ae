// The list view control ("SysListView32"): its class descriptor for the device's list of
// standard classes.
#pragma once

#include "window/window_class.h"

namespace device {

ClassDescriptor ListViewClassDescriptor();

} // namespace device
