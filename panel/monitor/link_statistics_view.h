#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "monitor/link_statistics_text.h"

class QGridLayout;
class QLabel;

namespace lq {

class ModbusMaster;

// The link's counters as label and value lines, read afresh at each Refresh, and a button that sets them to
// zero. Lines for exception codes appear as their first exception comes.
class LinkStatisticsView final : public QWidget {
    Q_OBJECT
  public:
    explicit LinkStatisticsView(ModbusMaster& master, QWidget* parent = nullptr);

    // Where the count of replies the port itself dropped comes from (a Modbus TCP connection's); none while
    // the open port drops nothing of its own. Shown as one more line after the link's counters.
    using DroppedReplies = std::function<std::optional<std::uint32_t>()>;
    void SetDroppedReplies(DroppedReplies source) { droppedReplies_ = std::move(source); }

    void Refresh();
    void Reset();
    // The value shown beside a label, empty if there is no such line (for tests and screenshots).
    QString ValueOf(const QString& label) const;

  private:
    struct Line {
        QLabel* label;
        QLabel* value;
        bool fault = false; // the value is shown in the fault colour
    };
    void Rebuild(const std::vector<QString>& labels);

    void AddDroppedReplies(std::vector<StatisticsItem>& items);

    ModbusMaster& master_;
    DroppedReplies droppedReplies_;
    std::uint32_t droppedAtReset_ = 0;
    QGridLayout* grid_;
    std::vector<Line> lines_;
};

} // namespace lq
