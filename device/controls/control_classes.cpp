// The list of standard control classes.
#include "controls/control_classes.h"
#include "controls/edit.h"
#include "controls/header.h"
#include "controls/listview.h"

namespace device {

std::vector<ClassDescriptor> StandardControlClasses() {
    return {
        ButtonClassDescriptor(),
        StaticClassDescriptor(),
        MessageBoxClassDescriptor(),
        EditClassDescriptor(),
        ListViewClassDescriptor(),
        HeaderClassDescriptor(),
    };
}

} // namespace device
