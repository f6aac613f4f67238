#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace vantaro {

// Help context numbers of the program's windows and questions.
namespace help {
inline constexpr int Contents = 10000010;
inline constexpr int MainWindow = 10000020;
inline constexpr int About = 10000060;
inline constexpr int Preferences = 10000070;
inline constexpr int TagEditorAdd = 10000080;
inline constexpr int TagEditorEdit = 10000090;
inline constexpr int DeleteLanguageTags = 10000100;
inline constexpr int TemplateWarning = 10000110;
inline constexpr int BackupWarning = 10000120;
inline constexpr int ClearLog = 10000130;
}  // namespace help

// Whether a help page exists for the context.
bool HasHelpPage(int helpContext);
// The page of a context; the contents page for a context without a page of its own.
QUrl HelpPageUrl(int helpContext);

// Opens the context's page at once in the program's help window (one window, reused, not modal).
void ShowHelp(QWidget* parent, int helpContext);

// Gives a window a help context: F1 pressed anywhere in it shows that context's page.
void SetHelpContext(QWidget& window, int helpContext);
// The context given by SetHelpContext; 0 when there is none.
int HelpContextOf(const QWidget& window);

// The help window: the pages of the compiled-in help with back, forward and contents.
class HelpViewer : public QWidget {
    Q_OBJECT

  public:
    // The viewer ShowHelp uses; nullptr until help was first shown.
    static HelpViewer* Existing();

    void ShowPage(int helpContext);
    QUrl CurrentPage() const;
    QTextBrowser& Browser() { return *browser_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    HelpViewer();
    friend void ShowHelp(QWidget* parent, int helpContext);

    void PageChanged();
    void StayUsableBeside(QWidget* modalDialog);

    QTextBrowser* browser_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* forward_ = nullptr;
    QPointer<QWidget> host_;  // the modal dialog the viewer is lent to, if any
    bool wanted_ = false;     // shown and not closed by the user
};

}  // namespace vantaro
