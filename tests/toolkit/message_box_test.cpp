// The toolkit's message box: the main form's caption, or the platform's default before
// there is a main form; one OK button, answered through the device's input.
#include "application.h"
#include "control_factory.h"
#include "message_box.h"
#include "toolkit_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class MessageBox : public test::ToolkitTest {
protected:
    // Answers the next box with Return and remembers what it showed.
    void AnswerNextBox() {
        device::host::WhenIdle([this] {
            HWND box = GetForegroundWindow();
            WCHAR text[64] = {};
            GetWindowTextW(box, text, 64);
            caption = text;
            GetClassNameW(box, text, 64);
            className = text;
            device::input::PressKey(VK_RETURN);
        });
    }
    std::u16string caption;
    std::u16string className;
};

TEST_F(MessageBox, BeforeAnyMainFormTheBoxHasThePlatformsDefaultCaption) {
    AnswerNextBox();
    EXPECT_EQ(ShowMessageBox(u"Hata Oluştu !", MB_ICONERROR), IDOK);
    EXPECT_EQ(className, u"#32770");
    EXPECT_EQ(caption, u"Error");
}

TEST_F(MessageBox, WithAMainFormTheBoxCarriesItsCaption) {
    TControl* form = CreateForm(nullptr, u"Adres Defteri");
    MainForm = form;
    AnswerNextBox();
    EXPECT_EQ(ShowMessageBox(u"Kayıt Yapıldı !", MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(caption, u"Adres Defteri");
    EXPECT_EQ(form->Handle, nullptr); // no owner: the form's window is not needed
    MainForm = nullptr;
    Free(form);
}

} // namespace
