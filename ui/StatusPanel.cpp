#include "ui/StatusPanel.h"

#include "models/Icons.h"

#include <QHBoxLayout>
#include <QLabel>

namespace qb::ui {

StatusPanel::StatusPanel(QWidget* parent)
    : QWidget(parent), m_picture(new QLabel(this)), m_text(new QLabel(this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(2);
    m_picture->setFixedSize(16, 16);
    row->addWidget(m_picture);
    row->addWidget(m_text, 1);
}

void StatusPanel::setText(const QString& text) {
    m_text->setText(text);
    setAccessibleName(text);
}

QString StatusPanel::text() const {
    return m_text->text();
}

void StatusPanel::setIcon(Icon picture) {
    m_icon = picture;
    m_picture->setPixmap(qb::icon(picture).pixmap(QSize(16, 16), devicePixelRatioF()));
}

} // namespace qb::ui
