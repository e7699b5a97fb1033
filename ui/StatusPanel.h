#pragma once
// A status-bar panel showing a small picture and a text.
#include "models/Icons.h"

#include <QWidget>

class QLabel;

namespace qb::ui {

class StatusPanel : public QWidget {
    Q_OBJECT
  public:
    explicit StatusPanel(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;
    void setIcon(Icon picture);
    Icon icon() const { return m_icon; }

  private:
    QLabel* m_picture;
    QLabel* m_text;
    Icon m_icon = Icon::None;
};

} // namespace qb::ui
