// Names of messages and notification codes, for printed message sequences and traces.
#pragma once

#include "windows.h"

#include <string>

namespace device::diag {

// "WM_SETFOCUS", "LVM_INSERTITEMW", ... or "0x1234" for an unknown number.
std::string MessageName(UINT message);

// "NM_CLICK", "LVN_ITEMCHANGED", ... for WM_NOTIFY codes.
std::string NotifyCodeName(UINT code);

} // namespace device::diag
