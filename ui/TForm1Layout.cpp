// How the main window is put together: menu, title strip, toolbar, work area
// and status bar, top to bottom.
#include "ui/TForm1.h"

#include "ui/AnimatedBanner.h"
#include "ui/FlatMenuStyle.h"
#include "ui/FolderTreeWidget.h"
#include "ui/GradientPanel.h"
#include "ui/ImageList.h"
#include "ui/MessageListModel.h"
#include "ui/MessageViewer.h"
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

using namespace qb::ui;

namespace {

QFont pixelFont(const QString& family, int pixels, bool bold = false) {
    // Without the Windows faces, the Liberation faces keep the texts at their
    // intended width; DejaVu Sans, the usual stand-in, is much wider.
    const bool serif = family.startsWith(QLatin1String("Times"));
    const bool mono = family.startsWith(QLatin1String("Courier"));
    const QString standIn = serif  ? QStringLiteral("Liberation Serif")
                            : mono ? QStringLiteral("Liberation Mono")
                                   : QStringLiteral("Liberation Sans");
    QFont font(family);
    font.setFamilies({family, standIn});
    font.setStyleHint(serif ? QFont::Serif : mono ? QFont::Monospace : QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QAction* addItem(QMenu* menu, const char* name, const QString& text, int image) {
    QAction* action = menu->addAction(imageListIcon(image), text);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

void TForm1::buildWindow() {
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

void TForm1::buildMenus() {
    auto* file = new SideBarMenu(QStringLiteral("Файл"), this);
    file->setObjectName(QStringLiteral("N1"));
    N2 = addItem(file, "N2", QStringLiteral("Сохранить"), Image::Save);
    N3 = addItem(file, "N3", QStringLiteral("Сохранить все"), Image::SaveAll);
    file->addSeparator();
    N5 = addItem(file, "N5", QStringLiteral("Конвертировать"), Image::Convert);
    N6 = addItem(file, "N6", QStringLiteral("Удалить сообщение"), Image::DeleteMessage);
    N7 = addItem(file, "N7", QStringLiteral("Удалить все сообщения"), Image::DeleteAll);
    file->addSeparator();
    N9 = addItem(file, "N9", QStringLiteral("Выход"), Image::Exit);

    auto* phone = new SideBarMenu(QStringLiteral("Телефон"), this);
    phone->setObjectName(QStringLiteral("N10"));
    N11 = addItem(phone, "N11", QStringLiteral("Подключить"), Image::Connect);
    phone->addSeparator();
    N13 = addItem(phone, "N13", QStringLiteral("Считать"), Image::Read);
    N14 = addItem(phone, "N14", QStringLiteral("Удалить сообщение"), Image::DeleteMessage);

    auto* style = new FlatMenuStyle;
    style->setParent(this);
    for (QMenu* menu : {static_cast<QMenu*>(file), static_cast<QMenu*>(phone)}) {
        menu->setStyle(style);
        menu->setAttribute(Qt::WA_WindowPropagation); // the window's font, not the desktop's
        menuBar()->addMenu(menu);
    }
    N15 = menuBar()->addAction(QStringLiteral("О Программе"));
    N15->setObjectName(QStringLiteral("N15"));
}

QWidget* TForm1::buildTitleStrip() {
    auto* strip = new GradientPanel(GradientPanel::Edges::TopAndBottom, this);
    strip->setObjectName(QStringLiteral("XPPanel2"));
    strip->setFixedHeight(20);
    RzLabel1 = new QLabel(QStringLiteral("  Quillbox 1.1"), strip);
    RzLabel1->setObjectName(QStringLiteral("RzLabel1"));
    RzLabel1->setFont(pixelFont(QStringLiteral("Times New Roman"), 13, true));
    QPalette ink = RzLabel1->palette();
    ink.setColor(QPalette::WindowText, GradientPanel::ink());
    RzLabel1->setPalette(ink);
    auto* fill = new QVBoxLayout(strip);
    fill->setContentsMargins(0, 1, 0, 1);
    fill->addWidget(RzLabel1);
    return strip;
}

QToolButton* TForm1::buildToolButton(QWidget* parent, const char* name, int x, const QString& hint,
                                     const QIcon& picture) {
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

QWidget* TForm1::buildToolbar() {
    auto* bar = new GradientPanel(GradientPanel::Edges::None, this);
    bar->setObjectName(QStringLiteral("XPPanel1"));
    bar->setFixedHeight(61);
    // Buttons and banner sit at fixed places; only the colour panel follows the right edge.
    suiButton2 = buildToolButton(bar, "suiButton2", 8, QStringLiteral("Подключить телефон"),
                                 buttonPicture(ButtonPicture::Connect));
    suiButton1 =
        buildToolButton(bar, "suiButton1", 56, QStringLiteral("Считать сообщения с телефона"),
                        buttonPicture(ButtonPicture::Read));
    suiButton5 = buildToolButton(bar, "suiButton5", 104, QStringLiteral("Сохранить сообщение"),
                                 buttonPicture(ButtonPicture::Save));
    suiButton6 = buildToolButton(bar, "suiButton6", 152, QStringLiteral("Сохранить все сообщения"),
                                 buttonPicture(ButtonPicture::SaveAll));
    suiButton3 = buildToolButton(bar, "suiButton3", 200,
                                 QStringLiteral("Конвертировать архив P2kTools в архив Quillbox"),
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

QWidget* TForm1::buildColourPanel(QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("ColourPanel"));
    panel->setFixedWidth(185);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 6, 8, 6);
    grid->setVerticalSpacing(4);
    const QString captions[] = {QStringLiteral("Фоновый цвет:"), QStringLiteral("Цвет текста:")};
    const char* const pickers[] = {"PDJEditColor1", "PDJEditColor2"};
    for (int i = 0; i < 2; ++i) {
        auto* label = new QLabel(captions[i], panel);
        QPalette ink = label->palette();
        ink.setColor(QPalette::WindowText, GradientPanel::ink());
        label->setPalette(ink);
        // An empty holder: the colour picker goes into its layout.
        auto* picker = new QWidget(panel);
        picker->setObjectName(QLatin1String(pickers[i]));
        picker->setAccessibleName(captions[i]);
        picker->setFixedHeight(21);
        (new QHBoxLayout(picker))->setContentsMargins(0, 0, 0, 0);
        label->setBuddy(picker);
        grid->addWidget(label, i, 0);
        grid->addWidget(picker, i, 1);
    }
    grid->setColumnStretch(1, 1);
    return panel;
}

QWidget* TForm1::buildWorkArea() {
    SMS = new FolderTreeWidget(this);
    SMS->setObjectName(QStringLiteral("SMS"));
    SMS->setAccessibleName(QStringLiteral("SMS"));

    m_messages = new MessageListModel(this);
    List1 = new QTableView(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QStringLiteral("List1"));
    List1->setModel(m_messages);
    List1->setShowGrid(true);
    List1->setSelectionBehavior(QAbstractItemView::SelectRows);
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setWordWrap(false);
    List1->setIconSize(QSize(16, 16));
    List1->verticalHeader()->hide();
    List1->verticalHeader()->setDefaultSectionSize(17);
    QHeaderView* columns = List1->horizontalHeader();
    columns->setHighlightSections(false);
    columns->setSectionResizeMode(MessageListModel::TextColumn, QHeaderView::Stretch);
    columns->resizeSection(MessageListModel::FromColumn, 150);
    columns->resizeSection(MessageListModel::DateColumn, 150);
    columns->resizeSection(MessageListModel::SizeColumn, 50);
    columns->setSectionResizeMode(MessageListModel::IndexColumn, QHeaderView::Fixed);
    columns->resizeSection(MessageListModel::IndexColumn, 50);

    // The viewer brings its own font, tab width, wrapping and margin.
    suiMemo1 = new MessageViewer(this);
    suiMemo1->setObjectName(QStringLiteral("suiMemo1"));
    suiMemo1->setAccessibleName(QStringLiteral("suiMemo1"));

    RxSplitter1 = new QSplitter(Qt::Horizontal, this);
    RxSplitter1->setObjectName(QStringLiteral("RxSplitter1"));
    RxSplitter1->setHandleWidth(3);
    RxSplitter1->setChildrenCollapsible(false);
    RxSplitter1->addWidget(SMS);
    RxSplitter1->addWidget(List1);
    RxSplitter1->setStretchFactor(1, 1);
    RxSplitter1->setSizes({185, width() - 188});

    RxSplitter2 = new QSplitter(Qt::Vertical, this);
    RxSplitter2->setObjectName(QStringLiteral("RxSplitter2"));
    RxSplitter2->setHandleWidth(3);
    RxSplitter2->setChildrenCollapsible(false);
    RxSplitter2->addWidget(RxSplitter1);
    RxSplitter2->addWidget(suiMemo1);
    RxSplitter2->setStretchFactor(0, 1);
    RxSplitter2->setSizes({height() - 170, 170});
    return RxSplitter2;
}

void TForm1::buildStatusBar() {
    // The status bar belongs to the main window's frame, so it stays the
    // bottom-most band whatever the splitters do.
    suiStatusBar1 = new QStatusBar(this);
    suiStatusBar1->setObjectName(QStringLiteral("suiStatusBar1"));
    suiStatusBar1->setSizeGripEnabled(false);
    suiStatusBar1->setFixedHeight(19);
    m_statusPanel = new StatusPanel(suiStatusBar1);
    m_statusPanel->setObjectName(QStringLiteral("StatusPanel0"));
    m_statusPanel->setFixedWidth(150);
    m_messagePanel = new QLabel(suiStatusBar1);
    m_messagePanel->setObjectName(QStringLiteral("StatusPanel1"));
    suiStatusBar1->addWidget(m_statusPanel);
    suiStatusBar1->addWidget(m_messagePanel, 1);

    suiProgressBar1 = new QProgressBar(suiStatusBar1);
    suiProgressBar1->setObjectName(QStringLiteral("suiProgressBar1"));
    suiProgressBar1->setAccessibleName(QStringLiteral("suiProgressBar1"));
    suiProgressBar1->setRange(0, 100);
    suiProgressBar1->setGeometry(157, 5, 150, 12);
    suiProgressBar1->hide();
    setStatusBar(suiStatusBar1);
}
