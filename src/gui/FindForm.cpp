#include "gui/FindForm.h"

#include "gui/ApplyTexts.h"
#include "gui/DialogFields.h"
#include "gui/MainForm.h"
#include "gui/QtText.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velloria {

namespace {

// Wide enough for a few words; a longer text scrolls in the field.
constexpr int kFieldWidthInCharacters = 40;

} // namespace

FindForm::FindForm(MainWindowModel& model, MainForm& owner) : QDialog(&owner), m_model(model), m_owner(owner)
{
    setObjectName(QStringLiteral("FindForm"));
    createControls();
    arrangeControls();
    connectControls();
    applyTexts(*this, TextWindow::Find, model.texts());
    fillHistory();
    m_text->setFocus();
}

void FindForm::createControls()
{
    m_text = new QComboBox;
    m_text->setObjectName(QStringLiteral("cmbTextToFind"));
    m_text->setEditable(true);
    // The history is the model's: OK records the text there, not the field.
    m_text->setInsertPolicy(QComboBox::NoInsert);
    m_text->setMinimumContentsLength(kFieldWidthInCharacters);
    m_text->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_label = new QLabel(QStringLiteral("Text to Find:"));
    m_label->setObjectName(QStringLiteral("lblTextToFind"));
    m_label->setBuddy(m_text);
    m_ok = dialogButton(QStringLiteral("OK"), QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = dialogButton(QStringLiteral("Cancel"), QStringLiteral("btnCancel"));
}

void FindForm::arrangeControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_text);
    layout->addSpacing(6);
    layout->addLayout(buttonRow({m_ok, m_cancel}));
    // The dialog keeps the size its controls need; the user cannot stretch it.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FindForm::connectControls()
{
    connect(m_ok, &QPushButton::clicked, this, [this] { confirm(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the field searches; in the open drop-down it only picks the entry.
    onEnterKey(*m_text, [this] { confirm(); });
    onEnterKey(*m_text->lineEdit(), [this] { confirm(); });
}

void FindForm::fillHistory()
{
    const std::vector<std::string>& history = m_model.search().session().history();
    for (auto text = history.rbegin(); text != history.rend(); ++text)
        m_text->addItem(toQString(*text));
    // addItem made the first entry, the newest, the field's text; without history it is empty.
    m_text->lineEdit()->selectAll();
}

void FindForm::confirm()
{
    m_owner.run([this] { m_model.search().Find(toBytes(m_text->currentText())); });
    accept();
}

} // namespace velloria
