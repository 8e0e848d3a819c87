#include "gui/EditItemForm.h"

#include "gui/ApplyTexts.h"
#include "gui/DescriptionEdit.h"
#include "gui/MainForm.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velloria {

EditItemForm::EditItemForm(MainWindowModel& model, MainForm& owner)
    : QDialog(&owner),
      m_owner(owner),
      m_dialog(model),
      m_ok(dialogButton(QStringLiteral("OK"), QStringLiteral("btnOK"))),
      m_cancel(dialogButton(QStringLiteral("Cancel"), QStringLiteral("btnCancel")))
{
    setObjectName(QStringLiteral("EditItemForm"));
    m_ok->setDefault(true);
    arrangeControls();
    connectControls();
    applyTexts(*this, TextWindow::EditItem, model.texts());
    m_fields.fill(m_dialog.title(), m_dialog.address(), m_dialog.description());
    m_fields.addressEdit->setEnabled(m_dialog.addressEnabled());
    m_fields.titleEdit->selectAll();
    m_fields.titleEdit->setFocus();
}

void EditItemForm::arrangeControls()
{
    auto* grid = new QGridLayout;
    m_fields.addTo(*grid, 0);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttonRow({m_ok, m_cancel}));
    setTabOrder(m_fields.titleEdit, m_fields.addressEdit);
    setTabOrder(m_fields.addressEdit, m_fields.descriptionEdit);
    setTabOrder(m_fields.descriptionEdit, m_ok);
    setTabOrder(m_ok, m_cancel);
}

void EditItemForm::connectControls()
{
    connect(m_ok, &QPushButton::clicked, this, [this] { confirm(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QWidget* field : std::initializer_list<QWidget*>{m_fields.titleEdit, m_fields.addressEdit,
                                                          m_fields.descriptionEdit})
        onEnterKey(*field, [this] { confirm(); });
    onFocusIn(*m_fields.descriptionEdit, [this] { m_fields.descriptionEdit->selectAll(); });
}

void EditItemForm::confirm()
{
    // After an error the dialog closes: the change went as far as the error let it.
    bool closes = true;
    m_owner.run([&] { closes = m_dialog.accept(m_fields.title(), m_fields.address(), m_fields.description()); });
    if (closes)
        accept();
}

} // namespace velloria
