#include "ScriptedPrompter.h"

#include <QDialog>

namespace vantaro::test {
namespace {

template <typename T>
T TakeFront(std::deque<T>& queue, T whenEmpty) {
    if (queue.empty()) {
        return whenEmpty;
    }
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}

}  // namespace

ScriptedPrompter::ScriptedPrompter() : previous_(SetPrompter(this)) {}

ScriptedPrompter::~ScriptedPrompter() {
    SetPrompter(previous_);
}

Prompter::Button ScriptedPrompter::Ask(QWidget*, const Message& message) {
    messages.push_back(message);
    return TakeFront(answers, message.escapeButton);
}

int ScriptedPrompter::Exec(QDialog& dialog) {
    dialogs.push_back(QString::fromLatin1(dialog.metaObject()->className()));
    return onExec ? onExec(dialog) : static_cast<int>(QDialog::Rejected);
}

QString ScriptedPrompter::OpenFileName(QWidget*, const FileRequest& request) {
    openRequests.push_back(request);
    return TakeFront(openNames, QString());
}

QString ScriptedPrompter::SaveFileName(QWidget*, const FileRequest& request) {
    saveRequests.push_back(request);
    return TakeFront(saveNames, QString());
}

bool ScriptedPrompter::ChoosePrinter(QWidget*, QPrinter& printer) {
    ++printDialogs;
    return onChoosePrinter && onChoosePrinter(printer);
}

void ScriptedPrompter::Beep() {
    ++beeps;
}

}  // namespace vantaro::test
