// The traffic record at its bound: the memory 10 000 rows take in the monitor's table, and the time to save
// them to a file (median of several saves).
//
// Usage: traffic_rows [FOLDER]   (the saved file goes to FOLDER, default /tmp)
#include "modbus/modbus_master.h"
#include "monitor/traffic_log_writer.h"
#include "panel/monitor/traffic_table_model.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <string>
#include <vector>

#include "modbus/crc16.h"

namespace {

std::vector<std::uint8_t> ReadReply(std::uint16_t counter) {
    std::vector<std::uint8_t> reply{1, 0x03, 20};
    for (int n = 0; n < 10; ++n) {
        reply.push_back(static_cast<std::uint8_t>(counter >> 8));
        reply.push_back(static_cast<std::uint8_t>(counter + n));
    }
    const std::uint16_t crc = lq::CalcCRC16(reply.data(), 23);
    reply.push_back(static_cast<std::uint8_t>(crc >> 8));
    reply.push_back(static_cast<std::uint8_t>(crc));
    return reply;
}

std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// A poll cycle's worth of events, as the master reports them: a read request, then its reply.
void FeedExchange(lq::TrafficTableModel& model, std::uint16_t n) {
    const lq::LinkTime at{std::chrono::steady_clock::now(), std::chrono::system_clock::now()};
    const auto block = static_cast<std::uint8_t>(n % 4);
    const lq::RequestFrame request = lq::BuildReadRequest(1, lq::kPollBlockStarts[block], 10);
    model.RequestSent(lq::SentRequest{lq::RequestKind::Read, request, block, 0, 0, at});
    const std::vector<std::uint8_t> reply = ReadReply(n);
    model.DeliveryJudged(lq::Delivery{reply, lq::DeliveryVerdict::Accepted, block, 0,
                                      std::chrono::microseconds(2300 + n % 700), at});
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const std::string folder = argc > 1 ? argv[1] : "/tmp";
    const std::size_t before = HeapInUse();
    lq::TrafficTableModel model;
    for (std::uint16_t n = 0; n < 5000; ++n)
        FeedExchange(model, n);
    model.Flush();
    const std::size_t held = HeapInUse() - before;

    const std::string path = folder + "/lq-traffic-bench.txt";
    std::vector<double> saves;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const std::string error = lq::SaveTrafficRows(model.Rows(), path);
        saves.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (!error.empty()) {
            std::fprintf(stderr, "traffic_rows: %s\n", error.c_str());
            return 1;
        }
    }
    std::remove(path.c_str());
    std::sort(saves.begin(), saves.end());
    std::printf("rows %d\n", model.rowCount());
    std::printf("heap_bytes %zu\n", held);
    std::printf("save_ms_median %.1f\n", saves[saves.size() / 2]);
    std::printf("save_ms_max %.1f\n", saves.back());
    return 0;
}
