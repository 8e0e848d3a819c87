#include "gui/ExchangeProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <algorithm>

namespace velloria {

namespace {

// The bar counts in thousandths, so that counts beyond the range of int show as well.
constexpr int kBarSteps = 1000;
// Wide enough that the bar shows its movement.
constexpr int kWidthInCharacters = 48;

} // namespace

ExchangeProgress::ExchangeProgress(QWidget& owner, const QString& label, const QString& cancelText, Timing timing)
    : m_owner(owner), m_label(label), m_cancelText(cancelText), m_timing(timing)
{
    m_clock.start();
}

ExchangeProgress::~ExchangeProgress() = default;

ProgressFunction ExchangeProgress::function()
{
    return [this](std::uint64_t done, std::uint64_t total) { report(done, total); };
}

void ExchangeProgress::report(std::uint64_t done, std::uint64_t total)
{
    // A report costs one clock reading until the dialog is due, and between its updates.
    const qint64 now = m_clock.elapsed();
    if (now < m_timing.showAfterMs || (m_dialog && now - m_lastUpdate < m_timing.updateEveryMs))
        return;
    m_lastUpdate = now;
    if (!m_dialog)
        showDialog();
    showValue(done, total);
    QCoreApplication::processEvents();
    if (m_cancelled || m_dialog->wasCanceled())
        throw OperationCancelled();
}

void ExchangeProgress::showDialog()
{
    m_dialog = std::make_unique<QProgressDialog>(m_label, m_cancelText, 0, kBarSteps, &m_owner);
    m_dialog->setObjectName(QStringLiteral("ExchangeProgress"));
    m_dialog->setWindowTitle(m_owner.windowTitle());
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setMinimumWidth(m_dialog->fontMetrics().averageCharWidth() * kWidthInCharacters);
    // The helper decides when the dialog shows and when it goes, not the dialog's own timers.
    m_dialog->setMinimumDuration(0);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    QObject::connect(m_dialog.get(), &QProgressDialog::canceled, [this] { m_cancelled = true; });
    m_dialog->show();
}

void ExchangeProgress::showValue(std::uint64_t done, std::uint64_t total)
{
    if (total == 0) {
        m_dialog->setRange(0, 0);
        return;
    }
    const double share = std::min(1.0, static_cast<double>(done) / static_cast<double>(total));
    m_dialog->setRange(0, kBarSteps);
    m_dialog->setValue(static_cast<int>(share * kBarSteps));
}

} // namespace velloria
