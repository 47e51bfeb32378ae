// The toolkit's message box: no owner, the main form's caption, one OK button.
#pragma once

#include "windows.h"

#include <string>

// MessageBoxW(0, text, caption, flags) with the main form's text as the caption while
// there is a main form, and the platform's default caption otherwise.
int ShowMessageBox(const std::u16string& text, UINT flags);
