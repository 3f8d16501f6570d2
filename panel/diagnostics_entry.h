#pragma once

#include <QObject>
#include <QPointer>

class QAction;

namespace lq {

class DiagnosticsWindow;
class TForm1;

// The way into "通讯监视": the action "通讯监视…" (F12) in the panel's tools menu. The window is made when it
// is opened and destroyed when it is closed, so a closed window costs nothing. Destroy the entry before the
// panel: it takes an open window with it while the panel's port and master still exist.
class DiagnosticsEntry final : public QObject {
    Q_OBJECT
public:
    explicit DiagnosticsEntry(TForm1& form);
    ~DiagnosticsEntry() override;

    // Shows the window, making it if needed, beside the panel, and brings it to the front.
    void Open();
    DiagnosticsWindow* Window() const;
    QAction* Action() const;

private:
    void PlaceBesidePanel();

    TForm1& form_;
    QPointer<QAction> action_;
    QPointer<DiagnosticsWindow> window_;
};

} // namespace lq
