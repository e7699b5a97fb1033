#include "ui/MainMenus.h"

#include "models/Icons.h"
#include "ui/FlatMenuStyle.h"
#include "ui/PortMenu.h"
#include "ui/SideBarMenu.h"

#include <QMainWindow>
#include <QMenuBar>

namespace qb::ui {

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& text, Icon picture) {
    QAction* action = menu->addAction(icon(picture), text);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

MainMenus::MainMenus(QMainWindow& window) {
    auto* file = new SideBarMenu(tr("Файл"), &window);
    file->setObjectName(QStringLiteral("fileMenu"));
    exportSelectedAction = addItem(file, "exportSelectedAction", tr("Сохранить"), Icon::Save);
    exportAllAction = addItem(file, "exportAllAction", tr("Сохранить все"), Icon::SaveAll);
    smartphoneExportAction =
        addItem(file, "smartphoneExportAction", tr("Экспорт для смартфона…"), Icon::SaveAll);
    printAction = addItem(file, "printAction", tr("Печать…"), Icon::Save);
    printAction->setShortcut(QKeySequence::Print);
    savePdfAction = addItem(file, "savePdfAction", tr("Сохранить в PDF…"), Icon::SaveAll);
    file->addSeparator();
    searchAction = addItem(file, "searchAction", tr("Найти"), Icon::None);
    searchAction->setShortcut(QKeySequence::Find);
    conversationAction = addItem(file, "conversationAction", tr("Переписка с …"), Icon::None);
    conversationAction->setShortcut(Qt::CTRL | Qt::Key_K);
    file->addSeparator();
    importAction = addItem(file, "importAction", tr("Конвертировать"), Icon::Convert);
    deleteInArchiveAction =
        addItem(file, "deleteInArchiveAction", tr("Удалить сообщение"), Icon::DeleteMessage);
    deleteAllInArchiveAction =
        addItem(file, "deleteAllInArchiveAction", tr("Удалить все сообщения"), Icon::DeleteAll);
    file->addSeparator();
    quitAction = addItem(file, "quitAction", tr("Выход"), Icon::Exit);

    auto* phone = new SideBarMenu(tr("Телефон"), &window);
    phone->setObjectName(QStringLiteral("phoneMenu"));
    connectAction = addItem(phone, "connectAction", tr("Подключить"), Icon::Connect);
    phone->addSeparator();
    readAction = addItem(phone, "readAction", tr("Считать"), Icon::Read);
    deleteOnPhoneAction =
        addItem(phone, "deleteOnPhoneAction", tr("Удалить сообщение"), Icon::DeleteMessage);
    phone->addSeparator();
    portMenu = new PortMenu(&window);
    phone->addMenu(portMenu);
    readOnPlugAction = phone->addAction(tr("Считывать телефон при подключении"));
    readOnPlugAction->setObjectName(QStringLiteral("readOnPlugAction"));
    readOnPlugAction->setCheckable(true);

    auto* style = new FlatMenuStyle;
    style->setParent(&window);
    for (QMenu* menu :
         {static_cast<QMenu*>(file), static_cast<QMenu*>(phone), static_cast<QMenu*>(portMenu)}) {
        menu->setStyle(style);
        menu->setAttribute(Qt::WA_WindowPropagation); // the window's font, not the desktop's
    }
    window.menuBar()->addMenu(file);
    window.menuBar()->addMenu(phone);
    aboutAction = window.menuBar()->addAction(tr("О Программе"));
    aboutAction->setObjectName(QStringLiteral("aboutAction"));
}

} // namespace qb::ui
