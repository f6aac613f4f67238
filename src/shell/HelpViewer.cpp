#include "shell/HelpViewer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include "shell/ImageLists.h"

namespace vantaro {

namespace {

const char* const ContextProperty = "vantaroHelpContext";
const char* const KeyFilterName = "vantaroHelpKey";

QString PagePath(int helpContext) {
    return QStringLiteral(":/help/%1.html").arg(helpContext);
}

QPointer<HelpViewer>& Viewer() {
    static QPointer<HelpViewer> viewer;
    return viewer;
}

// Turns F1 that no control of the window used into that window's help page.
class HelpKeyFilter : public QObject {
  public:
    explicit HelpKeyFilter(QWidget& window) : QObject(&window), window_(window) {
        setObjectName(QLatin1String(KeyFilterName));
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &window_ || event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) {
            return false;
        }
        ShowHelp(&window_, HelpContextOf(window_));
        return true;
    }

  private:
    QWidget& window_;
};

}  // namespace

bool HasHelpPage(int helpContext) {
    EnsureEmbeddedResources();
    return QFile::exists(PagePath(helpContext));
}

QUrl HelpPageUrl(int helpContext) {
    const int shown = HasHelpPage(helpContext) ? helpContext : help::Contents;
    return QUrl(QStringLiteral("qrc") + PagePath(shown));
}

void ShowHelp(QWidget* parent, int helpContext) {
    QPointer<HelpViewer>& viewer = Viewer();
    if (!viewer) {
        viewer = new HelpViewer();
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, viewer.data(),
                         &QObject::deleteLater);
        if (parent != nullptr) {
            viewer->move(parent->window()->pos() + QPoint(40, 40));
        }
    }
    viewer->StayUsableBeside(QApplication::activeModalWidget());
    viewer->ShowPage(helpContext);
}

void SetHelpContext(QWidget& window, int helpContext) {
    window.setProperty(ContextProperty, helpContext);
    if (window.findChild<QObject*>(QLatin1String(KeyFilterName), Qt::FindDirectChildrenOnly) ==
        nullptr) {
        window.installEventFilter(new HelpKeyFilter(window));
    }
}

int HelpContextOf(const QWidget& window) {
    return window.property(ContextProperty).toInt();
}

HelpViewer* HelpViewer::Existing() {
    return Viewer().data();
}

HelpViewer::HelpViewer() : QWidget(nullptr, Qt::Window) {
    // Help left open must not keep the program running once its main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowIcon(AppIcon());
    resize(640, 520);

    back_ = new QToolButton(this);
    back_->setText(tr("Back"));
    back_->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    back_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_->setAutoRaise(true);
    forward_ = new QToolButton(this);
    forward_->setText(tr("Forward"));
    forward_->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    forward_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    forward_->setAutoRaise(true);
    auto* contents = new QToolButton(this);
    contents->setObjectName(QStringLiteral("ContentsButton"));
    contents->setText(tr("Contents"));
    contents->setIcon(MenuIcon(10));
    contents->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    contents->setAutoRaise(true);

    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(true);

    auto* bar = new QHBoxLayout();
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addWidget(contents);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(browser_);

    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(contents, &QToolButton::clicked, this, [this] { ShowPage(help::Contents); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpViewer::PageChanged);
}

void HelpViewer::ShowPage(int helpContext) {
    const QUrl page = HelpPageUrl(helpContext);
    if (browser_->source() != page) {
        browser_->setSource(page);
    }
    wanted_ = true;
    show();
    raise();
    activateWindow();
}

QUrl HelpViewer::CurrentPage() const {
    return browser_->source();
}

void HelpViewer::PageChanged() {
    // The contents page is itself titled "Vantaro Help".
    const QString title = browser_->documentTitle();
    const QString help = tr("Vantaro Help");
    setWindowTitle(title.isEmpty() || title == help ? help : tr("%1 - %2").arg(help, title));
}

// A modal dialog blocks every window that is not its own; so while one is open the viewer
// becomes a window of that dialog, and goes back to being on its own when the dialog closes.
void HelpViewer::StayUsableBeside(QWidget* modalDialog) {
    if (modalDialog == this || modalDialog == host_) {
        return;
    }
    if (host_) {
        host_->removeEventFilter(this);
    }
    const QRect placed = geometry();
    setParent(modalDialog, windowFlags());
    host_ = modalDialog;
    if (host_) {
        host_->installEventFilter(this);
    }
    setGeometry(placed);
    if (wanted_) {
        show();
    }
}

bool HelpViewer::eventFilter(QObject* watched, QEvent* event) {
    // A dialog that closes hides itself; a minimised one gets a spontaneous hide and stays modal.
    if (watched == host_ && event->type() == QEvent::Hide && !event->spontaneous()) {
        QWidget* next = QApplication::activeModalWidget();
        if (next != host_) {
            StayUsableBeside(next);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HelpViewer::closeEvent(QCloseEvent* event) {
    wanted_ = false;
    event->accept();
}

}  // namespace vantaro
