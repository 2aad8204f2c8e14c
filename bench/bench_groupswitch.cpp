// Switching the shown group: Write_Group of the group left (70 cells read from
// the channel table) plus Read_Group of the next one (70 cells written to the
// SQLite file in one transaction). Prints the median of many switches.

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/Ports.h"
#include "model/AppState.h"
#include "model/Controls.h"
#include "model/clsGroup.h"
#include "model/clsWriteDefaults.h"
#include "store/ChannelTable.h"

namespace {

class SilentPrompter : public tav::Prompter {
public:
    tav::MsgResult show(const QString& text, const QString&, tav::MsgButtons, tav::MsgIcon,
                        const QString&) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return tav::MsgResult::Ok;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    SilentPrompter prompter;
    tav::ChannelTable table;
    if (!table.open(dir.filePath(QStringLiteral("TavCurrent.MDB")), prompter)) return 1;

    tav::AppState state;
    tav::GroupControls controls;
    std::vector<std::unique_ptr<tav::clsGroup>> groups;
    for (int16_t g = 0; g < tav::kGroupCount; ++g) {
        state.NewGroupIndex = g;
        tav::clsWriteDefaults(state).WriteGroup();
        state.NewGroupIndex = g;
        groups.push_back(std::make_unique<tav::clsGroup>(state, controls, table));
    }

    constexpr int kSwitches = 300;
    std::vector<double> ms;
    int shown = 0;
    {
        tav::ChannelTable::Batch batch(table);
        groups[0]->Read_Group();
    }
    for (int i = 0; i < kSwitches; ++i) {
        const int next = (shown + 1) % tav::kGroupCount;
        const auto start = std::chrono::steady_clock::now();
        groups[static_cast<size_t>(shown)]->Write_Group();
        {
            tav::ChannelTable::Batch batch(table);
            groups[static_cast<size_t>(next)]->Read_Group();
        }
        const auto end = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        shown = next;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("groupswitch median_ms=%.3f p95_ms=%.3f switches=%d\n", ms[ms.size() / 2],
                ms[ms.size() * 95 / 100], kSwitches);
    return 0;
}
