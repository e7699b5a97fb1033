#pragma once
// The program's message boxes, window-modal over its window, or over the
// window's own modal dialog when one is up (the export dialog), where the user
// is looking and where the box is not blocked. No box runs a loop of its own.
#include "controllers/UserDialogs.h"

class QWidget;

namespace qb::ui {

class WindowDialogs : public UserDialogs {
  public:
    // The window the boxes belong to; made after the program that reports through them.
    void showOver(QWidget* window) { m_window = window; }

    void inform(const QString& text) override;
    void tell(const QString& text) override;
    void fail(const QString& text) override;
    void ask(const QString& question, std::function<void(bool)> answered) override;

  private:
    QWidget* parent() const;

    QWidget* m_window = nullptr;
};

} // namespace qb::ui
