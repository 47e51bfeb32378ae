// The list of standard control classes.
#include "controls/control_classes.h"
#include "controls/header.h"
#include "controls/listview.h"

namespace device {

std::vector<ClassDescriptor> StandardControlClasses() {
    return {
        ButtonClassDescriptor(),
        ListViewClassDescriptor(),
        HeaderClassDescriptor(),
    };
}

} // namespace device
