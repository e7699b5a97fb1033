#pragma once
// The message list: a report-style view over the message model, rows
// selected whole, several at a time.
#include <QTableView>
#include <vector>

namespace qb::ui {

class MessageListView : public QTableView {
    Q_OBJECT
  public:
    explicit MessageListView(QWidget* parent = nullptr);
    void setModel(QAbstractItemModel* model) override;
    // The selected rows, top to bottom, each once.
    std::vector<int> selectedRows() const;
};

} // namespace qb::ui
