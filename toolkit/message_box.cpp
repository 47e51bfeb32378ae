// ShowMessageBox.
#include "message_box.h"

#include "application.h"

int ShowMessageBox(const std::u16string& text, UINT flags) {
    if (MainForm != nullptr) {
        const std::u16string caption = MainForm->Text;
        return MessageBoxW(nullptr, text.c_str(), caption.c_str(), flags);
    }
    return MessageBoxW(nullptr, text.c_str(), nullptr, flags);
}
