#include "ui/PortMenu.h"

#include <QActionGroup>
#include <QInputDialog>

namespace qb::ui {

PortMenu::PortMenu(QWidget* parent)
    : QMenu(tr("Порт телефона"), parent), m_group(new QActionGroup(this)),
      m_pathDialog(new QInputDialog(parent)) {
    setObjectName(QStringLiteral("portMenu"));
    m_group->setExclusive(true);
    m_pathDialog->setObjectName(QStringLiteral("portPathDialog"));
    m_pathDialog->setWindowTitle(tr("Порт телефона"));
    m_pathDialog->setLabelText(tr("Путь к порту телефона, например /dev/ttyUSB0 (модем USB с "
                                  "SIM-картой) или /dev/rfcomm0 (Bluetooth):"));
    connect(m_pathDialog, &QInputDialog::accepted, this, [this] {
        if (const std::optional<QString> path = typedPortPath(m_pathDialog->textValue()))
            emit portChosen(*path);
    });
    connect(this, &QMenu::aboutToShow, this, &PortMenu::offerWanted);
}

QAction* PortMenu::addChoice(const QString& text, bool checked) {
    QAction* action = addAction(text);
    action->setCheckable(true);
    action->setChecked(checked);
    m_group->addAction(action);
    return action;
}

void PortMenu::offer(const std::vector<OfferedPort>& ports, const QString& chosen) {
    clear(); // the menu is opening: none of its actions is being triggered
    QAction* automatic = addChoice(tr("Автоматически (телефон USB)"), chosen.isEmpty());
    automatic->setObjectName(QStringLiteral("automaticPortAction"));
    connect(automatic, &QAction::triggered, this, &PortMenu::automaticChosen);
    if (!ports.empty())
        addSeparator();
    for (const OfferedPort& port : ports) {
        const QString text = port.present ? port.path : tr("%1 (не найден)").arg(port.path);
        QAction* action = addChoice(text, port.path == chosen);
        action->setData(port.path);
        connect(action, &QAction::triggered, this,
                [this, path = port.path] { emit portChosen(path); });
    }
    addSeparator();
    QAction* other = addAction(tr("Другой порт…"));
    other->setObjectName(QStringLiteral("otherPortAction"));
    connect(other, &QAction::triggered, this, [this, chosen] { askForPath(chosen); });
}

void PortMenu::askForPath(const QString& chosen) {
    m_pathDialog->setTextValue(chosen.isEmpty() ? QStringLiteral("/dev/") : chosen);
    m_pathDialog->open();
}

} // namespace qb::ui
