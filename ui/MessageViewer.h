#pragma once
// The message viewer: one message at a time, with a line-number margin and the
// usual SMS emoticons drawn as small pictures. The user may type into it, but
// nothing typed is kept anywhere.
#include <QColor>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <vector>

namespace qb {
struct TextRange;
}

namespace qb::ui {

class MessageViewer : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit MessageViewer(QWidget* parent = nullptr);

    // Replaces what is shown by `text` as the only line.
    void setMessageText(const QString& text);
    // Marks the ranges of the text last set (a search's matches).
    void highlight(const std::vector<qb::TextRange>& ranges);
    // What is shown, with every picture given back as the characters it stands for.
    QString messageText() const;
    int marginWidth() const;
    // The line numbers are written in the text colour setting, which is the
    // desktop's window text until the user picks one.
    QColor marginInk() const;
    void setMarginInk(const QColor& ink);

    // ":$", ":(", ":)", ":@", ":|", ":d", ":o", ":p", ":s", ";)"; letters match
    // in either case, since phones send ":D" and ":P" as often as ":d" and ":p".
    static const QStringList& emoticons();
    static bool isEmoticon(QStringView sequence);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    friend class LineNumberMargin;
    void paintMargin(QPaintEvent* event);
    void scrollMargin(const QRect& rect, int dy);
    void applyFontMetrics();

    QWidget* m_margin;
    // Where each character of the text last set stands in the document: a
    // picture takes one place for its two characters.
    std::vector<int> m_places;
    QColor m_marginInk;
};

} // namespace qb::ui
