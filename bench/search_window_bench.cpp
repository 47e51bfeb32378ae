// Speed of one keystroke in the search window: SearchTextChange (the list cleared, the
// query run, every row added and its five texts set) and the repaint that follows, over
// 1,000 and 100,000 generated addresses in a database made by the delivery tool. Each
// keystroke is timed beside the raw SQLite floor of the same statement, run between the
// keystrokes so that both see the same machine; "x_floor" is the ratio of their CPU times.
// Also the list view's memory for 100,000 rows beside the UTF-16 bytes of their texts.
#include "address_store.h"
#include "application.h"
#include "benchmark_main.h"
#include "control_factory.h"
#include "generated_addresses.h"
#include "list_view.h"
#include "properties.h"
#include "search_window.h"
#include "text_conversion.h"

#include "commctrl.h"
#include "device_host.h"
#include "module_path.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <time.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

// The datasets of this run, one program directory per row count, made on first use.
class Datasets {
public:
    const std::string& ProgramDirectory(int rows) {
        auto it = m_directories.find(rows);
        if (it != m_directories.end()) {
            return it->second;
        }
        const std::string directory = m_scratch.Path() + "/rows-" + std::to_string(rows);
        const std::string command = "mkdir -p '" + directory + "' && '" + ADRES_MAKE_DATABASE + "' '" + directory + "'";
        if (std::system(command.c_str()) != 0) {
            throw std::runtime_error("make_database failed for " + directory);
        }
        sqlite3* db = bench::OpenRaw(directory + "/adresdata.s3db");
        bench::InsertRows(db, rows, 20240607u + static_cast<unsigned>(rows));
        sqlite3_close(db);
        return m_directories.emplace(rows, directory).first->second;
    }

private:
    bench::ScratchDirectory m_scratch;
    std::map<int, std::string> m_directories;
};

Datasets& GetDatasets() {
    static Datasets datasets;
    return datasets;
}

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A headless device with the main form and, over it, a shown search window whose name box
// holds the text; its connection is the one the program would open beside itself.
class SearchSession {
public:
    SearchSession(int rows, const std::u16string& text) : m_directory(GetDatasets().ProgramDirectory(rows)) {
        device::host::StartHeadless();
        DeviceSetModulePath((m_directory + "/adresdefteri").c_str());
        m_main = CreateForm(nullptr, u"Adres Defteri");
        MainForm = m_main;
        Show(m_main);
        CreateSearchWindow(m_window, m_main);
        Show(m_window->Form);
        device::host::PumpMessages();
        // The text is put in place without its change event; each keystroke runs it.
        const TOnEvent change = m_window->NameEdit->OnChange;
        m_window->NameEdit->OnChange = TOnEvent{};
        SetText(m_window->NameEdit, text);
        m_window->NameEdit->OnChange = change;
        device::host::PumpMessages();
    }
    ~SearchSession() {
        Free(m_window->Form);
        MainForm = nullptr;
        Free(m_main);
        DeviceSetModulePath(nullptr);
        device::host::Stop();
    }
    SearchSession(const SearchSession&) = delete;
    SearchSession& operator=(const SearchSession&) = delete;

    [[gnu::noinline]] void Keystroke() {
        m_window->SearchTextChange(m_window->NameEdit);
        device::host::PumpMessages();
    }
    TSearchWindow* Window() const { return m_window; }
    std::string DatabasePath() const { return m_directory + "/adresdata.s3db"; }

private:
    std::string m_directory;
    TControl* m_main = nullptr;
    TSearchWindow* m_window = nullptr;
};

void BM_Keystroke(benchmark::State& state, int rows, std::u16string text) {
    SearchSession session(rows, text);
    const std::string sql = WideToAnsi(BuildSearchSql(text));
    sqlite3* raw = bench::OpenRaw(session.DatabasePath());
    session.Keystroke(); // the list holds this text's rows, as after the keystroke before
    bench::RunSearchFloor(raw, sql);
    double keystrokeSeconds = 0;
    double floorSeconds = 0;
    for (auto _ : state) {
        const double start = CpuSeconds();
        session.Keystroke();
        keystrokeSeconds += CpuSeconds() - start;
        state.PauseTiming();
        const double floorStart = CpuSeconds();
        benchmark::DoNotOptimize(bench::RunSearchFloor(raw, sql));
        floorSeconds += CpuSeconds() - floorStart;
        state.ResumeTiming();
    }
    sqlite3_close(raw);
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["rows"] = static_cast<double>(GetCount(session.Window()->ResultList));
    state.counters["floor_ms"] = floorSeconds / iterations * 1e3;
    state.counters["x_floor"] = floorSeconds > 0 ? keystrokeSeconds / floorSeconds : 0;
}

// The heap the list view holds for every row of the empty text, measured between a cleared
// and a filled list (the connection's page cache is warm by then), beside the UTF-16 bytes
// of the rows' texts.
void BM_ListViewMemory(benchmark::State& state, int rows) {
    SearchSession session(rows, u"");
    TControl* list = session.Window()->ResultList;
    session.Keystroke();
    for (auto _ : state) {
        Clear(list);
        const size_t before = mallinfo2().uordblks;
        session.Window()->SearchTextChange(session.Window()->NameEdit);
        const size_t after = mallinfo2().uordblks;
        state.counters["list_bytes"] = static_cast<double>(after - before);
    }
    double textBytes = 0;
    WCHAR buffer[256];
    const LONG count = GetCount(list);
    for (LONG row = 0; row < count; ++row) {
        for (int column = 0; column < 5; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = buffer;
            item.cchTextMax = 256;
            textBytes += 2.0 * static_cast<double>(SendMessageW(list->Handle, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                                                 reinterpret_cast<LPARAM>(&item)));
        }
    }
    state.counters["rows"] = static_cast<double>(count);
    state.counters["text_bytes"] = textBytes;
    state.counters["x_text"] = state.counters["list_bytes"] / textBytes;
}

struct SearchCase {
    const char* label;
    std::u16string text;
};

void RegisterAll() {
    const SearchCase cases[] = {{"empty", u""}, {"a", u"a"}, {"ays", u"ayş"}};
    for (int rows : {1000, 100000}) {
        for (const SearchCase& search : cases) {
            const std::string name = "Keystroke/" + std::to_string(rows) + "/" + search.label;
            benchmark::RegisterBenchmark(name.c_str(), BM_Keystroke, rows, search.text)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("ListViewMemory/100000", BM_ListViewMemory, 100000)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv) { return bench::RunBenchmarks(argc, argv, RegisterAll); }
