#include "gui/NewItemForm.h"

#include "gui/ApplyTexts.h"
#include "gui/DescriptionEdit.h"
#include "gui/MainForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace velloria {

NewItemForm::NewItemForm(MainWindowModel& model, MainForm& owner)
    : QDialog(&owner), m_owner(owner), m_dialog(model)
{
    setObjectName(QStringLiteral("NewItemForm"));
    createControls();
    arrangeControls();
    connectControls();
    applyTexts(*this, TextWindow::NewItem, model.texts());
    m_fields.fill({}, m_dialog.address(), {});
    showState();
    m_fields.titleEdit->setFocus();
}

void NewItemForm::createControls()
{
    m_itemType = new QGroupBox(QStringLiteral("Item Type"));
    m_itemType->setObjectName(QStringLiteral("grbItemType"));
    m_folder = new QRadioButton(QStringLiteral("Folder"));
    m_folder->setObjectName(QStringLiteral("rdbFolder"));
    m_link = new QRadioButton(QStringLiteral("Bookmark"));
    m_link->setObjectName(QStringLiteral("rdbURL"));
    m_addFolderInFolder = new QCheckBox(QStringLiteral("Add the new folder inside folder being selected"));
    m_addFolderInFolder->setObjectName(QStringLiteral("chkAddFolderInFolder"));
    m_ok = dialogButton(QStringLiteral("OK"), QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = dialogButton(QStringLiteral("Cancel"), QStringLiteral("btnCancel"));
}

void NewItemForm::arrangeControls()
{
    auto* choice = new QHBoxLayout(m_itemType);
    choice->addWidget(m_folder);
    choice->addSpacing(24);
    choice->addWidget(m_link);
    choice->addStretch();
    auto* grid = new QGridLayout;
    grid->addWidget(m_itemType, 0, 0, 1, 2);
    m_fields.addTo(*grid, 1);
    grid->addWidget(m_addFolderInFolder, 4, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttonRow({m_ok, m_cancel}));
    setTabOrder(m_folder, m_link);
    setTabOrder(m_link, m_fields.titleEdit);
    setTabOrder(m_fields.titleEdit, m_fields.addressEdit);
    setTabOrder(m_fields.addressEdit, m_fields.descriptionEdit);
    setTabOrder(m_fields.descriptionEdit, m_addFolderInFolder);
    setTabOrder(m_addFolderInFolder, m_ok);
    setTabOrder(m_ok, m_cancel);
}

template <typename Action> void NewItemForm::change(Action&& action)
{
    m_owner.run(std::forward<Action>(action));
    showState();
}

void NewItemForm::connectControls()
{
    connect(m_folder, &QRadioButton::clicked, this, [this] { change([this] { m_dialog.chooseFolder(); }); });
    connect(m_link, &QRadioButton::clicked, this, [this] { change([this] { m_dialog.chooseLink(); }); });
    connect(m_addFolderInFolder, &QCheckBox::clicked, this,
            [this](bool checked) { change([&] { m_dialog.setAddFolderInFolder(checked); }); });
    connect(m_ok, &QPushButton::clicked, this, [this] { confirm(Confirmation::OkButton); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QWidget* field : std::initializer_list<QWidget*>{m_fields.titleEdit, m_fields.addressEdit,
                                                          m_fields.descriptionEdit, m_folder, m_link})
        onEnterKey(*field, [this] { confirm(Confirmation::EnterKey); });
}

void NewItemForm::showState()
{
    const QSignalBlocker folderSignals(m_folder);
    const QSignalBlocker linkSignals(m_link);
    const QSignalBlocker checkSignals(m_addFolderInFolder);
    m_folder->setChecked(m_dialog.folderChosen());
    m_link->setChecked(!m_dialog.folderChosen());
    m_link->setEnabled(m_dialog.linkChoiceEnabled());
    m_fields.addressEdit->setEnabled(m_dialog.addressEnabled());
    m_addFolderInFolder->setChecked(m_dialog.addFolderInFolderChecked());
    m_addFolderInFolder->setEnabled(m_dialog.addFolderInFolderEnabled());
}

void NewItemForm::confirm(Confirmation confirmation)
{
    // After an error the dialog closes too: what was added before it stays, and a second try
    // would add it again.
    bool closes = true;
    m_owner.run([&] {
        closes = m_dialog.accept(m_fields.title(), m_fields.address(), m_fields.description(), confirmation);
    });
    if (closes)
        accept();
}

} // namespace velloria
