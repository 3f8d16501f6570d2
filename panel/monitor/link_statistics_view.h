#pragma once

#include <QWidget>
#include <vector>

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

    void Refresh();
    void Reset();
    // The value shown beside a label, empty if there is no such line (for tests and screenshots).
    QString ValueOf(const QString& label) const;

  private:
    struct Line {
        QLabel* label;
        QLabel* value;
    };
    void Rebuild(const std::vector<QString>& labels);

    ModbusMaster& master_;
    QGridLayout* grid_;
    std::vector<Line> lines_;
};

} // namespace lq
