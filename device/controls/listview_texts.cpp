// The packed texts of a list view's items.
#include "controls/listview_texts.h"

#include <algorithm>
#include <string>

namespace device::listview {
namespace {

// 32 KB a chunk: big enough that the unused end of a full chunk is small beside it, small
// enough that a short list does not hold much it never fills.
constexpr uint32_t kChunkUnits = 16384;

// The texts of a block as [start, end) of each, up to sub-item n or the block's end.
struct Span {
    size_t start = 0;
    size_t end = 0; // the position of its terminator
    bool found = false;
};

Span FindText(std::u16string_view block, int subItem) {
    size_t start = 0;
    for (int i = 0; start < block.size(); ++i) {
        size_t end = block.find(u'\0', start);
        if (end == std::u16string_view::npos) {
            end = block.size();
        }
        if (i == subItem) {
            return Span{start, end, true};
        }
        start = end + 1;
    }
    return Span{start, start, false};
}

int CountTexts(std::u16string_view block) {
    return static_cast<int>(std::count(block.begin(), block.end(), u'\0'));
}

} // namespace

std::u16string_view TextPool::Block(const TextRef& ref) const {
    if (ref.length == 0) {
        return {};
    }
    return std::u16string_view(m_chunks[ref.chunk].units.get() + ref.offset, ref.length);
}

std::u16string_view TextPool::Text(const TextRef& ref, int subItem) const {
    const std::u16string_view block = Block(ref);
    const Span span = FindText(block, subItem);
    return span.found ? block.substr(span.start, span.end - span.start) : std::u16string_view();
}

bool TextPool::IsLastBlock(const TextRef& ref) const {
    return ref.length != 0 && ref.chunk + 1 == m_chunks.size() && ref.offset + ref.length == m_chunks.back().used;
}

char16_t* TextPool::Reserve(uint32_t length, TextRef& ref) {
    if (m_chunks.empty() || m_chunks.back().capacity - m_chunks.back().used < length) {
        Chunk chunk;
        chunk.capacity = std::max(kChunkUnits, length);
        chunk.units = std::make_unique<char16_t[]>(chunk.capacity);
        m_chunks.push_back(std::move(chunk));
    }
    Chunk& last = m_chunks.back();
    ref.chunk = static_cast<uint32_t>(m_chunks.size() - 1);
    ref.offset = last.used;
    ref.length = length;
    last.used += length;
    return last.units.get() + ref.offset;
}

void TextPool::Rewrite(TextRef& ref, std::u16string_view before, std::u16string_view middle, uint32_t fill,
                       std::u16string_view after) {
    // The new block: before, fill empty texts, middle with its terminator unless it is
    // absent (a removal), then after.
    const bool withMiddle = middle.data() != nullptr;
    const auto length = static_cast<uint32_t>(before.size() + fill + (withMiddle ? middle.size() + 1 : 0) + after.size());
    if (length == 0) {
        Release(ref);
        return;
    }
    const uint32_t oldLength = ref.length;
    m_liveUnits = m_liveUnits + length - oldLength;
    char16_t* out = nullptr;
    if (IsLastBlock(ref) && ref.offset + length <= m_chunks.back().capacity) {
        // Grows or shrinks where it is: the prefix stays, the tail moves.
        Chunk& last = m_chunks.back();
        out = last.units.get() + ref.offset;
        const size_t afterAt = before.size() + fill + (withMiddle ? middle.size() + 1 : 0);
        std::char_traits<char16_t>::move(out + afterAt, after.data(), after.size());
        last.used = ref.offset + length;
        ref.length = length;
    } else {
        // The old block stays readable while the new one is written at the end.
        TextRef moved;
        out = Reserve(length, moved);
        std::copy(before.begin(), before.end(), out);
        std::copy(after.begin(), after.end(), out + (length - after.size()));
        m_garbageUnits += oldLength;
        ref = moved;
    }
    char16_t* cursor = out + before.size();
    cursor = std::fill_n(cursor, fill, u'\0');
    if (withMiddle) {
        cursor = std::copy(middle.begin(), middle.end(), cursor);
        *cursor = u'\0';
    }
}

void TextPool::Set(TextRef& ref, int subItem, std::u16string_view text) {
    const std::u16string_view block = Block(ref);
    const Span span = FindText(block, subItem);
    if (text.data() == nullptr) {
        text = u""; // present, though empty
    }
    if (span.found) {
        if (block.substr(span.start, span.end - span.start) == text) {
            return;
        }
        Rewrite(ref, block.substr(0, span.start), text, 0, block.substr(span.end + 1));
        return;
    }
    if (text.empty()) {
        return; // a missing text already reads as empty
    }
    const auto fill = static_cast<uint32_t>(subItem - CountTexts(block));
    Rewrite(ref, block, text, fill, {});
}

void TextPool::InsertEmpty(TextRef& ref, int subItem) {
    const std::u16string_view block = Block(ref);
    const Span span = FindText(block, subItem);
    if (span.found) {
        Rewrite(ref, block.substr(0, span.start), u"", 0, block.substr(span.start));
    }
}

void TextPool::Remove(TextRef& ref, int subItem) {
    const std::u16string_view block = Block(ref);
    const Span span = FindText(block, subItem);
    if (span.found) {
        Rewrite(ref, block.substr(0, span.start), {}, 0, block.substr(span.end + 1));
    }
}

void TextPool::Release(TextRef& ref) {
    if (ref.length == 0) {
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
        std::copy(block.begin(), block.end(), Reserve(static_cast<uint32_t>(block.size()), copied));
        m_liveUnits += block.size();
    }
    return copied;
}

} // namespace device::listview
