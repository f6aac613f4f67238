#include "shell/dialogs/CAboutDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "Version.h"
#include "shell/HelpViewer.h"
#include "shell/ImageLists.h"

namespace vantaro {

namespace {

constexpr int LegalLeft = 88;
constexpr int LegalWidth = 314 - 8 - LegalLeft;

}  // namespace

TAboutDialog::TAboutDialog(QWidget* owner, VersionReader reader)
    : QDialog(owner, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral(" About"));
    setFixedSize(314, 236);
    FormCreate(reader);
}

QString TAboutDialog::GetVersionInfoString(int selector) {
    switch (selector) {
        case 0:
            return QString::fromUtf8(version::ProductName);
        case 1:
            return QString::fromUtf8(version::FileVersion);
        case 2:
            return QString::fromUtf8(version::LegalCopyright);
        default:
            return {};
    }
}

// Labels show their text as plain text: an "&" in a fact stays an ampersand.
QLabel* TAboutDialog::AddLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

void TAboutDialog::FormCreate(const VersionReader& reader) {
    SetHelpContext(*this, help::About);

    QLabel* banner = AddLabel(this, "Image1", QString());
    banner->setGeometry(8, 8, 297, 56);
    banner->setAlignment(Qt::AlignCenter);
    banner->setPixmap(AboutBannerIcon().pixmap(QSize(297, 56), devicePixelRatio()));

    auto* panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setGeometry(80, 72, 217, 21);
    QLabel* productName = AddLabel(panel1, "ProductNameLabel", reader(0));
    QFont productFont(QStringLiteral("Arial"));
    productFont.setPixelSize(16);
    productFont.setBold(true);
    productName->setFont(productFont);
    QPalette black = productName->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    productName->setPalette(black);
    QLabel* gap = AddLabel(panel1, "Label2", QStringLiteral("  "));
    QLabel* versionLabel = AddLabel(panel1, "VersionLabel", QStringLiteral("Build ") + reader(1));
    versionLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* row = new QHBoxLayout(panel1);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(productName);
    row->addWidget(gap);
    row->addWidget(versionLabel, 1);

    QLabel* logo = AddLabel(this, "LogoImage", QString());
    logo->setGeometry(8, 92, 72, 81);
    logo->setAlignment(Qt::AlignCenter);
    logo->setPixmap(AppIcon().pixmap(QSize(64, 64), devicePixelRatio()));

    // A notice too long for one line wraps, and the trademark line moves below it.
    QLabel* copyright = AddLabel(this, "LegalCopyrightLabel", reader(2));
    copyright->setWordWrap(true);
    copyright->setGeometry(LegalLeft, 93, LegalWidth, copyright->heightForWidth(LegalWidth));
    QLabel* trademarks =
        AddLabel(this, "LegalTrademarksLabel", QStringLiteral("All rights reserved."));
    trademarks->move(96, std::max(111, copyright->geometry().bottom() + 3));
    trademarks->adjustSize();

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setGeometry(231, 204, 75, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    if (QWidget* main = parentWidget()) {
        move(main->window()->pos() + QPoint(32, 48));
    }
}

}  // namespace vantaro
