#pragma once
// A status-bar panel showing a small picture of the image list and a text.
#include <QWidget>

class QLabel;

namespace qb::ui {

class StatusPanel : public QWidget {
    Q_OBJECT
  public:
    explicit StatusPanel(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;
    void setImage(int index);
    int image() const { return m_image; }

  private:
    QLabel* m_picture;
    QLabel* m_text;
    int m_image = -1;
};

} // namespace qb::ui
