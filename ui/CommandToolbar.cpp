#include "ui/CommandToolbar.h"

#include "models/ColourText.h"
#include "models/Icons.h"
#include "ui/AnimatedBanner.h"
#include "ui/ColourPicker.h"
#include "ui/CommandButton.h"
#include "ui/HoverTexts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace qb::ui {

CommandToolbar::CommandToolbar(const Commands& commands, QWidget* parent)
    : GradientPanel(Edges::None, parent) {
    setObjectName(QStringLiteral("toolbarPanel"));
    setFixedHeight(61);
    // Buttons and banner sit at fixed places; only the colour panel follows the right edge.
    m_connectButton = addButton(commands.connect, "connectButton", 8, tr("Подключить телефон"),
                                buttonPicture(ButtonPicture::Connect));
    m_readButton = addButton(commands.read, "readButton", 56, tr("Считать сообщения с телефона"),
                             buttonPicture(ButtonPicture::Read));
    m_exportSelectedButton =
        addButton(commands.exportSelected, "exportSelectedButton", 104, tr("Сохранить сообщение"),
                  buttonPicture(ButtonPicture::Save));
    m_exportAllButton =
        addButton(commands.exportAll, "exportAllButton", 152, tr("Сохранить все сообщения"),
                  buttonPicture(ButtonPicture::SaveAll));
    m_importButton = addButton(commands.import, "importButton", 200,
                               tr("Конвертировать архив P2kTools в архив Quillbox"),
                               buttonPicture(ButtonPicture::Convert));
    m_searchField = new QLineEdit(this);
    m_searchField->setObjectName(QStringLiteral("searchField"));
    m_searchField->setAccessibleName(tr("Поиск"));
    m_searchField->setPlaceholderText(tr("Поиск"));
    m_searchField->setToolTip(tr("Поиск по всем папкам телефона и архива (Ctrl+F)"));
    m_searchField->setGeometry(252, 19, 100, 23);
    auto* banner = new AnimatedBanner(this);
    banner->setObjectName(QStringLiteral("Banner"));
    banner->setAccessibleName(QStringLiteral("Motorola Quillbox"));
    banner->move(360, 11);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    row->addWidget(buildColourPanel());
    installHoverTexts();
}

QToolButton* CommandToolbar::addButton(QAction* command, const char* name, int x,
                                       const QString& hint, const QIcon& picture) {
    auto* button = new CommandButton(command, picture, hint, this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(x, 8, 45, 45);
    button->setIconSize(QSize(32, 32));
    button->setAutoRaise(true);
    button->setAccessibleName(hint);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus); // never shows a focus rectangle
    return button;
}

QWidget* CommandToolbar::buildColourPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("ColourPanel"));
    panel->setFixedWidth(185);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 6, 8, 6);
    grid->setVerticalSpacing(4);
    const QString captions[] = {tr("Фоновый цвет:"), tr("Цвет текста:")};
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

void CommandToolbar::installHoverTexts() {
    auto* hover = new HoverTexts(
        this, [this](const QString& text) { emit titleHint(text); },
        [this](const QString& text) { emit panelHint(text); });
    hover->addButton(m_connectButton, QLatin1Char(' ') + tr("Подключить"),
                     QLatin1Char(' ') + tr("Подключить телефон"));
    hover->addButton(m_readButton, QLatin1Char(' ') + tr("Считать"),
                     QLatin1Char(' ') + tr("Считать все сообщения с телефона"));
    hover->addButton(m_exportSelectedButton, QLatin1Char(' ') + tr("Сохранить сообщение"),
                     QLatin1Char(' ') + tr("Сохранить сообщение"));
    hover->addButton(m_exportAllButton, QLatin1Char(' ') + tr("Сохранить все сообщения"),
                     QLatin1Char(' ') + tr("Сохранить все сообщения"));
    hover->addButton(m_importButton, QLatin1Char(' ') + tr("Конвертировать"),
                     QLatin1Char(' ') + tr("Конвертировать архив P2kTools в архив Quillbox"));
}

} // namespace qb::ui
