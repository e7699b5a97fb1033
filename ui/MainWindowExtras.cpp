// What completes the window around the commands: the two colour settings,
// column sorting, the toolbar's hover texts, the notification-area icon and
// the about box.
#include "ui/MainWindow.h"

#include "ui/AboutDialog.h"
#include "ui/ColourPicker.h"
#include "ui/ColourSettings.h"
#include "models/ColumnSorter.h"
#include "ui/FolderTreeWidget.h"
#include "ui/HoverTexts.h"
#include "models/MessageListModel.h"
#include "ui/MessageViewer.h"
#include "models/SettingsStore.h"
#include "ui/TrayPresence.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QToolButton>

using namespace qb;
using namespace qb::ui;

void MainWindow::setUpExtras() {
    // Colours: the built-in ones now, the stored ones at start-up.
    m_colours = new ColourSettings(*m_settings, {m_folderTree, m_messageList, m_viewer},
                                   m_backgroundColourPicker, m_textColourPicker, this);

    m_sorter = std::make_unique<ColumnSorter>(*m_messages, *m_settings);
    QHeaderView* header = m_messageList->horizontalHeader();
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, this, &MainWindow::sortByColumn);

    auto* hover = new HoverTexts(
        m_toolbarPanel, [this](const QString& text) { m_titleLabel->setText(text); },
        [this](const QString& text) { setMessagePanel(text); });
    hover->addButton(m_connectButton, QStringLiteral(" Подключить"),
                     QStringLiteral(" Подключить телефон"));
    hover->addButton(m_readButton, QStringLiteral(" Считать"),
                     QStringLiteral(" Считать все сообщения с телефона"));
    hover->addButton(m_exportSelectedButton, QStringLiteral(" Сохранить сообщение"),
                     QStringLiteral(" Сохранить сообщение"));
    hover->addButton(m_exportAllButton, QStringLiteral(" Сохранить все сообщения"),
                     QStringLiteral(" Сохранить все сообщения"));
    hover->addButton(m_importButton, QStringLiteral(" Конвертировать"),
                     QStringLiteral(" Конвертировать архив P2kTools в архив Quillbox"));

    new TrayPresence(this);
}

void MainWindow::showAbout() {
    if (isBusy())
        return;
    m_about->exec();
}
