#pragma once
// Телефон ▸ "Порт телефона": the USB phone found by itself, one of the serial
// ports under /dev, or another port typed by its path. The menu shows what it
// is offered when it opens and tells what the user picked; the choice itself
// lives in the program.
#include "controllers/PortChoice.h"

#include <QMenu>
#include <vector>

class QActionGroup;
class QInputDialog;

namespace qb::ui {

class PortMenu : public QMenu {
    Q_OBJECT
  public:
    explicit PortMenu(QWidget* parent = nullptr);

    // Lists `ports`, with the one at `chosen` checked (empty: automatic).
    void offer(const std::vector<OfferedPort>& ports, const QString& chosen);
    // The dialog "Другой порт…" opens.
    QInputDialog* pathDialog() const { return m_pathDialog; }

  signals:
    // About to open: offer() now.
    void offerWanted();
    void automaticChosen();
    void portChosen(const QString& path);

  private:
    QAction* addChoice(const QString& text, bool checked);
    void askForPath(const QString& chosen);

    QActionGroup* m_group;
    QInputDialog* m_pathDialog;
};

} // namespace qb::ui
