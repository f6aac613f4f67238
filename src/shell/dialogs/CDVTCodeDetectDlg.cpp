#include "shell/dialogs/CDVTCodeDetectDlg.h"

#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "log/Messages.h"
#include "platform/Paths.h"
#include "shell/HelpViewer.h"
#include "shell/ImageLists.h"
#include "shell/Prompter.h"

namespace vantaro {

namespace {

constexpr int MessageWidth = 442;
constexpr int MessageHeight = 109;

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int left) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(left, 136, 75, 25);
    return button;
}

}  // namespace

TDWTCodeDetectDlg::TDWTCodeDetectDlg(QWidget* owner, const QString& fileName,
                                     StopCommand stopCommand)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      message_(FormatMessage(fileName)),
      stopCommand_(std::move(stopCommand)) {
    setObjectName(QStringLiteral("DWTCodeDetectDlg"));
    setWindowTitle(QStringLiteral(" Warning"));
    SetHelpContext(*this, help::TemplateWarning);

    auto* image1 = new QLabel(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(16, 16, 33, 41);
    image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image1->setPixmap(WarningIcon().pixmap(QSize(32, 32), devicePixelRatio()));

    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(64, 16, MessageWidth, MessageHeight);
    label1_->setTextFormat(Qt::PlainText);
    label1_->setWordWrap(true);
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label1_->setText(QString(message_).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    bitBtn1_ = MakeButton(this, "BitBtn1", QStringLiteral("Yes"), 133);
    bitBtn2_ = MakeButton(this, "BitBtn2", QStringLiteral("No"), 221);
    bitBtn3_ = MakeButton(this, "BitBtn3", QStringLiteral("Stop"), 309);
    bitBtn3_->setIcon(NoEntryIcon());
    bitBtn3_->setIconSize(QSize(16, 16));
    bitBtn2_->setDefault(true);
    setTabOrder(bitBtn1_, bitBtn2_);
    setTabOrder(bitBtn2_, bitBtn3_);

    connect(bitBtn1_, &QPushButton::clicked, this, [this] { done(ResultYes); });
    connect(bitBtn2_, &QPushButton::clicked, this, [this] { done(ResultNo); });
    connect(bitBtn3_, &QPushButton::clicked, this, &TDWTCodeDetectDlg::BitBtn3Click);

    setFixedSize(517, 176);
    FitMessage();
    bitBtn2_->setFocus();
}

QString TDWTCodeDetectDlg::FormatMessage(const QString& fileName) {
    return QString::fromStdString(messages::TemplateWarning("%1")).arg(fileName);
}

TemplateWarningAnswer TDWTCodeDetectDlg::AnswerOf(int result) {
    switch (result) {
        case ResultYes:
            return TemplateWarningAnswer::Yes;
        case ResultNo:
            return TemplateWarningAnswer::No;
        case ResultCancelByStop:
            return TemplateWarningAnswer::CancelByStop;
        default:
            return TemplateWarningAnswer::CancelByClose;
    }
}

void TDWTCodeDetectDlg::reject() {
    done(ResultNo);
}

void TDWTCodeDetectDlg::closeEvent(QCloseEvent* event) {
    if (isVisible()) {
        done(ResultCancelByClose);
    }
    event->accept();
}

void TDWTCodeDetectDlg::BitBtn3Click() {
    if (stopCommand_ && stopCommand_()) {
        done(ResultCancelByStop);
    }
}

// The designed size fits the message in the designed font; a larger font gets a taller dialog
// rather than a cut-off question.
void TDWTCodeDetectDlg::FitMessage() {
    const int extra = label1_->heightForWidth(MessageWidth) - MessageHeight;
    if (extra <= 0) {
        return;
    }
    label1_->resize(MessageWidth, MessageHeight + extra);
    for (QPushButton* button : {bitBtn1_, bitBtn2_, bitBtn3_}) {
        button->move(button->x(), button->y() + extra);
    }
    setFixedSize(width(), height() + extra);
}

QString FileNameOfPath(const std::string& fullPath) {
    return QFile::decodeName(QByteArray::fromStdString(std::string(FileNameOf(fullPath))));
}

TemplateWarningAnswer ShowTemplateWarning(QWidget* parent, const std::string& fullPath,
                                          const TDWTCodeDetectDlg::StopCommand& stopCommand) {
    TDWTCodeDetectDlg dialog(parent, FileNameOfPath(fullPath), stopCommand);
    return TDWTCodeDetectDlg::AnswerOf(CurrentPrompter().Exec(dialog));
}

}  // namespace vantaro
