// The texts of a list view's items, packed: an item's sub-item texts lie one after another,
// each ended by a 0, in one block of a large chunk, so that a row costs its characters and
// a few bytes rather than a string object and a heap block per text. Texts handed in by
// programs are 0-terminated, so a 0 never occurs inside one.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace device::listview {

// Where one item's block lies and how many texts it holds; a length of 0 means the item
// has no text at all. The count lets a row being filled column by column append without
// reading what it already has.
struct TextRef {
    uint16_t chunk = 0;
    uint16_t count = 0;
    uint32_t offset = 0;
    uint32_t length = 0; // in UTF-16 units, the terminators included
};

class TextPool {
public:
    TextPool() = default;
    TextPool(TextPool&&) = default;
    TextPool& operator=(TextPool&&) = default;
    TextPool(const TextPool&) = delete;
    TextPool& operator=(const TextPool&) = delete;

    // The sub-item's text; empty beyond the texts the item has.
    std::u16string_view Text(const TextRef& ref, int subItem) const;
    // Replaces one sub-item's text. The block grows in place when it is the last one
    // written (as while a row is being filled); otherwise it moves to the end and its old
    // place counts as garbage until the next compaction. False, with nothing changed,
    // when the text cannot be stored (a sub-item beyond 65,534, or the pool is full).
    bool Set(TextRef& ref, int subItem, std::u16string_view text);
    // An empty text goes in before the sub-item, which moves up by one with the later ones;
    // nothing changes for an item without that sub-item.
    bool InsertEmpty(TextRef& ref, int subItem);
    // Takes one sub-item out; the later ones move down by one.
    void Remove(TextRef& ref, int subItem);
    // The item is gone; its block becomes garbage.
    void Release(TextRef& ref);
    void Clear();

    // When garbage outweighs the live texts, the owner copies every live block into a fresh
    // pool (Append) and takes that one instead.
    bool WantsCompaction() const;
    TextRef Append(const TextPool& from, const TextRef& ref);

private:
    struct Chunk {
        std::unique_ptr<char16_t[]> units;
        uint32_t capacity = 0;
        uint32_t used = 0;
    };

    std::u16string_view Block(const TextRef& ref) const;
    bool IsLastBlock(const TextRef& ref) const;
    // Room for length units at the end of the pool, in a new chunk when the last one is full.
    char16_t* Reserve(uint32_t length, TextRef& ref);
    // Writes the new block, in place or at the end, from the pieces of the old one; it
    // holds count texts.
    bool Rewrite(TextRef& ref, std::u16string_view before, std::u16string_view middle, uint32_t fill,
                 std::u16string_view after, uint16_t count);

    std::vector<Chunk> m_chunks;
    size_t m_liveUnits = 0;
    size_t m_garbageUnits = 0;
};

} // namespace device::listview
