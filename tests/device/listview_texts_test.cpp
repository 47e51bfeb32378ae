// The list view's packed item texts against a plain model: texts changed out of order (so
// they move and leave garbage that compaction squeezes out), items inserted and deleted in
// the middle, columns inserted and deleted, all read back through the messages.
#include "listview_fixture.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

class ListViewTexts : public test::ListViewTest {};

using Row = std::vector<std::u16string>;

TEST_F(ListViewTexts, EveryTextReadsBackAsLastSetWhateverTheOrderOfChanges) {
    HWND list = MakeList();
    int columns = 4;
    for (int i = 0; i < columns; ++i) {
        AddColumn(list, u"C" + Number(i), 40);
    }
    std::vector<Row> model;
    std::mt19937 random(7);
    auto text = [&](int length) {
        std::u16string value;
        for (int i = 0; i < length; ++i) {
            value.push_back(static_cast<char16_t>(u'a' + random() % 26));
        }
        return value;
    };
    for (int step = 0; step < 20000; ++step) {
        const unsigned action = random() % 100;
        const int count = static_cast<int>(model.size());
        if (action < 10 || count == 0) {
            const int at = count == 0 ? 0 : static_cast<int>(random() % (count + 1));
            const std::u16string label = text(static_cast<int>(random() % 12));
            ASSERT_EQ(InsertItem(list, at, label), at);
            Row row(static_cast<size_t>(columns));
            row[0] = label;
            model.insert(model.begin() + at, row);
        } else if (action < 14) {
            const int at = static_cast<int>(random() % count);
            ASSERT_TRUE(SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(at), 0));
            model.erase(model.begin() + at);
        } else if (action == 14 && columns < 8) {
            const int at = static_cast<int>(random() % (columns + 1));
            AddColumn(list, u"N", 40, LVCFMT_LEFT, at);
            ++columns;
            for (Row& row : model) { // labels stay; a column at 0 shifts sub-items from 1
                row.insert(row.begin() + std::max(at, 1), std::u16string());
            }
        } else if (action == 15 && columns > 2) {
            const int at = static_cast<int>(random() % columns);
            ASSERT_TRUE(SendMessageW(list, LVM_DELETECOLUMN, static_cast<WPARAM>(at), 0));
            --columns;
            for (Row& row : model) {
                row.erase(row.begin() + std::max(at, 1));
            }
        } else {
            // Mostly the last rows, as while a list is being filled; the rest anywhere.
            const int at = random() % 4 == 0 ? static_cast<int>(random() % count) : count - 1;
            const int subItem = static_cast<int>(random() % columns);
            const std::u16string value = text(static_cast<int>(random() % 30));
            ASSERT_TRUE(SetText(list, at, subItem, value));
            model[static_cast<size_t>(at)][static_cast<size_t>(subItem)] = value;
        }
    }
    ASSERT_EQ(Count(list), static_cast<LRESULT>(model.size()));
    for (size_t i = 0; i < model.size(); ++i) {
        for (int column = 0; column < columns; ++column) {
            ASSERT_EQ(GetText(list, static_cast<int>(i), column), model[i][static_cast<size_t>(column)])
                << "row " << i << ", column " << column;
        }
    }
}

} // namespace
