// Sorting the message list by a clicked column header, and again by the
// remembered column after every refill.
#include "ui/MainWindow.h"

#include "models/ColumnSorter.h"
#include "models/MessageListModel.h"

void MainWindow::sortByColumn(int column) {
    // A fill that lets events run must not have its half-built list reordered.
    if (isBusy())
        return;
    reportFailure(m_sorter->sortByColumn(column));
}

void MainWindow::restoreColumnSort() {
    reportFailure(m_sorter->restoreColumnSort());
}
