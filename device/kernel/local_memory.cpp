// Local memory (LocalAlloc and its companions): fixed blocks, whose handle is their address,
// and moveable ones, reached through LocalLock. Every live handle is registered, so a stale
// or made-up handle fails with ERROR_INVALID_HANDLE instead of touching freed memory.
#include "winbase.h"

#include <cstdlib>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

constexpr UINT kValidFlags = 0x0F72; // LMEM_VALID_FLAGS
constexpr DWORD kErrorDiscarded = 157;
constexpr DWORD kErrorNotLocked = 158;

struct LocalBlock {
    bool moveable = false;
    SIZE_T size = 0;
    int lockCount = 0;
    void* data = nullptr; // null for a moveable block of size 0, which Windows makes discarded
};

std::mutex g_mutex;
std::unordered_map<HLOCAL, std::unique_ptr<LocalBlock>> g_blocks;

// Called with g_mutex held.
LocalBlock* Find(HLOCAL hMem) {
    auto it = g_blocks.find(hMem);
    return it == g_blocks.end() ? nullptr : it->second.get();
}

} // namespace

HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
    if ((uFlags & ~kValidFlags) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto block = std::make_unique<LocalBlock>();
    block->moveable = (uFlags & LMEM_MOVEABLE) != 0;
    block->size = uBytes;
    if (!block->moveable || uBytes != 0) {
        // malloc(0) may answer null; a fixed block of size 0 still needs an address.
        block->data = (uFlags & LMEM_ZEROINIT) != 0 ? std::calloc(uBytes ? uBytes : 1, 1)
                                                    : std::malloc(uBytes ? uBytes : 1);
        if (block->data == nullptr) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    HLOCAL handle = block->moveable ? static_cast<HLOCAL>(block.get()) : block->data;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_blocks.emplace(handle, std::move(block));
    return handle;
}

HLOCAL WINAPI LocalFree(HLOCAL hMem) {
    if (hMem == nullptr) {
        return nullptr;
    }
    std::unique_ptr<LocalBlock> block;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        auto it = g_blocks.find(hMem);
        if (it == g_blocks.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return hMem;
        }
        block = std::move(it->second);
        g_blocks.erase(it);
    }
    // Windows frees a block even while it is locked.
    std::free(block->data);
    return nullptr;
}

LPVOID WINAPI LocalLock(HLOCAL hMem) {
    std::lock_guard<std::mutex> lock(g_mutex);
    LocalBlock* block = Find(hMem);
    if (block == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!block->moveable) {
        return block->data;
    }
    if (block->data == nullptr) {
        SetLastError(kErrorDiscarded);
        return nullptr;
    }
    ++block->lockCount;
    return block->data;
}

// Returns TRUE while the block stays locked; FALSE with NO_ERROR when the last lock went.
BOOL WINAPI LocalUnlock(HLOCAL hMem) {
    std::lock_guard<std::mutex> lock(g_mutex);
    LocalBlock* block = Find(hMem);
    if (block == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!block->moveable || block->lockCount == 0) {
        SetLastError(kErrorNotLocked);
        return FALSE;
    }
    if (--block->lockCount > 0) {
        return TRUE;
    }
    SetLastError(NO_ERROR);
    return FALSE;
}

SIZE_T WINAPI LocalSize(HLOCAL hMem) {
    std::lock_guard<std::mutex> lock(g_mutex);
    LocalBlock* block = Find(hMem);
    if (block == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return block->data == nullptr ? 0 : block->size;
}
