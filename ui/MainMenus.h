#pragma once
// The menu bar of the main window: "Файл", "Телефон" and "О Программе".
#include <QCoreApplication>

class QAction;
class QMainWindow;

namespace qb::ui {

class PortMenu;

struct MainMenus {
    Q_DECLARE_TR_FUNCTIONS(MainMenus)

  public:
    explicit MainMenus(QMainWindow& window);

    QAction* exportSelectedAction;     // Файл ▸ Сохранить
    QAction* exportAllAction;          // Файл ▸ Сохранить все
    QAction* smartphoneExportAction;   // Файл ▸ Экспорт для смартфона…
    QAction* printAction;              // Файл ▸ Печать…
    QAction* savePdfAction;            // Файл ▸ Сохранить в PDF…
    QAction* searchAction;             // Файл ▸ Найти
    QAction* conversationAction;       // Файл ▸ Переписка с …
    QAction* importAction;             // Файл ▸ Конвертировать
    QAction* deleteInArchiveAction;    // Файл ▸ Удалить сообщение
    QAction* deleteAllInArchiveAction; // Файл ▸ Удалить все сообщения
    QAction* quitAction;               // Файл ▸ Выход
    QAction* connectAction;            // Телефон ▸ Подключить
    QAction* readAction;               // Телефон ▸ Считать
    QAction* deleteOnPhoneAction;      // Телефон ▸ Удалить сообщение
    PortMenu* portMenu;                // Телефон ▸ Порт телефона
    QAction* readOnPlugAction; // Телефон ▸ Считывать телефон при подключении (a setting)
    QAction* aboutAction; // О Программе
};

} // namespace qb::ui
