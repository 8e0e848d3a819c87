#pragma once

#include "interchange/Interchange.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

namespace velloria {

// The progress of a long import or export: a modal progress dialog over the owner that comes up
// only when the work has gone on for longer than a moment, so that a short import shows nothing.
// Its Cancel button stops the work: the next report throws OperationCancelled. The dialog goes
// when the helper goes; the function it hands out must not outlive it.
class ExchangeProgress {
public:
    struct Timing {
        int showAfterMs = 400;  // the dialog comes up at the first report after this
        int updateEveryMs = 50; // reports closer together than this cost one clock reading
    };

    ExchangeProgress(QWidget& owner, const QString& label, const QString& cancelText, Timing timing);
    ExchangeProgress(QWidget& owner, const QString& label, const QString& cancelText)
        : ExchangeProgress(owner, label, cancelText, Timing{})
    {
    }
    ~ExchangeProgress();
    ExchangeProgress(const ExchangeProgress&) = delete;
    ExchangeProgress& operator=(const ExchangeProgress&) = delete;

    // Reports to this helper.
    ProgressFunction function();
    // How far the work has come (total 0: unknown, the bar shows that it is busy). Lets the
    // window repaint and Cancel be pressed; throws OperationCancelled once it has been.
    void report(std::uint64_t done, std::uint64_t total);

    // The dialog once it has come up; null before.
    QProgressDialog* dialog() const { return m_dialog.get(); }

private:
    void showDialog();
    void showValue(std::uint64_t done, std::uint64_t total);

    QWidget& m_owner;
    QString m_label;
    QString m_cancelText;
    Timing m_timing;
    QElapsedTimer m_clock;
    qint64 m_lastUpdate = 0;
    std::unique_ptr<QProgressDialog> m_dialog;
    bool m_cancelled = false;
};

} // namespace velloria
