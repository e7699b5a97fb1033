#include "ui/TitleStrip.h"

#include "ui/ApplicationTitle.h"
#include "ui/PixelFont.h"

#include <QLabel>
#include <QVBoxLayout>

namespace qb::ui {

TitleStrip::TitleStrip(QWidget* parent)
    : GradientPanel(Edges::TopAndBottom, parent),
      m_titleLabel(new QLabel(QStringLiteral("  ") + ApplicationTitle, this)) {
    setObjectName(QStringLiteral("titleStrip"));
    setFixedHeight(20);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_titleLabel->setFont(pixelFont(QStringLiteral("Times New Roman"), 13, true));
    QPalette ink = m_titleLabel->palette();
    ink.setColor(QPalette::WindowText, GradientPanel::ink());
    m_titleLabel->setPalette(ink);
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 1, 0, 1);
    fill->addWidget(m_titleLabel);
}

void TitleStrip::setTitle(const QString& title) {
    m_titleLabel->setText(title);
}

} // namespace qb::ui
