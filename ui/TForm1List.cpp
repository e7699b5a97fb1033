// The main window's message list and viewer: filling the list from the chosen
// folder, following the selection, and deleting the selected messages.
#include "ui/TForm1.h"

#include "archive/FolderTree.h"
#include "core/Cp1251.h"
#include "reading/dialogue/DeleteOnPhone.h"
#include "ui/ApplicationTitle.h"
#include "ui/FolderTreeWidget.h"
#include "ui/MessageListModel.h"
#include "ui/MessageViewer.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTableView>
#include <QToolButton>
#include <algorithm>
#include <functional>

using qb::ui::MessageRow;

namespace {

const QString DeleteQuestion = QStringLiteral("Вы действительно хотите удалить сообщения?");
const QString DeviceBusy = QStringLiteral("Утройство занято!");
const QString PhoneKeptMessages = QStringLiteral(
    "Телефон не удалил сообщений: %1. Они остались на телефоне и в списке.");

void tell(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, qb::ui::ApplicationTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

// The selected rows, top to bottom, each once.
std::vector<int> selectedRows(const QTableView* list) {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : list->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

// Appends the rows of records 1..count. Rows go to the model in batches, and
// between batches the window handles its events: often enough to stay
// responsive, seldom enough that 100 000 rows are listed within a second.
void appendInBatches(qb::ui::MessageListModel& model, qb::Progress& progress, int intervalMs,
                     int count, const std::function<MessageRow(int)>& makeRow) {
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    std::vector<MessageRow> batch;
    for (int k = 1; k <= count; ++k) {
        batch.push_back(makeRow(k));
        if (k < count && sinceEvents.elapsed() < intervalMs)
            continue;
        model.append(std::move(batch));
        batch.clear();
        progress.setPosition(k - 1);
        if (k < count) {
            progress.processEvents();
            sinceEvents.restart();
        }
    }
}

} // namespace

// --- Filling

void TForm1::FillList() {
    if (isBusy())
        return; // a second fill never interleaves its rows with the first one's
    const int position = SMS->selectedPosition();
    qb::MaybeFailure failure;
    {
        qb::ui::BusyScope busy(*this);
        progress().setTextVisible(false);
        progress().setPosition(0);
        progress().setVisible(true);
        m_messages->clear();
        failure = fillRows(position);
        progress().setVisible(false);
        progress().setTextVisible(true);
    }
    // Clicks in the list were refused during the fill; take the selection as it is now.
    List1SelectItem();
    suiMemo1->clear();
    const bool folder = qb::isPhoneFolder(position) || qb::isArchiveFolder(position);
    suiButton6->setEnabled(folder && m_messages->rowCount() > 0);
    if (failure) {
        showFailure(*failure);
        return;
    }
    RestoreColumnSort();
}

qb::MaybeFailure TForm1::fillRows(int position) {
    const bool phone = qb::isPhoneFolder(position);
    if (!phone && !qb::isArchiveFolder(position))
        return std::nullopt; // a group node lists nothing
    const qb::FolderKind kind = qb::folderKindOfNode(position);
    qb::ui::MessageRowBuilder builder(kind, phonebook);
    const qb::ReadFolder& read = readResult.folder(kind);
    const auto& records = archive.folder(kind).records;
    // Before the first read a phone folder holds no count, and lists nothing.
    const int count = phone ? std::max(read.count().value_or(0), 0)
                            : static_cast<int>(records.size());
    if (count == 0)
        return std::nullopt;
    if (builder.failure())
        return builder.failure(); // stops at the first row: nothing is listed
    progress().setMaximum(phone ? count - 1 : count);
    m_messages->reserve(count);
    if (phone) {
        const qb::ReadEntry none;
        appendInBatches(*m_messages, progress(), m_fillEventInterval, count, [&](int k) {
            const qb::ReadEntry* entry = read.find(k);
            return builder.fromPhone(entry ? *entry : none, k);
        });
    } else {
        appendInBatches(*m_messages, progress(), m_fillEventInterval, count, [&](int k) {
            return builder.fromArchive(records[static_cast<std::size_t>(k - 1)], k);
        });
    }
    return std::nullopt;
}

// Column sorting re-applies the remembered sort here once it is part of the window.
void TForm1::RestoreColumnSort() {}

// --- Folder tree

void TForm1::SMSClick() {
    if (isBusy())
        return;
    const int position = SMS->selectedPosition();
    if (position < 0 || position == ShownFolder)
        return;
    ShownFolder = position;
    FillList();
}

void TForm1::SMSKeyUp(QKeyEvent* event) {
    // Holding an arrow key down repeats press and release; only the last release counts.
    if (event->isAutoRepeat())
        return;
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        SMSClick();
}

// --- Message list

void TForm1::List1SelectItem() {
    if (isBusy())
        return;
    const std::vector<int> rows = selectedRows(List1);
    suiButton5->setEnabled(!rows.empty());
    m_messages->setShadedSender(rows.size() == 1
                                    ? std::optional(m_messages->row(rows.front()).from)
                                    : std::nullopt);
    if (rows.empty())
        suiMemo1->clear();
    else if (rows.size() == 1)
        showRowText(rows.front());
}

void TForm1::List1Click() {
    if (isBusy())
        return;
    const std::vector<int> rows = selectedRows(List1);
    suiButton5->setEnabled(!rows.empty());
    if (rows.empty()) {
        suiMemo1->clear();
        return;
    }
    followSender(rows.front());
    showRowText(rows.front());
}

void TForm1::List1KeyDown(QKeyEvent* event) {
    if (isBusy())
        return;
    if (event->key() == Qt::Key_A && event->modifiers().testFlag(Qt::ControlModifier)) {
        event->accept();
        List1->selectAll();
    } else if (event->key() == Qt::Key_Delete) {
        event->accept();
        const auto answer = QMessageBox::question(this, qb::ui::ApplicationTitle, DeleteQuestion,
                                                  QMessageBox::Yes | QMessageBox::No,
                                                  QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
        const int target = deletionTarget();
        if (qb::isPhoneFolder(target))
            DeleteOnPhone(qb::folderKindOfNode(target));
        else if (qb::isArchiveFolder(target))
            DeleteSelectedInArchive(qb::folderKindOfNode(target));
    }
}

// The shading follows a selection moved with the keyboard.
void TForm1::List1KeyUp(QKeyEvent*) {
    if (isBusy())
        return;
    const std::vector<int> rows = selectedRows(List1);
    if (!rows.empty())
        followSender(rows.front());
}

void TForm1::followSender(int row) {
    const QString& from = m_messages->row(row).from;
    if (!LastSender.isEmpty() && from == LastSender)
        return;
    LastSender = from;
    List1->viewport()->update();
}

void TForm1::showRowText(int row) {
    suiMemo1->setMessageText(m_messages->row(row).text);
}

// --- Deleting

// The rows carry record numbers of the folder the list shows. When the tree's
// selection has moved away from it without a refill (keys other than the
// arrows move it too), those numbers belong to another folder: delete nothing.
int TForm1::deletionTarget() const {
    const int selected = SMS->selectedPosition();
    return selected == ShownFolder ? selected : -1;
}

void TForm1::N14Click() {
    if (isBusy())
        return;
    const int target = deletionTarget();
    if (qb::isPhoneFolder(target))
        DeleteOnPhone(qb::folderKindOfNode(target));
}

void TForm1::DeleteOnPhone(qb::FolderKind folder) {
    if (isBusy())
        return;
    std::vector<qb::DeleteRow> rows;
    for (const int row : selectedRows(List1)) {
        const MessageRow& shown = m_messages->row(row);
        rows.push_back({shown.record, qb::cp1251::fromUnicode(shown.index)});
    }
    if (rows.empty())
        return; // nothing to delete: the phone is not even asked
    qb::DeleteOutcome outcome;
    {
        qb::ui::BusyScope busy(*this);
        const qb::PortSource port = m_deletionPort ? m_deletionPort : portSource();
        outcome = qb::DeleteOnPhone(port, progress(), folder, rows, readResult);
    }
    if (outcome.kind == qb::DeleteOutcome::Kind::NoPort) {
        tell(this, DeviceBusy);
        return;
    }
    m_messages->removeRecords(outcome.deleted);
    SetPhoneCaptions();
    suiMemo1->clear();
    if (outcome.notDeleted > 0)
        tell(this, PhoneKeptMessages.arg(outcome.notDeleted));
}

// Deleting in the archive joins here as its own command.
void TForm1::DeleteSelectedInArchive(qb::FolderKind) {}

// --- Closing while busy

void TForm1::closeIfRequested() {
    if (m_closeRequested && !isBusy())
        close();
}
