// Pictures of the communication monitor in English for the docs: the traffic record of a poll cycle with a
// refused read, a damaged reply and a missing one, beside the counters; and the controller search page.
// The frames are handed to the monitor as the master reports them, at fixed times, so that the pictures are
// the same at every run. Usage:
//   monitor_english_screens FOLDER     (makes FOLDER/en-monitor.png and FOLDER/en-monitor-search.png)
#include <QApplication>
#include <QTabWidget>
#include <QtTest>
#include <cstdlib>

#include "modbus/crc16.h"
#include "modbus/request_frames.h"
#include "panel/form1.h"
#include "panel/interface_language.h"
#include "panel/monitor/controller_search_page.h"
#include "panel/monitor/link_statistics_view.h"
#include "panel/monitor/monitor_tool.h"
#include "panel/monitor/monitor_window.h"
#include "panel/monitor/traffic_table_model.h"

using namespace lq;
using namespace std::chrono;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes WithCrc(Bytes frame) {
    const std::uint16_t crc = CalcCRC16(frame.data(), static_cast<std::int32_t>(frame.size()));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return frame;
}

Bytes ReadReply(std::uint8_t seed) {
    Bytes reply{1, 0x03, 20};
    for (std::uint8_t i = 0; i < 20; ++i)
        reply.push_back(static_cast<std::uint8_t>(seed + i * 7));
    return WithCrc(reply);
}

// Everything the master reports, told to each of its observers in turn.
class Link {
  public:
    explicit Link(std::vector<ILinkObserver*> observers) : observers_(std::move(observers)) {}

    void Read(std::uint8_t block) {
        const RequestFrame frame = BuildReadRequest(1, kPollBlockStarts[block], kPollQuantity);
        const SentRequest request{RequestKind::Read, frame, block, 0, 0, Next(0ms)};
        for (ILinkObserver* observer : observers_)
            observer->RequestSent(request);
    }
    void Reply(const Bytes& bytes, DeliveryVerdict verdict, std::uint8_t block, std::uint8_t code = 0) {
        const microseconds answer = 38ms + microseconds(block * 1300);
        const microseconds roundTrip = answer + microseconds(bytes.size() * 1040 + 3500);
        const Delivery delivery{bytes, verdict, block, code, roundTrip, Next(roundTrip), answer};
        for (ILinkObserver* observer : observers_)
            observer->DeliveryJudged(delivery);
    }
    void NoAnswer(std::uint8_t block) {
        for (ILinkObserver* observer : observers_)
            observer->ReadUnanswered(NoReply{block, Next(0ms)});
    }
    void Tick() { at_ += 500ms; }

  private:
    LinkTime Next(microseconds after) {
        const auto wall = system_clock::time_point(seconds(1796709785)) +
                          duration_cast<system_clock::duration>(at_ + after);
        return {steady_clock::time_point(at_ + after), wall};
    }

    std::vector<ILinkObserver*> observers_;
    microseconds at_{0};
};

// Every block read once; the second cycle has a refused read, the third a damaged reply and a missing one.
void PollCycle(Link& link, int cycle) {
    for (std::uint8_t block = 0; block < std::uint8_t{kPollBlockStarts.size()}; ++block) {
        link.Tick();
        link.Read(block);
        if (cycle == 1 && block == 1) {
            link.Reply(WithCrc({1, 0x83, 0x02}), DeliveryVerdict::ReadRefused, block, 0x02);
        } else if (cycle == 2 && block == 2) {
            Bytes damaged = ReadReply(block);
            damaged.back() ^= 0x5A;
            link.Reply(damaged, DeliveryVerdict::BadCrc, block);
        } else if (cycle == 2 && block == 3) {
            link.Tick();
            link.NoAnswer(block);
        } else {
            link.Reply(ReadReply(block), DeliveryVerdict::Accepted, block);
        }
    }
}

bool Save(QWidget& window, const QString& path) {
    QCoreApplication::processEvents();
    const bool saved = window.grab().save(path);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char* argv[]) {
    // The times of the rows as written, whatever the zone of the machine.
    ::setenv("TZ", "UTC0", 1);
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" LQ_SCREEN_DATA "/screen-1366x768.json");
    QApplication app(argc, argv);
    if (!InstallInterfaceLanguage(InterfaceLanguage::English)) return 1;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    TForm1 form;
    form.show();
    MonitorTool entry(form);
    entry.Open();
    MonitorWindow& window = *entry.Window();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    LinkStatistics& counters = form.Master().Statistics();
    Link link({&window.Traffic(), &counters});
    for (int cycle = 0; cycle < 3; ++cycle)
        PollCycle(link, cycle);
    // "Last good reply" counts seconds on the machine's own clock.
    counters.lastAccepted.reset();
    window.Traffic().Flush();
    window.Statistics().Refresh();
    bool ok = Save(window, folder + QStringLiteral("/en-monitor.png"));
    window.Tabs()->setCurrentIndex(1);
    ok = Save(window, folder + QStringLiteral("/en-monitor-search.png")) && ok;
    return ok ? 0 : 1;
}
