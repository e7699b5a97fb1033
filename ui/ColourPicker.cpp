#include "ui/ColourPicker.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

namespace qb::ui {
namespace {

constexpr int ColourRole = Qt::UserRole + 1;
constexpr int DefaultEntry = 0;

QIcon swatch(const QColor& colour) {
    QPixmap picture(14, 14);
    picture.fill(colour);
    QPainter frame(&picture);
    frame.setPen(Qt::black);
    frame.drawRect(0, 0, 13, 13);
    return picture;
}

} // namespace

ColourPicker::ColourPicker(ColourValue defaultColour, QWidget* parent) : QComboBox(parent) {
    m_customSource = [this](const QColor& current) -> std::optional<QColor> {
        const QColor picked = QColorDialog::getColor(current, this);
        return picked.isValid() ? std::optional<QColor>(picked) : std::nullopt;
    };
    setMaxVisibleItems(20);
    addColour(defaultColour, tr("По умолчанию"));
    for (const NamedColour& named : basicColourNames())
        addColour(named.value, QString::fromLatin1(named.name));
    insertSeparator(count());
    for (const NamedColour& named : systemColourNames())
        addColour(named.value, QString::fromLatin1(named.name));
    insertSeparator(count());
    addItem(tr("Другой..."));
    connect(this, &QComboBox::activated, this, &ColourPicker::choose);
}

void ColourPicker::addColour(ColourValue colour, const QString& caption) {
    const int at = count();
    insertItem(at, swatch(resolveColour(colour, palette(), palette().color(QPalette::Base))),
               caption);
    setItemData(at, static_cast<qulonglong>(colour), ColourRole);
}

int ColourPicker::entryOf(ColourValue colour) const {
    // The named entries first: the default entry repeats one of them.
    for (int i = DefaultEntry + 1; i < customEntry(); ++i)
        if (itemData(i, ColourRole).isValid() && itemData(i, ColourRole).toULongLong() == colour)
            return i;
    if (itemData(DefaultEntry, ColourRole).toULongLong() == colour)
        return DefaultEntry;
    return -1;
}

ColourValue ColourPicker::colour() const {
    return static_cast<ColourValue>(itemData(currentIndex(), ColourRole).toULongLong());
}

void ColourPicker::setColour(ColourValue colour) {
    int entry = entryOf(colour);
    if (entry < 0) {
        // A colour of the user's own gets an entry of its own, above "Другой...".
        const int at = customEntry();
        insertItem(at, swatch(resolveColour(colour, palette(), Qt::black)), colourText(colour));
        setItemData(at, static_cast<qulonglong>(colour), ColourRole);
        entry = at;
    }
    setCurrentIndex(entry);
    m_lastIndex = entry;
}

void ColourPicker::choose(int index) {
    if (index != customEntry()) {
        m_lastIndex = index;
        emit colourPicked(colour());
        return;
    }
    const std::optional<QColor> picked = m_customSource(
        resolveColour(itemData(m_lastIndex, ColourRole).toULongLong(), palette(), Qt::black));
    if (!picked) {
        setCurrentIndex(m_lastIndex); // cancelled: the picker shows its colour again
        return;
    }
    setColour(colourValue(*picked));
    emit colourPicked(colour());
}

} // namespace qb::ui
