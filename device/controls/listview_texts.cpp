// The packed texts of a list view's items.
#include "controls/listview_texts.h"

#include <algorithm>
#include <limits>
#include <string>

namespace device::listview {
namespace {

// 32 KB a chunk: big enough that the unused end of a full chunk is small beside it, small
// enough that a short list does not hold much it never fills.
constexpr uint32_t kChunkUnits = 16384;
constexpr size_t kMaxChunks = std::numeric_limits<uint16_t>::max();
constexpr int kMaxTexts = std::numeric_limits<uint16_t>::max();

// Where text number subItem lies in a block that holds more than subItem texts: [start,
// end), end being its terminator.
struct Span {
    size_t start = 0;
    size_t end = 0;
};

Span FindText(std::u16string_view block, int subItem) {
    const char16_t* units = block.data();
    size_t start = 0;
    for (int i = 0; i < subItem; ++i) {
        while (units[start] != u'\0') {
            ++start;
        }
        ++start;
    }
    size_t end = start;
    while (units[end] != u'\0') {
        ++end;
    }
    return Span{start, end};
}

} // namespace

std::u16string_view TextPool::Block(const TextRef& ref) const {
    if (ref.length == 0) {
        return {};
    }
    return std::u16string_view(m_chunks[ref.chunk].units.get() + ref.offset, ref.length);
}

std::u16string_view TextPool::Text(const TextRef& ref, int subItem) const {
    if (subItem < 0 || subItem >= ref.count) {
        return {};
    }
    const std::u16string_view block = Block(ref);
    const Span span = FindText(block, subItem);
    return block.substr(span.start, span.end - span.start);
}

bool TextPool::IsLastBlock(const TextRef& ref) const {
    return ref.length != 0 && ref.chunk + 1u == m_chunks.size() && ref.offset + ref.length == m_chunks.back().used;
}

char16_t* TextPool::Reserve(uint32_t length, TextRef& ref) {
    if (m_chunks.empty() || m_chunks.back().capacity - m_chunks.back().used < length) {
        if (m_chunks.size() >= kMaxChunks) {
            return nullptr;
        }
        Chunk chunk;
        chunk.capacity = std::max(kChunkUnits, length);
        chunk.units = std::make_unique<char16_t[]>(chunk.capacity);
        m_chunks.push_back(std::move(chunk));
    }
    Chunk& last = m_chunks.back();
    ref.chunk = static_cast<uint16_t>(m_chunks.size() - 1);
    ref.offset = last.used;
    ref.length = length;
    last.used += length;
    return last.units.get() + ref.offset;
}

bool TextPool::Rewrite(TextRef& ref, std::u16string_view before, std::u16string_view middle, uint32_t fill,
                       std::u16string_view after, uint16_t count) {
    // The new block: before, fill empty texts, middle with its terminator unless it is
    // absent (a removal), then after.
    const bool withMiddle = middle.data() != nullptr;
    const size_t units = before.size() + fill + (withMiddle ? middle.size() + 1 : 0) + after.size();
    if (units > std::numeric_limits<uint32_t>::max()) {
        return false;
    }
    const auto length = static_cast<uint32_t>(units);
    if (length == 0) {
        Release(ref);
        return true;
    }
    const uint32_t oldLength = ref.length;
    const size_t afterAt = length - after.size();
    char16_t* out = nullptr;
    if (IsLastBlock(ref) && ref.offset + length <= m_chunks.back().capacity) {
        // Grows or shrinks where it is: the prefix stays, the tail moves.
        Chunk& last = m_chunks.back();
        out = last.units.get() + ref.offset;
        std::char_traits<char16_t>::move(out + afterAt, after.data(), after.size());
        last.used = ref.offset + length;
        ref.length = length;
    } else {
        // The old block stays readable while the new one is written at the end.
        TextRef moved;
        out = Reserve(length, moved);
        if (out == nullptr) {
            return false;
        }
        std::copy(before.begin(), before.end(), out);
        std::copy(after.begin(), after.end(), out + afterAt);
        m_garbageUnits += oldLength;
        ref = moved;
    }
    m_liveUnits = m_liveUnits + length - oldLength;
    ref.count = count;
    char16_t* cursor = std::fill_n(out + before.size(), fill, u'\0');
    if (withMiddle) {
        cursor = std::copy(middle.begin(), middle.end(), cursor);
        *cursor = u'\0';
    }
    return true;
}

bool TextPool::Set(TextRef& ref, int subItem, std::u16string_view text) {
    if (subItem < 0 || subItem >= kMaxTexts) {
        return false;
    }
    if (text.data() == nullptr) {
        text = u""; // present, though empty
    }
    const std::u16string_view block = Block(ref);
    if (subItem < ref.count) {
        const Span span = FindText(block, subItem);
        if (block.substr(span.start, span.end - span.start) == text) {
            return true;
        }
        return Rewrite(ref, block.substr(0, span.start), text, 0, block.substr(span.end + 1), ref.count);
    }
    if (text.empty()) {
        return true; // a missing text already reads as empty
    }
    // Appended after the texts there are, with empty ones in between.
    return Rewrite(ref, block, text, static_cast<uint32_t>(subItem - ref.count), {},
                   static_cast<uint16_t>(subItem + 1));
}

bool TextPool::InsertEmpty(TextRef& ref, int subItem) {
    if (subItem < 0 || subItem >= ref.count) {
        return true;
    }
    if (ref.count == kMaxTexts) {
        return false;
    }
    const std::u16string_view block = Block(ref);
    const Span span = FindText(block, subItem);
    return Rewrite(ref, block.substr(0, span.start), u"", 0, block.substr(span.start),
                   static_cast<uint16_t>(ref.count + 1));
}

void TextPool::Remove(TextRef& ref, int subItem) {
    if (subItem < 0 || subItem >= ref.count) {
        return;
    }
    const std::u16string_view block = Block(ref);
    const Span span = FindText(block, subItem);
    // Only a pool at its chunk limit could refuse the smaller copy; the text then stays.
    Rewrite(ref, block.substr(0, span.start), {}, 0, block.substr(span.end + 1), static_cast<uint16_t>(ref.count - 1));
}

void TextPool::Release(TextRef& ref) {
    if (ref.length == 0) {
        ref = TextRef{};
        return;
    }
    m_liveUnits -= ref.length;
    if (IsLastBlock(ref)) {
        m_chunks.back().used = ref.offset;
    } else {
        m_garbageUnits += ref.length;
    }
    ref = TextRef{};
}

void TextPool::Clear() {
    m_chunks.clear();
    m_liveUnits = 0;
    m_garbageUnits = 0;
}

bool TextPool::WantsCompaction() const { return m_garbageUnits > kChunkUnits && m_garbageUnits > m_liveUnits; }

TextRef TextPool::Append(const TextPool& from, const TextRef& ref) {
    const std::u16string_view block = from.Block(ref);
    TextRef copied;
    if (!block.empty()) {
        char16_t* out = Reserve(static_cast<uint32_t>(block.size()), copied);
        if (out != nullptr) { // a fresh pool never holds more chunks than the one it replaces
            std::copy(block.begin(), block.end(), out);
            m_liveUnits += block.size();
            copied.count = ref.count;
        }
    }
    return copied;
}

} // namespace device::listview
