#pragma once

#include <QDialog>
#include <functional>

class QLabel;

namespace vantaro {

// Shows the product name, the build and the legal notice, all taken from the facts the build
// records, so the dialog never needs editing when the version changes.
class TAboutDialog : public QDialog {
    Q_OBJECT

  public:
    // Returns a version fact by selector: 0 product name, 1 file version, 2 legal notice.
    using VersionReader = std::function<QString(int selector)>;

    explicit TAboutDialog(QWidget* owner, VersionReader reader = &GetVersionInfoString);

    // The build's version facts; empty for an unknown selector.
    static QString GetVersionInfoString(int selector);

  private:
    void FormCreate(const VersionReader& reader);
    QLabel* AddLabel(QWidget* parent, const char* name, const QString& text);
};

}  // namespace vantaro
