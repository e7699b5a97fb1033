#pragma once
// The about box: the program's name and version, who made and tested it, and
// where to write or talk about it. A borderless, shaded box with one "OK".
#include <QDialog>

namespace qb::ui {

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent = nullptr);

    static QString mailAddress();
    static QString discussionPage();

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qb::ui
