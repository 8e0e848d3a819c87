#include "gui/StatisticsForm.h"

#include "gui/ApplyTexts.h"
#include "gui/DialogFields.h"
#include "gui/MainForm.h"
#include "gui/QtText.h"
#include "mainwindow/StatisticsLines.h"
#include "platform/SystemInfo.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace velloria {

namespace {

// Room for "Database Size: 1,234,567 k" and the like in any of the shipped languages.
constexpr int kFieldWidthInCharacters = 34;

QLineEdit* figureField(const char* objectName)
{
    auto* field = new QLineEdit;
    field->setObjectName(QString::fromLatin1(objectName));
    field->setReadOnly(true);
    field->setFrame(false);
    field->setMinimumWidth(field->fontMetrics().averageCharWidth() * kFieldWidthInCharacters);
    // The figures can be selected and copied, but the button face shows they are not input.
    QPalette palette = field->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Button));
    field->setPalette(palette);
    return field;
}

} // namespace

StatisticsForm::StatisticsForm(MainWindowModel& model, MainForm& owner)
    : QDialog(&owner), m_model(model), m_owner(owner)
{
    setObjectName(QStringLiteral("StatisticsForm"));
    setWindowTitle(QStringLiteral("Statistics"));
    createControls();
    arrangeControls();
    fillFields();
    m_ok->setFocus();
}

void StatisticsForm::createControls()
{
    m_fields = {figureField("edFolders"), figureField("edLinks"), figureField("edDatabaseSize"),
                figureField("edFreeSpace")};
    m_ok = dialogButton(QStringLiteral("OK"), QStringLiteral("btnOk"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

void StatisticsForm::arrangeControls()
{
    auto* layout = new QVBoxLayout(this);
    for (QLineEdit* field : m_fields)
        layout->addWidget(field);
    layout->addSpacing(6);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void StatisticsForm::fillFields()
{
    const LibraryStatistics statistics = computeStatistics(m_model.library());
    const StatisticsLines lines = statisticsLines(statistics, m_model.texts(), thousandsSeparator());
    const std::array<const std::string*, 4> texts{&lines.folders, &lines.links, &lines.databaseSize,
                                                  &lines.freeSpace};
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i]->setText(toQString(*texts[i]));
    m_error = statistics.error;
}

void StatisticsForm::showEvent(QShowEvent* event)
{
    applyTexts(*this, TextWindow::Statistics, m_model.texts());
    QDialog::showEvent(event);
    if (!m_error.empty())
        QTimer::singleShot(0, this, [this] { showPendingError(); });
}

void StatisticsForm::showPendingError()
{
    const std::string error = std::exchange(m_error, {});
    m_owner.showError(error.c_str());
}

} // namespace velloria
