#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "engine/EngineHost.h"

class QLabel;
class QPushButton;

namespace vantaro {

// The warning shown before a run first changes code that a page took over from a Dreamweaver
// template: go on with the page (Yes), abandon its changes (No), or stop the run (Stop).
class TDWTCodeDetectDlg : public QDialog {
    Q_OBJECT

  public:
    // Performs the main window's Stop command (its confirmation included) and tells whether
    // StopRequested is now set.
    using StopCommand = std::function<bool()>;

    // Results the dialog closes with; Rejected is what closing it by its close box gives.
    enum Result {
        ResultCancelByClose = QDialog::Rejected,
        ResultYes = QDialog::Accepted,
        ResultNo = 2,
        ResultCancelByStop = 3,
    };

    TDWTCodeDetectDlg(QWidget* owner, const QString& fileName, StopCommand stopCommand);

    // The warning text for a file name, line breaks as CR LF.
    static QString FormatMessage(const QString& fileName);
    static TemplateWarningAnswer AnswerOf(int result);

  public slots:
    void reject() override;  // Esc answers No

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BitBtn3Click();
    void FitMessage();

    QString message_;
    StopCommand stopCommand_;
    QLabel* label1_ = nullptr;        // the warning text
    QPushButton* bitBtn1_ = nullptr;  // Yes
    QPushButton* bitBtn2_ = nullptr;  // No
    QPushButton* bitBtn3_ = nullptr;  // Stop
};

// The final component of a path: the text after the last '/'.
QString FileNameOfPath(const std::string& fullPath);

// Shows the warning for the page at fullPath through the current prompter and returns the answer.
TemplateWarningAnswer ShowTemplateWarning(QWidget* parent, const std::string& fullPath,
                                          const TDWTCodeDetectDlg::StopCommand& stopCommand);

}  // namespace vantaro
