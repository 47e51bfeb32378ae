// What the toolkit tests share: a fresh device and fresh toolkit globals per test, and a
// log of OnDestroy events to check what was freed, how often and in which order.
#pragma once

#include "control.h"
#include "support/device_fixture.h"
#include "toolkit_reset.h"

#include <deque>
#include <string>
#include <vector>

namespace test {

class ToolkitTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        ResetToolkit();
    }
    void TearDown() override {
        ResetToolkit();
        DeviceTest::TearDown();
    }
};

// Names objects and records their OnDestroy, in order.
class DestroyLog {
public:
    void Watch(TRefObject* object, const std::string& name) {
        m_entries.push_back(Entry{this, name});
        object->OnDestroy = TOnEvent{&DestroyLog::Record, &m_entries.back()};
    }
    const std::vector<std::string>& Order() const { return m_order; }
    int Count(const std::string& name) const {
        int count = 0;
        for (const std::string& entry : m_order) {
            count += entry == name ? 1 : 0;
        }
        return count;
    }

private:
    struct Entry {
        DestroyLog* log;
        std::string name;
    };
    static void Record(void* data, TRefObject* /*sender*/) {
        auto* entry = static_cast<Entry*>(data);
        entry->log->m_order.push_back(entry->name);
    }
    std::deque<Entry> m_entries;
    std::vector<std::string> m_order;
};

} // namespace test
