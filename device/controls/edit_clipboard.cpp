// Cut, copy and paste of the EDIT control through the device clipboard, as
// CF_UNICODETEXT in LocalAlloc memory that the clipboard takes over.
#include "controls/edit_state.h"

#include <algorithm>
#include <cstring>

namespace device::edit {
namespace {

bool PutOnClipboard(HWND owner, std::u16string_view text) {
    if (!OpenClipboard(owner)) {
        return false;
    }
    EmptyClipboard();
    HLOCAL memory = LocalAlloc(LMEM_MOVEABLE, (text.size() + 1) * sizeof(WCHAR));
    bool stored = false;
    if (memory != nullptr) {
        if (auto* target = static_cast<WCHAR*>(LocalLock(memory))) {
            std::memcpy(target, text.data(), text.size() * sizeof(WCHAR));
            target[text.size()] = 0;
            LocalUnlock(memory);
            stored = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!stored) {
            LocalFree(memory);
        }
    }
    CloseClipboard();
    return stored;
}

bool TakeFromClipboard(HWND owner, std::u16string* text) {
    if (!OpenClipboard(owner)) {
        return false;
    }
    bool found = false;
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* source = static_cast<const WCHAR*>(LocalLock(memory))) {
            size_t capacity = LocalSize(memory) / sizeof(WCHAR);
            text->assign(source, std::find(source, source + capacity, WCHAR{0}));
            LocalUnlock(memory);
            found = true;
        }
    }
    CloseClipboard();
    return found;
}

} // namespace

// A password box gives nothing away: neither copying nor cutting reaches the clipboard.
void Copy(State& state) {
    int start = SelectionStart(state);
    int end = SelectionEnd(state);
    if (start == end || state.passwordChar != 0) {
        return;
    }
    PutOnClipboard(state.hwnd,
                   std::u16string_view(state.text)
                       .substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
}

bool Cut(State& state) {
    int start = SelectionStart(state);
    int end = SelectionEnd(state);
    if (start == end || state.passwordChar != 0) {
        return true;
    }
    Copy(state);
    return DeleteRange(state, start, end);
}

// A single-line control takes the pasted text up to its first line break.
bool Paste(State& state) {
    std::u16string text;
    if (!TakeFromClipboard(state.hwnd, &text)) {
        return true;
    }
    if (!state.multiLine) {
        text.erase(std::min(text.find_first_of(u"\r\n"), text.size()));
    }
    return ReplaceSelection(state, std::move(text),
                            Replacement{Origin::User, true, UndoKind::Other});
}

} // namespace device::edit
