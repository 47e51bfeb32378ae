// The edit control ("EDIT"): its class descriptor for the device's list of standard
// classes.
#pragma once

#include "window/window_class.h"

namespace device {

ClassDescriptor EditClassDescriptor();

} // namespace device
