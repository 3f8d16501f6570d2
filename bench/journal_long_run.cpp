// The journal's costs, for the performance table: resident memory with the store at its bound of 10 000
// entries and after 10 000 and 100 000 more, and the CPU time per entry with its day file written and with
// its window open and caught up after each entry. The entries come through the journal's link observer as
// the master reports them: alarm bits coming and going, the link lost and restored, writes ending.
//
// Usage: journal_long_run [FOLDER]   (default: a folder under /tmp, removed at the end). Run it offscreen.
#include "bench/panel_bench.h"
#include "journal/journal.h"
#include "panel/journal/journal_window.h"
#include "panel/journal/journal_wording_zh.h"

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace lq::bench {
namespace {

// Block 1's reply with register 13 holding bits.
std::array<std::uint8_t, 25> AlarmReply(std::uint16_t bits) {
    std::array<std::uint8_t, 25> reply{0x01, 0x03, 0x14};
    reply[9] = static_cast<std::uint8_t>(bits >> 8);
    reply[10] = static_cast<std::uint8_t>(bits & 0xFF);
    return reply;
}

// One exchange of the mix: every fourth an alarm changes, every fourth the link is lost and restored,
// the others are writes ending with each outcome in turn. Each makes one to two entries.
void Exchange(LinkJournal& link, int n) {
    const LinkTime at{std::chrono::steady_clock::now(), std::chrono::system_clock::now()};
    switch (n % 4) {
    case 0: {
        const auto reply = AlarmReply(static_cast<std::uint16_t>((n / 4) % 2 ? 1U << ((n / 8) % 9) : 0));
        link.DeliveryJudged({reply, DeliveryVerdict::Accepted, 1, 0, std::nullopt, at});
        break;
    }
    case 1:
        link.ReadUnanswered({0, at});
        link.DeliveryJudged({AlarmReply(0), DeliveryVerdict::Accepted, 0, 0, std::nullopt, at});
        break;
    default:
        link.WriteEnded({36, static_cast<std::uint16_t>(600 + n % 200), static_cast<WriteOutcome>(n % 3), 3,
                         1 + n % 3, at});
        break;
    }
}

// CPU seconds and entries made for `exchanges` exchanges, the window (if any) caught up after each.
std::pair<double, std::uint64_t> Run(Journal& journal, JournalWindow* window, int exchanges, int from) {
    const std::uint64_t before = journal.Entries().Total();
    const double cpu = CpuSeconds();
    for (int n = from; n < from + exchanges; ++n) {
        Exchange(journal.Link(), n);
        if (window) window->Refresh();
    }
    return {CpuSeconds() - cpu, journal.Entries().Total() - before};
}

} // namespace
} // namespace lq::bench

int main(int argc, char* argv[]) {
    using namespace lq;
    using namespace lq::bench;
    QApplication app(argc, argv);
    const bool ownFolder = argc < 2;
    const std::string folder =
        ownFolder ? "/tmp/lq-bench-journal-" + std::to_string(::getpid()) : std::string(argv[1]);
    RegisterImage registers;
    Journal journal(registers, PanelJournalWording());
    journal.WriteTo(folder);
    JournalWindow window(journal, nullptr);
    window.resize(1000, 620);
    window.show();

    int n = 0;
    while (journal.Entries().Size() < journal.Entries().Capacity())
        Exchange(journal.Link(), n++);
    window.Refresh();
    QApplication::processEvents();
    const long full = ResidentKiB();
    const auto [cpuFiles, entriesFiles] = Run(journal, nullptr, 10000, n);
    n += 10000;
    QApplication::processEvents();
    const long after10k = ResidentKiB();
    const auto [cpuWindow, entriesWindow] = Run(journal, &window, 10000, n);
    n += 10000;
    QApplication::processEvents();
    const long afterWindow = ResidentKiB();
    Run(journal, &window, 80000, n);
    QApplication::processEvents();
    const long after100k = ResidentKiB();

    std::printf("store full (%zu entries): resident %ld KiB\n", journal.Entries().Size(), full);
    std::printf("10000 more exchanges (%llu entries), file only: %+ld KiB, %.1f us CPU per entry\n",
                static_cast<unsigned long long>(entriesFiles), after10k - full,
                1e6 * cpuFiles / entriesFiles);
    std::printf(
        "10000 more with the window caught up after each (%llu entries): %+ld KiB, %.1f us CPU per entry\n",
        static_cast<unsigned long long>(entriesWindow), afterWindow - full, 1e6 * cpuWindow / entriesWindow);
    std::printf("100000 exchanges after the store was full: %+ld KiB\n", after100k - full);
    // At the panel's cadence an exchange every 500 ms makes at most two entries.
    std::printf("at 2 entries/s with the window open: %.4f %% of one core\n",
                100.0 * 2 * cpuWindow / entriesWindow);
    if (ownFolder) std::filesystem::remove_all(folder);
    return 0;
}
