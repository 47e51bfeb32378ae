// The list of standard control classes.
#include "controls/control_classes.h"

namespace device {

std::vector<ClassDescriptor> StandardControlClasses() {
    return {
        ButtonClassDescriptor(),
    };
}

} // namespace device
