#include "gui/DelMesForm.h"

#include "gui/ApplyTexts.h"
#include "gui/DialogFields.h"
#include "gui/MainForm.h"
#include "gui/QtText.h"
#include "mainwindow/MainWindowModel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velloria {

namespace {

constexpr int kVisibleItems = 7;
constexpr int kListWidthInCharacters = 52;

} // namespace

DelMesForm::DelMesForm(MainWindowModel& model, MainForm& owner)
    : DelMesForm(DeleteConfirmation(model), model, owner)
{
}

DelMesForm::DelMesForm(DeleteConfirmation confirmation, MainWindowModel& model, MainForm& owner)
    : QDialog(&owner), m_owner(owner), m_confirmation(std::move(confirmation))
{
    setObjectName(QStringLiteral("DelMesForm"));
    createControls();
    arrangeControls();
    connectControls();
    applyTexts(*this, TextWindow::DeleteConfirmation, model.texts());
    // The list shows its few lines; a longer one scrolls, or the user makes the dialog taller.
    resize(sizeHint().width(), minimumSizeHint().height());
    for (const std::string& line : m_confirmation.lines())
        m_items->appendPlainText(toQString(line));
    m_items->moveCursor(QTextCursor::Start);
    m_dontShowAgain->setChecked(m_confirmation.dontShowAgain());
    m_yes->setFocus();
}

void DelMesForm::createControls()
{
    m_question = new QLabel(QStringLiteral("Delete the selected items?"));
    m_question->setObjectName(QStringLiteral("lblDelItems"));
    m_items = new QPlainTextEdit;
    m_items->setObjectName(QStringLiteral("memDelItems"));
    m_items->setReadOnly(true);
    m_items->setFocusPolicy(Qt::ClickFocus);
    m_items->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_items->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_items->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const QFontMetrics metrics = m_items->fontMetrics();
    m_items->setMinimumSize(metrics.averageCharWidth() * kListWidthInCharacters,
                            metrics.lineSpacing() * kVisibleItems + 2 * m_items->frameWidth()
                                + 2 * static_cast<int>(m_items->document()->documentMargin()));
    m_dontShowAgain = new QCheckBox(QStringLiteral("Don't show this dialog in the future"));
    m_dontShowAgain->setObjectName(QStringLiteral("chkShowDialog"));
    m_yes = dialogButton(QStringLiteral("Yes"), QStringLiteral("btnYes"));
    m_yes->setDefault(true);
    m_no = dialogButton(QStringLiteral("No"), QStringLiteral("btnNo"));
}

void DelMesForm::arrangeControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_question);
    layout->addWidget(m_items, 1);
    layout->addWidget(m_dontShowAgain);
    layout->addSpacing(6);
    layout->addLayout(buttonRow({m_yes, m_no}));
    setTabOrder(m_dontShowAgain, m_yes);
    setTabOrder(m_yes, m_no);
}

void DelMesForm::connectControls()
{
    connect(m_dontShowAgain, &QCheckBox::clicked, this,
            [this](bool checked) { m_owner.run([&] { m_confirmation.setDontShowAgain(checked); }); });
    connect(m_yes, &QPushButton::clicked, this, [this] { answerYes(); });
    connect(m_no, &QPushButton::clicked, this, &QDialog::reject);
}

void DelMesForm::answerYes()
{
    m_owner.run([this] { m_confirmation.yes(); });
    accept();
}

void DelMesForm::deleteAsked(QWidget& over, MainWindowModel& model, MainForm& owner, std::vector<std::string> lines,
                             const std::function<void()>& remove)
{
    if (!model.prefs().ConfirmDeleting) {
        owner.run(remove);
        return;
    }
    DelMesForm question(DeleteConfirmation(model, std::move(lines), remove), model, owner);
    question.setParent(&over, question.windowFlags());
    question.exec();
}

} // namespace velloria
