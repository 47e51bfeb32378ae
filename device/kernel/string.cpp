// lstrlenW: the length of a NUL-terminated wide string, 0 for a null pointer.
#include "winbase.h"

int WINAPI lstrlenW(LPCWSTR lpString) {
    if (lpString == nullptr) {
        return 0;
    }
    int length = 0;
    while (lpString[length] != u'\0') {
        ++length;
    }
    return length;
}
