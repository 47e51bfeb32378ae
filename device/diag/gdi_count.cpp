// The number of live GDI objects, seen from outside the device.
#include "device_diag.h"

#include "gdi/handle_table.h"

namespace device::diag {

size_t LiveGdiObjectCount() {
    return gdi::LiveObjectCount();
}

} // namespace device::diag
