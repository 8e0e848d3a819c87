#include "gui/DuplicatesForm.h"

#include "gui/ApplyTexts.h"
#include "gui/DelMesForm.h"
#include "gui/DialogFields.h"
#include "gui/MainForm.h"
#include "gui/QtText.h"
#include "mainwindow/MainWindowModel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velloria {

namespace {

constexpr int kFolderText = 322;
constexpr int kTitleText = 300;
constexpr int kAddDateText = 305;
constexpr int kLastVisitText = 304;
constexpr int kGroupRole = Qt::UserRole;
constexpr int kMemberRole = Qt::UserRole + 1;
constexpr int kListWidthInCharacters = 120;
constexpr int kListHeightInLines = 30;
// The widths of the folder, title and date columns; the last visit takes the rest.
constexpr int kColumnCharacters[] = {46, 40, 12};

// The size the user gave the dialog, for its next opening in this run.
QSize& rememberedSize()
{
    static QSize size;
    return size;
}

} // namespace

DuplicatesForm::DuplicatesForm(MainWindowModel& model, MainForm& owner)
    : QDialog(&owner), m_model(model), m_owner(owner), m_dialog(model)
{
    setObjectName(QStringLiteral("DuplicatesForm"));
    setWindowTitle(QStringLiteral("Duplicates"));
    createControls();
    arrangeControls();
    connectControls();
    applyTexts(*this, TextWindow::Duplicates, model.texts());
    m_loose->setChecked(m_dialog.loose());
    fillList();
    if (rememberedSize().isValid())
        resize(rememberedSize());
    m_list->setFocus();
}

DuplicatesForm::~DuplicatesForm()
{
    rememberedSize() = size();
}

void DuplicatesForm::createControls()
{
    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("tvDuplicates"));
    const UIText& texts = m_model.texts();
    m_list->setHeaderLabels({toQString(texts[kFolderText]), toQString(texts[kTitleText]),
                             toQString(texts[kAddDateText]), toQString(texts[kLastVisitText])});
    m_list->setRootIsDecorated(true);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    const QFontMetrics metrics = m_list->fontMetrics();
    m_list->setMinimumSize(metrics.averageCharWidth() * kListWidthInCharacters / 2,
                           metrics.lineSpacing() * kListHeightInLines / 2);
    for (int column = 0; column < 3; ++column)
        m_list->header()->resizeSection(column, metrics.averageCharWidth() * kColumnCharacters[column]);
    m_list->header()->setStretchLastSection(true);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_summary->setWordWrap(true);
    m_loose = new QCheckBox(QStringLiteral("Compare loosely"));
    m_loose->setObjectName(QStringLiteral("chkLoose"));
    m_delete = dialogButton(QStringLiteral("Delete Checked"), QStringLiteral("btnDeleteChecked"));
    m_open = dialogButton(QStringLiteral("Open"), QStringLiteral("btnOpen"));
    m_show = dialogButton(QStringLiteral("Show"), QStringLiteral("btnShow"));
    m_close = dialogButton(QStringLiteral("Close"), QStringLiteral("btnClose"));
    m_close->setDefault(true);
}

void DuplicatesForm::arrangeControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_summary);
    layout->addWidget(m_loose);
    layout->addSpacing(6);
    layout->addLayout(buttonRow({m_delete, m_open, m_show, m_close}));
    const QFontMetrics metrics = m_list->fontMetrics();
    resize(metrics.averageCharWidth() * kListWidthInCharacters, metrics.lineSpacing() * kListHeightInLines);
    setTabOrder(m_list, m_loose);
    setTabOrder(m_loose, m_delete);
    setTabOrder(m_delete, m_open);
    setTabOrder(m_open, m_show);
    setTabOrder(m_show, m_close);
}

void DuplicatesForm::connectControls()
{
    connect(m_list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) { linkChecked(item); });
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item->parent())
            m_open->click();
    });
    m_list->installEventFilter(this);
    connect(m_loose, &QCheckBox::toggled, this, [this](bool loose) {
        m_owner.run([&] { m_dialog.setLoose(loose); });
        fillList();
    });
    connect(m_delete, &QPushButton::clicked, this, [this] { deleteChecked(); });
    connect(m_open, &QPushButton::clicked, this, [this] {
        std::size_t group = 0, member = 0;
        if (currentLink(group, member))
            m_owner.run([&] { m_dialog.open(group, member); });
    });
    connect(m_show, &QPushButton::clicked, this, [this] {
        std::size_t group = 0, member = 0;
        if (currentLink(group, member))
            m_owner.run([&] { m_dialog.show(group, member); });
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
}

bool DuplicatesForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_open->click(); // does nothing on a group's row, where the button is disabled
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void DuplicatesForm::fillList()
{
    m_filling = true;
    m_list->clear();
    QList<QTreeWidgetItem*> groups;
    for (std::size_t group = 0; group < m_dialog.groups().size(); ++group) {
        auto* groupItem = new QTreeWidgetItem({toQString(m_dialog.groupLine(group))});
        groupItem->setFlags(Qt::ItemIsEnabled);
        QFont bold = m_list->font();
        bold.setBold(true);
        groupItem->setFont(0, bold);
        for (std::size_t member = 0; member < m_dialog.groups()[group].links.size(); ++member) {
            const LinkRecordView& link = m_dialog.link(group, member).link;
            auto* item = new QTreeWidgetItem(groupItem, {toQString(m_dialog.folderPath(group, member)),
                                                         toQString(link.Title), toQString(link.AddDate),
                                                         toQString(link.LastVisit)});
            item->setData(0, kGroupRole, QVariant::fromValue(static_cast<qulonglong>(group)));
            item->setData(0, kMemberRole, QVariant::fromValue(static_cast<qulonglong>(member)));
            item->setToolTip(1, toQString(link.Address));
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (m_dialog.checkable(group, member))
                flags |= Qt::ItemIsUserCheckable;
            item->setFlags(flags);
            item->setCheckState(0, m_dialog.checked(group, member) ? Qt::Checked : Qt::Unchecked);
        }
        groups.push_back(groupItem);
    }
    m_list->addTopLevelItems(groups);
    for (QTreeWidgetItem* item : groups)
        item->setFirstColumnSpanned(true);
    m_list->expandAll();
    if (!groups.isEmpty())
        m_list->setCurrentItem(groups.front()->child(0));
    m_filling = false;
    updateButtons();
}

void DuplicatesForm::updateButtons()
{
    m_summary->setText(toQString(m_dialog.summary()));
    m_delete->setEnabled(m_dialog.checkedCount() > 0);
    std::size_t group = 0, member = 0;
    const bool onLink = currentLink(group, member);
    m_open->setEnabled(onLink);
    m_show->setEnabled(onLink);
}

void DuplicatesForm::linkChecked(QTreeWidgetItem* item)
{
    std::size_t group = 0, member = 0;
    if (m_filling || !linkOf(item, group, member))
        return;
    m_dialog.setChecked(group, member, item->checkState(0) == Qt::Checked);
    updateButtons();
}

bool DuplicatesForm::currentLink(std::size_t& group, std::size_t& member) const
{
    return linkOf(m_list->currentItem(), group, member);
}

bool DuplicatesForm::linkOf(const QTreeWidgetItem* item, std::size_t& group, std::size_t& member)
{
    if (!item || !item->parent())
        return false;
    group = static_cast<std::size_t>(item->data(0, kGroupRole).toULongLong());
    member = static_cast<std::size_t>(item->data(0, kMemberRole).toULongLong());
    return true;
}

void DuplicatesForm::deleteChecked()
{
    DelMesForm::deleteAsked(*this, m_model, m_owner, m_dialog.deletionLines(), [this] { m_dialog.deleteChecked(); });
    fillList();
}

} // namespace velloria
