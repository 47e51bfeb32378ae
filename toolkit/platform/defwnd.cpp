// DefWindowProcW: the platform's default handling of every message.
#include "winuser.h"
