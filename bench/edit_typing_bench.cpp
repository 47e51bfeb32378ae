// Typing into an EDIT box that already holds N characters: one keystroke is WM_CHAR and
// the repaint it asks for. The cost per character at N = 30,000 is read beside the cost at
// N = 100 in the same run; the two should stay within 2x of each other (a single-line box
// at its end, a multi-line box of 40-character lines in its middle line). Both texts fill
// the box, so both keystrokes repaint the same.
#include "device_host.h"
#include "windows.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int kBatch = 32; // characters typed between two restorations of the text

std::u16string Filler(int length, bool lines) {
    const std::u16string words = u"Çağrı Şükrü Öztürk İstanbul ığüşöç ";
    std::u16string text;
    while (static_cast<int>(text.size()) < length) {
        if (lines && text.size() % 42 == 40) {
            text += u"\r\n";
        } else {
            text += words[text.size() % words.size()];
        }
    }
    text.resize(static_cast<size_t>(length));
    return text;
}

void TypeInto(benchmark::State& state, DWORD style, bool lines) {
    device::host::StartHeadless();
    HWND parent = CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268,
                                  nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | WS_BORDER | style, 4, 4,
                                232, lines ? 60 : 22, parent, nullptr, nullptr, nullptr);
    SendMessageW(edit, EM_LIMITTEXT, 0, 0);
    const std::u16string text = Filler(static_cast<int>(state.range(0)), lines);
    SetWindowTextW(edit, text.c_str());
    const auto caret = static_cast<WPARAM>(lines ? text.size() / 2 : text.size());
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, caret, static_cast<LPARAM>(caret));
    device::host::PumpMessages();
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            SendMessageW(edit, WM_CHAR, static_cast<WPARAM>(u'a' + i % 26), 1);
            UpdateWindow(edit);
        }
        state.PauseTiming();
        SendMessageW(edit, EM_SETSEL, caret, static_cast<LPARAM>(caret + kBatch));
        SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u""));
        UpdateWindow(edit);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
    // Seconds per typed character, shown with an SI prefix.
    state.counters["per_char"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kBatch),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    device::host::Stop();
}

void BM_TypeSingleLine(benchmark::State& state) {
    TypeInto(state, ES_AUTOHSCROLL, false);
}
BENCHMARK(BM_TypeSingleLine)->Arg(100)->Arg(30000)->Unit(benchmark::kMicrosecond);

void BM_TypeMultiLine(benchmark::State& state) {
    TypeInto(state, ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, true);
}
BENCHMARK(BM_TypeMultiLine)->Arg(100)->Arg(30000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
