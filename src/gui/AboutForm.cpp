#include "gui/AboutForm.h"

#include "gui/ImageList.h"
#include "gui/QtText.h"
#include "settings/UIText.h"
#include "store/Library.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velloria {

namespace {

constexpr int kCaptionText = 419;
constexpr int kOkText = 313;
constexpr int kIconSize = 64;

QLabel* label(const QString& text, const char* objectName)
{
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(objectName));
    return label;
}

} // namespace

AboutForm::AboutForm(const UIText& texts, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(toQString(texts[kCaptionText]));
    setModal(true);

    QLabel* icon = label({}, "imgIcon");
    icon->setPixmap(applicationIcon().pixmap(kIconSize, kIconSize));
    QLabel* name = label(QStringLiteral("Velloria " VELLORIA_VERSION), "lblName");
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    name->setFont(bold);
    const QString address = toQString(kHomePageAddress);
    QLabel* homePage = label(QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped()), "lblHomePage");
    homePage->setTextFormat(Qt::RichText);
    homePage->setOpenExternalLinks(true);

    auto* ok = new QPushButton(toQString(texts[kOkText]));
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* textColumn = new QVBoxLayout;
    textColumn->addWidget(name);
    textColumn->addWidget(label(toQString(texts[text::AboutDescription]), "lblWhat"));
    textColumn->addSpacing(8);
    textColumn->addWidget(homePage);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(textColumn);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace velloria
