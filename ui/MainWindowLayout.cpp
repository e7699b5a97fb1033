// How the main window is put together: menu, title strip, toolbar, work area
// and status bar, top to bottom.
#include "ui/MainWindow.h"

#include "models/ImageList.h"
#include "models/MessageListModel.h"
#include "ui/AnimatedBanner.h"
#include "ui/ApplicationTitle.h"
#include "ui/ColourPicker.h"
#include "ui/FlatMenuStyle.h"
#include "ui/FolderTreeWidget.h"
#include "ui/GradientPanel.h"
#include "ui/MessageViewer.h"
#include "ui/PixelFont.h"
#include "ui/SideBarMenu.h"
#include "ui/StatusPanel.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

using namespace qb;
using namespace qb::ui;

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& text, int image) {
    QAction* action = menu->addAction(imageListIcon(image), text);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

void MainWindow::buildWindow() {
    setWindowTitle(QStringLiteral("Quillbox"));
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    resize(870, 640);
    if (const QScreen* desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());

    buildMenus();
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildTitleStrip());
    column->addWidget(buildToolbar());
    column->addWidget(buildWorkArea(), 1);
    setCentralWidget(central);
    buildStatusBar();
}

void MainWindow::buildMenus() {
    auto* file = new SideBarMenu(QStringLiteral("Файл"), this);
    file->setObjectName(QStringLiteral("fileMenu"));
    m_exportSelectedAction =
        addItem(file, "exportSelectedAction", QStringLiteral("Сохранить"), Image::Save);
    m_exportAllAction =
        addItem(file, "exportAllAction", QStringLiteral("Сохранить все"), Image::SaveAll);
    m_smartphoneExportAction = addItem(file, "smartphoneExportAction",
                                       QStringLiteral("Экспорт для смартфона…"), Image::SaveAll);
    file->addSeparator();
    m_importAction =
        addItem(file, "importAction", QStringLiteral("Конвертировать"), Image::Convert);
    m_deleteInArchiveAction = addItem(file, "deleteInArchiveAction",
                                      QStringLiteral("Удалить сообщение"), Image::DeleteMessage);
    m_deleteAllInArchiveAction = addItem(file, "deleteAllInArchiveAction",
                                         QStringLiteral("Удалить все сообщения"), Image::DeleteAll);
    file->addSeparator();
    m_quitAction = addItem(file, "quitAction", QStringLiteral("Выход"), Image::Exit);

    auto* phone = new SideBarMenu(QStringLiteral("Телефон"), this);
    phone->setObjectName(QStringLiteral("phoneMenu"));
    m_connectAction = addItem(phone, "connectAction", QStringLiteral("Подключить"), Image::Connect);
    phone->addSeparator();
    m_readAction = addItem(phone, "readAction", QStringLiteral("Считать"), Image::Read);
    m_deleteOnPhoneAction = addItem(phone, "deleteOnPhoneAction",
                                    QStringLiteral("Удалить сообщение"), Image::DeleteMessage);

    auto* style = new FlatMenuStyle;
    style->setParent(this);
    for (QMenu* menu : {static_cast<QMenu*>(file), static_cast<QMenu*>(phone)}) {
        menu->setStyle(style);
        menu->setAttribute(Qt::WA_WindowPropagation); // the window's font, not the desktop's
        menuBar()->addMenu(menu);
    }
    m_aboutAction = menuBar()->addAction(QStringLiteral("О Программе"));
    m_aboutAction->setObjectName(QStringLiteral("aboutAction"));
}

QWidget* MainWindow::buildTitleStrip() {
    auto* strip = new GradientPanel(GradientPanel::Edges::TopAndBottom, this);
    strip->setObjectName(QStringLiteral("titleStrip"));
    strip->setFixedHeight(20);
    m_titleLabel = new QLabel(QStringLiteral("  ") + ApplicationTitle, strip);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_titleLabel->setFont(pixelFont(QStringLiteral("Times New Roman"), 13, true));
    QPalette ink = m_titleLabel->palette();
    ink.setColor(QPalette::WindowText, GradientPanel::ink());
    m_titleLabel->setPalette(ink);
    auto* fill = new QVBoxLayout(strip);
    fill->setContentsMargins(0, 1, 0, 1);
    fill->addWidget(m_titleLabel);
    return strip;
}

QToolButton* MainWindow::buildToolButton(QWidget* parent, const char* name, int x,
                                         const QString& hint, const QIcon& picture) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(x, 8, 45, 45);
    button->setIcon(picture);
    button->setIconSize(QSize(32, 32));
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus); // never shows a focus rectangle
    return button;
}

QWidget* MainWindow::buildToolbar() {
    auto* bar = new GradientPanel(GradientPanel::Edges::None, this);
    bar->setObjectName(QStringLiteral("toolbarPanel"));
    m_toolbarPanel = bar;
    bar->setFixedHeight(61);
    // Buttons and banner sit at fixed places; only the colour panel follows the right edge.
    m_connectButton = buildToolButton(bar, "connectButton", 8, QStringLiteral("Подключить телефон"),
                                      buttonPicture(ButtonPicture::Connect));
    m_readButton =
        buildToolButton(bar, "readButton", 56, QStringLiteral("Считать сообщения с телефона"),
                        buttonPicture(ButtonPicture::Read));
    m_exportSelectedButton =
        buildToolButton(bar, "exportSelectedButton", 104, QStringLiteral("Сохранить сообщение"),
                        buttonPicture(ButtonPicture::Save));
    m_exportAllButton =
        buildToolButton(bar, "exportAllButton", 152, QStringLiteral("Сохранить все сообщения"),
                        buttonPicture(ButtonPicture::SaveAll));
    m_importButton = buildToolButton(
        bar, "importButton", 200, QStringLiteral("Конвертировать архив P2kTools в архив Quillbox"),
        buttonPicture(ButtonPicture::Convert));
    auto* banner = new AnimatedBanner(bar);
    banner->setObjectName(QStringLiteral("Banner"));
    banner->setAccessibleName(QStringLiteral("Motorola Quillbox"));
    banner->move(360, 11);

    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    row->addWidget(buildColourPanel(bar));
    return bar;
}

QWidget* MainWindow::buildColourPanel(QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("ColourPanel"));
    panel->setFixedWidth(185);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 6, 8, 6);
    grid->setVerticalSpacing(4);
    const QString captions[] = {QStringLiteral("Фоновый цвет:"), QStringLiteral("Цвет текста:")};
    m_backgroundColourPicker = new ColourPicker(Colour::Lime, panel);
    m_backgroundColourPicker->setObjectName(QStringLiteral("backgroundColourPicker"));
    m_textColourPicker = new ColourPicker(Colour::WindowText, panel);
    m_textColourPicker->setObjectName(QStringLiteral("textColourPicker"));
    ColourPicker* const pickers[] = {m_backgroundColourPicker, m_textColourPicker};
    for (int i = 0; i < 2; ++i) {
        auto* label = new QLabel(captions[i], panel);
        QPalette ink = label->palette();
        ink.setColor(QPalette::WindowText, GradientPanel::ink());
        label->setPalette(ink);
        pickers[i]->setAccessibleName(captions[i]);
        pickers[i]->setFixedHeight(21);
        label->setBuddy(pickers[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(pickers[i], i, 1);
    }
    grid->setColumnStretch(1, 1);
    return panel;
}

QWidget* MainWindow::buildWorkArea() {
    m_folderTree = new FolderTreeWidget(this);
    m_folderTree->setObjectName(QStringLiteral("folderTree"));
    m_folderTree->setAccessibleName(QStringLiteral("folderTree"));

    m_messages = new MessageListModel(this);
    m_messageList = new QTableView(this);
    m_messageList->setObjectName(QStringLiteral("messageList"));
    m_messageList->setAccessibleName(QStringLiteral("messageList"));
    m_messageList->setModel(m_messages);
    m_messageList->setShowGrid(true);
    m_messageList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_messageList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_messageList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_messageList->setWordWrap(false);
    m_messageList->setIconSize(QSize(16, 16));
    m_messageList->verticalHeader()->hide();
    m_messageList->verticalHeader()->setDefaultSectionSize(17);
    QHeaderView* columns = m_messageList->horizontalHeader();
    columns->setHighlightSections(false);
    columns->setSectionResizeMode(MessageListModel::TextColumn, QHeaderView::Stretch);
    columns->resizeSection(MessageListModel::FromColumn, 150);
    columns->resizeSection(MessageListModel::DateColumn, 150);
    columns->resizeSection(MessageListModel::SizeColumn, 50);
    columns->setSectionResizeMode(MessageListModel::IndexColumn, QHeaderView::Fixed);
    columns->resizeSection(MessageListModel::IndexColumn, 50);

    // The viewer brings its own font, tab width, wrapping and margin.
    m_viewer = new MessageViewer(this);
    m_viewer->setObjectName(QStringLiteral("viewer"));
    m_viewer->setAccessibleName(QStringLiteral("viewer"));

    m_treeListSplitter = new QSplitter(Qt::Horizontal, this);
    m_treeListSplitter->setObjectName(QStringLiteral("treeListSplitter"));
    m_treeListSplitter->setHandleWidth(3);
    m_treeListSplitter->setChildrenCollapsible(false);
    m_treeListSplitter->addWidget(m_folderTree);
    m_treeListSplitter->addWidget(m_messageList);
    m_treeListSplitter->setStretchFactor(1, 1);
    m_treeListSplitter->setSizes({185, width() - 188});

    m_listViewerSplitter = new QSplitter(Qt::Vertical, this);
    m_listViewerSplitter->setObjectName(QStringLiteral("listViewerSplitter"));
    m_listViewerSplitter->setHandleWidth(3);
    m_listViewerSplitter->setChildrenCollapsible(false);
    m_listViewerSplitter->addWidget(m_treeListSplitter);
    m_listViewerSplitter->addWidget(m_viewer);
    m_listViewerSplitter->setStretchFactor(0, 1);
    m_listViewerSplitter->setSizes({height() - 170, 170});
    return m_listViewerSplitter;
}

void MainWindow::buildStatusBar() {
    // The status bar belongs to the main window's frame, so it stays the
    // bottom-most band whatever the splitters do.
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("statusBar"));
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setFixedHeight(19);
    m_statusPanel = new StatusPanel(m_statusBar);
    m_statusPanel->setObjectName(QStringLiteral("statusPanel"));
    m_statusPanel->setFixedWidth(150);
    m_messagePanel = new QLabel(m_statusBar);
    m_messagePanel->setObjectName(QStringLiteral("messagePanel"));
    m_statusBar->addWidget(m_statusPanel);
    m_statusBar->addWidget(m_messagePanel, 1);

    m_progressBar = new QProgressBar(m_statusBar);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setAccessibleName(QStringLiteral("progressBar"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setGeometry(157, 5, 150, 12);
    m_progressBar->hide();
    setStatusBar(m_statusBar);
}
