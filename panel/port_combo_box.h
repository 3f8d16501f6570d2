#pragma once

#include <QComboBox>
#include <functional>
#include <vector>

#include "serial/port_discovery.h"

namespace lq {

// The port box: its list is read from the machine each time it is opened. An entry's text is the name the
// box takes (picking it is the same as typing it); what the entry is shows beside it and as its tooltip.
class PortComboBox final : public QComboBox {
  public:
    using Lister = std::function<std::vector<SerialPortEntry>()>;
    static constexpr int kDetailRole = Qt::UserRole + 1;

    // The list starts as given; opening it replaces it with the lister's.
    PortComboBox(QWidget* parent, Lister lister);
    // The serial devices of this machine, the alias folder's aliases, then COM1 … COM9.
    static Lister MachineLister();
    void SetLister(Lister lister) { lister_ = std::move(lister); }

    // Replaces the list, leaving the typed text and the change events alone.
    void RefreshList();
    void showPopup() override;

  private:
    Lister lister_;
};

} // namespace lq
