#pragma once

#include <QListWidget>
#include <QObject>
#include <QTimer>
#include <string>
#include <string_view>
#include <vector>

#include "run/ReferenceList.h"

class QAction;
class QMenu;
class QToolButton;

namespace vantaro {

// A list box of image references in word-sort order. It holds each reference's bytes as the page
// had them, answers letter-case-blind look-ups at once, and shows the full text of the item
// under the mouse as its tooltip, since references are often wider than the list. Change its
// items only through the functions below, which keep the items and the look-up in step.
class TReferenceListBox : public QListWidget {
    Q_OBJECT

  public:
    explicit TReferenceListBox(QWidget* parent = nullptr);

    // Inserts in sorted place, after equal entries, and returns the row.
    int AddReference(std::string_view reference);
    // For a run's many references: they are looked up at once but shown in batches, so a run
    // that finds a hundred thousand does not insert rows one by one.
    void QueueReference(std::string_view reference);
    void ShowQueuedReferences();
    void RemoveReferenceAt(int row);
    void ClearReferences();
    void AssignReferences(const std::vector<std::string>& references);

    bool ContainsReference(std::string_view reference) const;
    const std::vector<std::string>& References();

    int SelectedCount() const;
    // The selected rows, lowest first.
    std::vector<int> SelectedRows() const;

    // The tooltip for a point of the viewport: the item's full text, empty where there is none.
    QString HintAt(const QPoint& viewportPosition) const;

  protected:
    bool viewportEvent(QEvent* event) override;

  private:
    void ShowManyQueued(const std::vector<std::size_t>& places);

    ReferenceList references_;
    QTimer showTimer_;
};

// The "References Found" and "References Ignored" lists, the two buttons that move references
// between them and the ignored list's context menu. It creates the four widgets as children of
// the given parent; the window places them (group boxes, panel, layout).
class TReferenceLists : public QObject {
    Q_OBJECT

  public:
    explicit TReferenceLists(QWidget* parent);

    TReferenceListBox* RefImagesListBox() const { return found_; }
    TReferenceListBox* IgnoreImagesListBox() const { return ignored_; }
    QToolButton* IgnoreImgSpeedButton() const { return ignoreButton_; }
    QToolButton* StopIgnoreImgSpeedButton() const { return stopIgnoreButton_; }
    // The items of the ignored list's context menu: "Delete" and "Select All".
    QAction* Delete1() const { return delete1_; }
    QAction* SelectAll3() const { return selectAll3_; }

    // What a run needs: empty "References Found" (buttons brought up to date), add to it, and
    // look up either list, letter case aside.
    void ClearFound();
    void ShowAllFound();
    void AddFound(std::string_view reference);
    bool IsFound(std::string_view reference) const;
    bool IsIgnored(std::string_view reference) const;

    // "References Ignored" in list order, as stored with the settings, and its loading.
    const std::vector<std::string>& IgnoredItems() const;
    void SetIgnoredItems(const std::vector<std::string>& references);

    void IgnoreImgSpeedButtonClick();
    void StopIgnoreImgSpeedButtonClick();
    void IgnoreImgsListBoxPopupMenuPopup();
    void Delete1Click();
    void SelectAll3Click();
    void UpdateIgnoreButtons();

  private:
    static void MoveSelected(TReferenceListBox& from, TReferenceListBox& to);
    void RefImagesListBoxClick();
    QToolButton* AddButton(QWidget* parent, const char* name, const QString& caption,
                           const QString& hint);

    TReferenceListBox* found_ = nullptr;
    TReferenceListBox* ignored_ = nullptr;
    QToolButton* ignoreButton_ = nullptr;
    QToolButton* stopIgnoreButton_ = nullptr;
    QMenu* popupMenu_ = nullptr;     // IgnoreImgsListBoxPopupMenu
    QAction* delete1_ = nullptr;     // "Delete": drops the selected ignored references
    QAction* selectAll3_ = nullptr;  // "Select All" of the ignored list
};

}  // namespace vantaro
