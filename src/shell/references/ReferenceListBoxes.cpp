#include "shell/references/ReferenceListBoxes.h"

#include <QElapsedTimer>
#include <QHelpEvent>
#include <QMenu>
#include <QToolButton>
#include <QToolTip>

#include "shell/KeepSelectionVisible.h"
#include "shell/log/DisplayText.h"

namespace vantaro {

TReferenceListBox::TReferenceListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(ExtendedSelection);
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
    KeepSelectionVisible(*this);
    showTimer_.setSingleShot(true);
    showTimer_.setInterval(100);
    connect(&showTimer_, &QTimer::timeout, this, &TReferenceListBox::ShowQueuedReferences);
}

int TReferenceListBox::AddReference(std::string_view reference) {
    ShowQueuedReferences();
    const auto row = static_cast<int>(references_.Insert(reference));
    insertItem(row, DisplayText(reference));
    return row;
}

void TReferenceListBox::QueueReference(std::string_view reference) {
    references_.Add(reference);
    if (!showTimer_.isActive()) {
        showTimer_.start();
    }
}

void TReferenceListBox::ShowQueuedReferences() {
    showTimer_.stop();
    if (!references_.HasQueued()) {
        return;
    }
    QElapsedTimer spent;
    spent.start();
    const std::vector<std::size_t> places = references_.TakeQueued();
    // Each row inserted moves all below it; past a few dozen, building the rows anew is cheaper.
    constexpr std::size_t kInsertedOneByOne = 32;
    if (places.size() <= kInsertedOneByOne) {
        for (std::size_t place : places) {
            insertItem(static_cast<int>(place), DisplayText(references_.Listed()[place]));
        }
    } else {
        ShowManyQueued(places);
    }
    // Showing stays a small share of a run however long the list grows.
    showTimer_.setInterval(std::max(100, static_cast<int>(spent.elapsed()) * 8));
}

// Builds the rows anew, keeping the selection on the references it was on.
void TReferenceListBox::ShowManyQueued(const std::vector<std::size_t>& places) {
    const std::vector<int> selected = SelectedRows();
    const std::vector<std::string>& listed = references_.Listed();
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(listed.size()));
    std::vector<int> newRowOfOld;
    newRowOfOld.reserve(listed.size() - places.size());
    std::size_t nextPlace = 0;
    for (std::size_t row = 0; row < listed.size(); ++row) {
        if (nextPlace < places.size() && places[nextPlace] == row) {
            ++nextPlace;
        } else {
            newRowOfOld.push_back(static_cast<int>(row));
        }
        texts.push_back(DisplayText(listed[row]));
    }
    const bool blocked = blockSignals(true);
    clear();
    addItems(texts);
    for (int row : selected) {
        item(newRowOfOld[static_cast<std::size_t>(row)])->setSelected(true);
    }
    blockSignals(blocked);
    emit itemSelectionChanged();
}

const std::vector<std::string>& TReferenceListBox::References() {
    ShowQueuedReferences();
    return references_.Items();
}

void TReferenceListBox::RemoveReferenceAt(int row) {
    references_.RemoveAt(static_cast<std::size_t>(row));
    delete takeItem(row);
}

void TReferenceListBox::ClearReferences() {
    showTimer_.stop();
    references_.Clear();
    clear();
}

void TReferenceListBox::AssignReferences(const std::vector<std::string>& references) {
    showTimer_.stop();
    references_.Assign(references);
    clear();
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(references_.Size()));
    for (const std::string& reference : references_.Items()) {
        texts.push_back(DisplayText(reference));
    }
    addItems(texts);
}

bool TReferenceListBox::ContainsReference(std::string_view reference) const {
    return references_.Contains(reference);
}

int TReferenceListBox::SelectedCount() const {
    return static_cast<int>(selectedItems().size());
}

std::vector<int> TReferenceListBox::SelectedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < count(); ++row) {
        if (item(row)->isSelected()) {
            rows.push_back(row);
        }
    }
    return rows;
}

QString TReferenceListBox::HintAt(const QPoint& viewportPosition) const {
    const QListWidgetItem* under = itemAt(viewportPosition);
    return under == nullptr ? QString() : under->text();
}

bool TReferenceListBox::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QListWidget::viewportEvent(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString hint = HintAt(help->pos());
    if (hint.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), hint, viewport(),
                           visualItemRect(itemAt(help->pos())));
    }
    return true;
}

TReferenceLists::TReferenceLists(QWidget* parent)
    : QObject(parent),
      found_(new TReferenceListBox(parent)),
      ignored_(new TReferenceListBox(parent)) {
    found_->setObjectName(QStringLiteral("RefImagesListBox"));
    ignored_->setObjectName(QStringLiteral("IgnoreImagesListBox"));
    ignoreButton_ = AddButton(parent, "IgnoreImgSpeedButton", QStringLiteral(">"),
                              QStringLiteral(" Ignore selected references"));
    stopIgnoreButton_ = AddButton(parent, "StopIgnoreImgSpeedButton", QStringLiteral("<"),
                                  QStringLiteral("Stop ignoring selected references"));
    QFont bold = ignoreButton_->font();
    bold.setBold(true);
    ignoreButton_->setFont(bold);

    popupMenu_ = new QMenu(ignored_);
    popupMenu_->setObjectName(QStringLiteral("IgnoreImgsListBoxPopupMenu"));
    delete1_ = popupMenu_->addAction(QStringLiteral("Delete"));
    delete1_->setObjectName(QStringLiteral("Delete1"));
    popupMenu_->addSeparator()->setObjectName(QStringLiteral("N13"));
    selectAll3_ = popupMenu_->addAction(QStringLiteral("Select All"));
    selectAll3_->setObjectName(QStringLiteral("SelectAll3"));
    ignored_->setContextMenuPolicy(Qt::CustomContextMenu);

    connect(ignored_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popupMenu_->popup(ignored_->viewport()->mapToGlobal(at)); });
    connect(popupMenu_, &QMenu::aboutToShow, this,
            &TReferenceLists::IgnoreImgsListBoxPopupMenuPopup);
    connect(delete1_, &QAction::triggered, this, &TReferenceLists::Delete1Click);
    connect(selectAll3_, &QAction::triggered, this, &TReferenceLists::SelectAll3Click);
    connect(ignoreButton_, &QToolButton::clicked, this,
            &TReferenceLists::IgnoreImgSpeedButtonClick);
    connect(stopIgnoreButton_, &QToolButton::clicked, this,
            &TReferenceLists::StopIgnoreImgSpeedButtonClick);
    for (TReferenceListBox* list : {found_, ignored_}) {
        connect(list, &QListWidget::itemSelectionChanged, this,
                &TReferenceLists::RefImagesListBoxClick);
    }
    UpdateIgnoreButtons();
}

QToolButton* TReferenceLists::AddButton(QWidget* parent, const char* name, const QString& caption,
                                        const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void TReferenceLists::ClearFound() {
    found_->ClearReferences();
    UpdateIgnoreButtons();
}

void TReferenceLists::AddFound(std::string_view reference) {
    found_->QueueReference(reference);
}

void TReferenceLists::ShowAllFound() {
    found_->ShowQueuedReferences();
}

bool TReferenceLists::IsFound(std::string_view reference) const {
    return found_->ContainsReference(reference);
}

bool TReferenceLists::IsIgnored(std::string_view reference) const {
    return ignored_->ContainsReference(reference);
}

const std::vector<std::string>& TReferenceLists::IgnoredItems() const {
    return ignored_->References();
}

void TReferenceLists::SetIgnoredItems(const std::vector<std::string>& references) {
    ignored_->AssignReferences(references);
    UpdateIgnoreButtons();
}

// The moved references land in sorted place, first selected first, and are then the target's
// whole selection.
void TReferenceLists::MoveSelected(TReferenceListBox& from, TReferenceListBox& to) {
    from.ShowQueuedReferences();
    to.ShowQueuedReferences();
    to.clearSelection();
    const std::vector<int> rows = from.SelectedRows();
    std::vector<std::string> moving;
    moving.reserve(rows.size());
    for (int row : rows) {
        moving.push_back(from.References()[static_cast<std::size_t>(row)]);
    }
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        from.RemoveReferenceAt(*row);
    }
    for (const std::string& reference : moving) {
        to.item(to.AddReference(reference))->setSelected(true);
    }
}

void TReferenceLists::IgnoreImgSpeedButtonClick() {
    MoveSelected(*found_, *ignored_);
    UpdateIgnoreButtons();
}

void TReferenceLists::StopIgnoreImgSpeedButtonClick() {
    MoveSelected(*ignored_, *found_);
    UpdateIgnoreButtons();
}

void TReferenceLists::IgnoreImgsListBoxPopupMenuPopup() {
    const int selected = ignored_->SelectedCount();
    delete1_->setEnabled(selected > 0);
    selectAll3_->setEnabled(ignored_->count() > 0 && selected < ignored_->count());
}

void TReferenceLists::Delete1Click() {
    const std::vector<int> rows = ignored_->SelectedRows();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        ignored_->RemoveReferenceAt(*row);
    }
    UpdateIgnoreButtons();
}

void TReferenceLists::SelectAll3Click() {
    if (ignored_->count() > 0) {
        ignored_->selectAll();
    }
    UpdateIgnoreButtons();
}

void TReferenceLists::UpdateIgnoreButtons() {
    ignoreButton_->setEnabled(found_->SelectedCount() > 0);
    stopIgnoreButton_->setEnabled(ignored_->SelectedCount() > 0);
}

void TReferenceLists::RefImagesListBoxClick() {
    UpdateIgnoreButtons();
}

}  // namespace vantaro
